#include "ReadFileVersion.h"

#include "TraceMessage.h"

#include <windows.h>

#include <vector>

bool ReadFileVersionRecord(const std::string& path, FileVersion& version)
{
    version = FileVersion();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return false;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", &block, &length) || block == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const VS_FIXEDFILEINFO* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (info->dwSignature != VS_FFI_SIGNATURE)
        return false;
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.build = HIWORD(info->dwFileVersionLS);
    version.revision = LOWORD(info->dwFileVersionLS);
    return true;
}

bool ReadFileVersion(const std::string& path, FileVersion& version)
{
    bool readable = ReadFileVersionRecord(path, version);
    TraceMessage("[INFO] %s is version %d.%d.%d.%d\n", path.c_str(), version.major, version.minor, version.build,
                 version.revision);
    return readable;
}
