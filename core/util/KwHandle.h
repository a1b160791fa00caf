#pragma once

#include <windows.h>

// Owns a kernel handle (file, event, mutex, process...) and closes it once.
class KwHandle {
public:
    KwHandle() = default;
    explicit KwHandle(HANDLE handle) : m_handle(handle) {}
    ~KwHandle() { Reset(); }
    KwHandle(const KwHandle&) = delete;
    KwHandle& operator=(const KwHandle&) = delete;
    KwHandle(KwHandle&& other) noexcept : m_handle(other.Release()) {}
    KwHandle& operator=(KwHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    // Both null and INVALID_HANDLE_VALUE mean "no handle": Windows uses either
    // as the failure value depending on the function.
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr)
    {
        if (IsValid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};
