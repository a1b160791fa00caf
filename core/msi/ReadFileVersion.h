#pragma once

#include <string>

// The four 16-bit parts of a file's version.
struct FileVersion {
    int major = 65535;
    int minor = 65535;
    int build = 65535;
    int revision = 65535;
};

// Reads the file version from the root block of a file's version resource,
// without a trace; false (and every part 65535) when it has none.
bool ReadFileVersionRecord(const std::string& path, FileVersion& version);

// Reads the file version from the root block of a file's version resource and
// traces it. When the file has no readable version every part is 65535 and
// the answer is false.
bool ReadFileVersion(const std::string& path, FileVersion& version);
