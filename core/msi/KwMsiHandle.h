#pragma once

#include "CKWMsiDll.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

// Owns an engine handle (database, view, record, summary information) and
// closes it once through the process-wide binding.
class KwMsiHandle {
public:
    KwMsiHandle() = default;
    ~KwMsiHandle() { Reset(); }
    KwMsiHandle(const KwMsiHandle&) = delete;
    KwMsiHandle& operator=(const KwMsiHandle&) = delete;
    KwMsiHandle(KwMsiHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, 0)) {}
    KwMsiHandle& operator=(KwMsiHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, 0);
        }
        return *this;
    }

    MSIHANDLE Get() const { return m_handle; }
    // For the engine's out parameters: what was held is closed first.
    MSIHANDLE* Receive()
    {
        Reset();
        return &m_handle;
    }
    void Reset()
    {
        if (m_handle != 0 && g_msi.MsiCloseHandle != nullptr)
            g_msi.MsiCloseHandle(m_handle);
        m_handle = 0;
    }

private:
    MSIHANDLE m_handle = 0;
};

// Reads a text the engine's way: read(buffer, &length) into `size`
// characters, and once more with the length the engine reports when it
// answers 234 (more data). The text is empty unless the result is 0.
template <typename Read> UINT ReadMsiText(DWORD size, std::string& text, Read read)
{
    text.clear();
    std::vector<char> buffer(size, '\0');
    DWORD length = size;
    UINT result = read(buffer.data(), &length);
    if (result == ERROR_MORE_DATA) {
        buffer.assign(length + 1, '\0');
        length = static_cast<DWORD>(buffer.size());
        result = read(buffer.data(), &length);
    }
    if (result == ERROR_SUCCESS && !buffer.empty())
        text.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return result;
}
