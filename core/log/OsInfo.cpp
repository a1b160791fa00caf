#include "OsInfo.h"

#include "FormatText.h"

bool ReadOsVersion(OSVERSIONINFOEXA& version, bool& extended)
{
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
        extended = true;
        return true;
    }
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    extended = false;
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != FALSE;
}

std::string DescribeOsVersion(const OSVERSIONINFOEXA& version, bool extended)
{
    std::string text = FormatText("Microsoft Windows v.%lu.%lu.%lu", version.dwMajorVersion, version.dwMinorVersion,
                                  version.dwBuildNumber);
    if (extended && version.wServicePackMajor != 0)
        text += FormatText(" with Service Pack %u.%u", version.wServicePackMajor, version.wServicePackMinor);
    return text;
}

int ClassifyOsVersion(const OSVERSIONINFOEXA& version)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return OsWin32s;
    case VER_PLATFORM_WIN32_WINDOWS: {
        if (version.dwMajorVersion != 4)
            return OsUnknown;
        char edition = version.szCSDVersion[0] != '\0' ? version.szCSDVersion[1] : '\0';
        switch (version.dwMinorVersion) {
        case 0:
            return edition == 'B' || edition == 'C' ? OsWindows95Osr2 : OsWindows95;
        case 10:
            return edition == 'A' ? OsWindows98SE : OsWindows98;
        case 90:
            return OsWindowsMe;
        default:
            return OsUnknown;
        }
    }
    case VER_PLATFORM_WIN32_NT:
        if (version.dwMajorVersion <= 4)
            return OsWindowsNT4;
        if (version.dwMajorVersion == 5) {
            if (version.dwMinorVersion == 0)
                return OsWindows2000;
            return version.dwMinorVersion == 1 ? OsWindowsXP : OsWindowsServer2003;
        }
        return OsWindowsVistaOrLater;
    default:
        return OsUnknown;
    }
}

std::string GetOsDescription()
{
    OSVERSIONINFOEXA version;
    bool extended = false;
    if (!ReadOsVersion(version, extended))
        return std::string();
    return DescribeOsVersion(version, extended);
}

int GetOsClass()
{
    OSVERSIONINFOEXA version;
    bool extended = false;
    if (!ReadOsVersion(version, extended))
        return OsUnknown;
    return ClassifyOsVersion(version);
}
