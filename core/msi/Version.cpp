#include "Version.h"

#include "FormatText.h"
#include "ReadFileVersion.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

int ReadLeadingInt(const char* text)
{
    long long value = std::strtoll(text, nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::array<int, 3> VersionParts(const std::string& text)
{
    std::array<int, 3> parts{0, 0, 0};
    size_t start = 0;
    for (int& part : parts) {
        // The digits stop at the next full stop, so each part reads in place.
        part = ReadLeadingInt(text.c_str() + start);
        size_t stop = text.find('.', start);
        if (stop == std::string::npos)
            break;
        start = stop + 1;
    }
    return parts;
}

int PackVersion(const std::string& text)
{
    std::array<int, 3> parts = VersionParts(text);
    std::string hex = FormatText("%x%.2x%.4x", static_cast<unsigned>(parts[0]), static_cast<unsigned>(parts[1]),
                                 static_cast<unsigned>(parts[2]));
    // strtoull saturates on overflow, which is beyond the signed range too.
    unsigned long long value = std::strtoull(hex.c_str(), nullptr, 16);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::string FormatVersion(int packed)
{
    unsigned value = static_cast<unsigned>(packed);
    return FormatText("%d.%.2d.%.4d", static_cast<int>(value >> 24), static_cast<int>((value >> 16) & 0xFF),
                      static_cast<int>(value & 0xFFFF));
}

int GetFileVersionPacked(const std::string& path)
{
    FileVersion version;
    if (!ReadFileVersionRecord(path, version))
        return 0;
    return PackVersion(FormatText("%d.%.2d.%.4d", version.major, version.minor, version.build));
}

int CompareVersions(const std::string& a, const std::string& b)
{
    // Packed versions are never negative, so the difference cannot overflow.
    return a == b ? 0 : PackVersion(a) - PackVersion(b);
}
