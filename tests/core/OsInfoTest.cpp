#include "OsInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

OSVERSIONINFOEXA Version(DWORD platform, DWORD major, DWORD minor, DWORD build = 0, const char* csd = "",
                         WORD spMajor = 0, WORD spMinor = 0)
{
    OSVERSIONINFOEXA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = build;
    std::strncpy(v.szCSDVersion, csd, sizeof v.szCSDVersion - 1);
    v.wServicePackMajor = spMajor;
    v.wServicePackMinor = spMinor;
    return v;
}

} // namespace

TEST(OsDescription, NamesVersionAndServicePackOnlyWhenThereIsOne)
{
    EXPECT_EQ("Microsoft Windows v.5.1.2600 with Service Pack 3.0",
              DescribeOsVersion(Version(VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 3", 3, 0), true));
    EXPECT_EQ("Microsoft Windows v.6.0.6000", DescribeOsVersion(Version(VER_PLATFORM_WIN32_NT, 6, 0, 6000), true));
    EXPECT_EQ("Microsoft Windows v.5.0.2195",
              DescribeOsVersion(Version(VER_PLATFORM_WIN32_NT, 5, 0, 2195, "", 4, 0), false))
        << "the basic record carries no service-pack numbers";
}

TEST(OsDescription, DescribesTheRunningSystemAsItsClassSays)
{
    std::string text = GetOsDescription();
    EXPECT_EQ(0u, text.find("Microsoft Windows v.")) << text;
    EXPECT_EQ(OsWindowsVistaOrLater, GetOsClass()) << "Wine and every supported Windows are NT 6 or later";
}

TEST(OsClass, MapsEveryPlatformAndVersion)
{
    EXPECT_EQ(OsWin32s, ClassifyOsVersion(Version(VER_PLATFORM_WIN32s, 3, 10)));
    EXPECT_EQ(OsWindows95, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950, " A")));
    EXPECT_EQ(OsWindows95Osr2, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1111, " B")));
    EXPECT_EQ(OsWindows95Osr2, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1212, " C")));
    EXPECT_EQ(OsWindows98, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998, "")));
    EXPECT_EQ(OsWindows98SE, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222, " A")));
    EXPECT_EQ(OsWindowsMe, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 90)));
    EXPECT_EQ(OsUnknown, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 50)));
    EXPECT_EQ(OsUnknown, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_WINDOWS, 5, 0)));
    EXPECT_EQ(OsWindowsNT4, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 3, 51)));
    EXPECT_EQ(OsWindowsNT4, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 4, 0)));
    EXPECT_EQ(OsWindows2000, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 5, 0)));
    EXPECT_EQ(OsWindowsXP, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 5, 1)));
    EXPECT_EQ(OsWindowsServer2003, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 5, 2)));
    EXPECT_EQ(OsWindowsVistaOrLater, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 6, 1)));
    EXPECT_EQ(OsWindowsVistaOrLater, ClassifyOsVersion(Version(VER_PLATFORM_WIN32_NT, 10, 0)));
    EXPECT_EQ(OsUnknown, ClassifyOsVersion(Version(7, 6, 1)));
}
