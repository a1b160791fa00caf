#include "KwRegistryKey.h"

#include "KwRegistryException.h"

#include <cstring>

namespace {

const REGSAM kReadAccess = KEY_READ;

} // namespace

KwRegistryKey::KwRegistryKey(HKEY root, const std::string& subkey)
    : m_root(root), m_subkey(subkey.substr(0, kMaxSubkeyLength))
{
}

KwRegistryKey::~KwRegistryKey()
{
    if (m_handle != nullptr)
        RegCloseKey(m_handle);
}

HKEY KwRegistryKey::Open(REGSAM access)
{
    if (m_openCount > 0) {
        ++m_openCount;
        return m_handle;
    }
    if (m_root == nullptr)
        throw new KwRegistryException(ERROR_REGISTRY_IO_FAILED);
    HKEY handle = nullptr;
    LONG result = RegOpenKeyExA(m_root, m_subkey.c_str(), 0, access, &handle);
    if (result != ERROR_SUCCESS)
        throw new KwRegistryException(result);
    m_handle = handle;
    m_openCount = 1;
    return m_handle;
}

void KwRegistryKey::Close()
{
    if (m_openCount <= 0)
        return;
    if (m_openCount > 1) {
        --m_openCount;
        return;
    }
    HKEY handle = m_handle;
    m_handle = nullptr;
    m_openCount = 0;
    LONG result = RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        throw new KwRegistryException(result);
}

HKEY KwRegistryKey::GetHandle() const
{
    return m_openCount > 0 ? m_handle : nullptr;
}

bool KwRegistryKey::Exists()
{
    try {
        Open(kReadAccess);
        Close();
        return true;
    } catch (KwRegistryException* e) {
        delete e;
        return false;
    }
}

bool KwRegistryKey::HasValue(const std::string& valueName)
{
    if (!Exists())
        return false;
    try {
        HKEY handle = Open(kReadAccess);
        BYTE data[kValueBufferSize];
        DWORD size = sizeof data;
        DWORD type = 0;
        LONG result = RegQueryValueExA(handle, valueName.c_str(), nullptr, &type, data, &size);
        Close();
        return result == ERROR_SUCCESS;
    } catch (KwRegistryException* e) {
        delete e;
        return false;
    }
}

void KwRegistryKey::QueryString(const std::string& valueName, std::string& text)
{
    text.clear();
    if (!HasValue(valueName))
        return;
    HKEY handle = Open(kReadAccess);
    // One byte more than the value may hold, so the text is always ended even
    // when the stored string lacks its terminator.
    char data[kValueBufferSize + 1] = {};
    DWORD size = kValueBufferSize;
    DWORD type = 0;
    LONG result = RegQueryValueExA(handle, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    Close();
    if (result != ERROR_SUCCESS)
        throw new KwRegistryException(result);
    // A value of another type (REG_EXPAND_SZ included) is refused with a
    // code that says why, rather than the query's own success code.
    if (type != REG_SZ)
        throw new KwRegistryException(ERROR_DATATYPE_MISMATCH);
    text.assign(data, strnlen(data, size));
}
