#pragma once

#include "KwHandle.h"

#include <windows.h>

#include <cstddef>

// A block of memory inside another process, for the window messages whose
// pointers must point into the receiver (list-view items, rectangles, hit
// tests). Owns the process handle and frees the block once.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool IsValid() const { return m_address != nullptr; }
    LPARAM AsParam() const { return reinterpret_cast<LPARAM>(m_address); }
    // Address of a byte inside the block, for structures that point into it.
    void* At(size_t offset) const { return static_cast<char*>(m_address) + offset; }

    bool Write(size_t offset, const void* data, size_t size) const;
    bool Read(size_t offset, void* data, size_t size) const;

private:
    KwHandle m_process;
    void* m_address = nullptr;
    size_t m_size = 0;
};
