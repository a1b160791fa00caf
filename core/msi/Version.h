#pragma once

#include <array>
#include <string>

// Version numbers: the packed form the engine uses for its "Version" product
// property (major in the top byte, minor in the next, build in the low 16
// bits, held as a signed 32-bit number) and the text form shown to users.

// The leading decimal digits of a text (after blanks and a sign), as atoi
// reads them but clamped to the int range; 0 when there are none.
int ReadLeadingInt(const char* text);

// Major, minor and build of "a.b.c": each read with ReadLeadingInt, missing
// parts 0; text after a third full stop is ignored.
std::array<int, 3> VersionParts(const std::string& text);

// "a.b.c" packed by writing the parts as hex "%x%.2x%.4x" and reading that
// back: parts above 255 (minor) or 65535 (build) shift the other digits, and
// a result beyond the signed range reads 2147483647.
int PackVersion(const std::string& text);

// "%d.%.2d.%.4d" of a packed version, e.g. "15.02.0034".
std::string FormatVersion(int packed);

// The packed version of a file's fixed version record (major.minor.build);
// 0 when the file has none.
int GetFileVersionPacked(const std::string& path);

// 0 for identical texts, otherwise the difference of the packed versions.
int CompareVersions(const std::string& a, const std::string& b);
