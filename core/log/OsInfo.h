#pragma once

#include <windows.h>

#include <string>

// Windows platform classes, from oldest to newest.
enum OsClass {
    OsUnknown = -1,
    OsWin32s = 0,
    OsWindows95 = 1,
    OsWindows95Osr2 = 2,
    OsWindows98 = 3,
    OsWindows98SE = 4,
    OsWindowsNT4 = 5,
    OsWindowsMe = 6,
    OsWindows2000 = 7,
    OsWindowsXP = 8,
    OsWindowsServer2003 = 9,
    OsWindowsVistaOrLater = 10,
};

// Reads the extended version record, falling back to the basic one; extended
// says which. False when neither can be read.
bool ReadOsVersion(OSVERSIONINFOEXA& version, bool& extended);

// "Microsoft Windows v.M.m.B", plus " with Service Pack M.m" when there is one;
// empty when the version cannot be read.
std::string GetOsDescription();
int GetOsClass();

// The rules behind the two functions above, for a given version record
// (extended says whether the service-pack fields were filled in).
std::string DescribeOsVersion(const OSVERSIONINFOEXA& version, bool extended);
int ClassifyOsVersion(const OSVERSIONINFOEXA& version);
