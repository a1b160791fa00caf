#include "IsTerminalServer.h"

#include "KwRegistryException.h"
#include "KwRegistryKey.h"
#include "OsInfo.h"

#include <windows.h>

#include <cstring>

namespace {

bool ProductSuiteNamesTerminalServer()
{
    KwRegistryKey key(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ProductOptions");
    try {
        key.Open(KEY_READ);
    } catch (KwRegistryException* e) {
        delete e;
        return false;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.GetHandle(), "ProductSuite", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return false;
    std::vector<char> data(size);
    if (RegQueryValueExA(key.GetHandle(), "ProductSuite", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        return false;
    data.resize(size);
    return MultiStringContains(data, "Terminal Server");
}

// Single-user terminal services are only remote administration.
bool IsTerminalServerSuite(WORD suiteMask)
{
    return (suiteMask & VER_SUITE_TERMINAL) != 0 && (suiteMask & VER_SUITE_SINGLEUSERTS) == 0;
}

} // namespace

bool MultiStringContains(const std::vector<char>& multiString, const std::string& entry)
{
    // Entries end with a null; the list may lack its final null, so an
    // entry is also cut at the end of the data.
    size_t start = 0;
    while (start < multiString.size()) {
        const char* begin = multiString.data() + start;
        size_t length = strnlen(begin, multiString.size() - start);
        if (length == 0)
            return false;
        if (entry.compare(0, std::string::npos, begin, length) == 0)
            return true;
        start += length + 1;
    }
    return false;
}

bool IsTerminalServer()
{
    OSVERSIONINFOEXA version;
    bool extended = false;
    if (!ReadOsVersion(version, extended) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return false;
    if (version.dwMajorVersion < 5)
        return ProductSuiteNamesTerminalServer();
    return extended && IsTerminalServerSuite(version.wSuiteMask);
}
