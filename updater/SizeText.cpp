#include "SizeText.h"

#include "CResString.h"
#include "FormatText.h"

namespace {

enum SizeUnitString {
    kStringBytes = 217,
    kStringKilobytes = 218,
    kStringMegabytes = 219,
    kStringGigabytes = 220,
};

const DWORD kKilobyte = 0x400;
const DWORD kMegabyte = 0x100000;
const DWORD kGigabyte = 0x40000000;

} // namespace

// A size of exactly one unit still reads in the unit below: 1024 bytes,
// 1024 Kb, 1024.0 Mb.
std::string FormatSize(DWORD bytes)
{
    if (bytes > kGigabyte)
        return FormatText("%lu %s", static_cast<unsigned long>(bytes >> 30), CResString(kStringGigabytes).c_str());
    if (bytes > kMegabyte)
        return FormatText("%.1f %s", static_cast<double>(bytes) / kMegabyte, CResString(kStringMegabytes).c_str());
    if (bytes > kKilobyte)
        return FormatText("%lu %s", static_cast<unsigned long>(bytes >> 10), CResString(kStringKilobytes).c_str());
    return FormatText("%lu %s", static_cast<unsigned long>(bytes), CResString(kStringBytes).c_str());
}
