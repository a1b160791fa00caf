#pragma once

#include <windows.h>

#include <string>

// A registry key below a predefined root, opened on demand. Opens nest: each
// Open must be matched by a Close, and only the last Close closes the handle.
// Failures of Open, Close and QueryString throw KwRegistryException*.
class KwRegistryKey {
public:
    KwRegistryKey(HKEY root, const std::string& subkey);
    virtual ~KwRegistryKey();
    KwRegistryKey(const KwRegistryKey&) = delete;
    KwRegistryKey& operator=(const KwRegistryKey&) = delete;

    HKEY Open(REGSAM access);
    void Close();
    HKEY GetHandle() const;
    bool Exists();
    bool HasValue(const std::string& valueName);
    // Reads a plain string (REG_SZ) value; empty when the key or the value is
    // absent.
    void QueryString(const std::string& valueName, std::string& text);

    int GetOpenCount() const { return m_openCount; }

private:
    static const size_t kMaxSubkeyLength = 259;
    static const DWORD kValueBufferSize = 260;

    HKEY m_root;
    HKEY m_handle = nullptr;
    int m_openCount = 0;
    std::string m_subkey;
};
