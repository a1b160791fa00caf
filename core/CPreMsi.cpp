#include "CPreMsi.h"

#include "CKWMsiDll.h"
#include "SetupCore.h"
#include "TraceMessage.h"

#include <vector>

namespace {

// The four 16-bit parts of a file's version; false when it has none. Kept
// apart so that the shared file-version reader can take its place.
bool ReadFileVersionParts(const std::string& path, WORD parts[4])
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    bool read = size != 0 && GetFileVersionInfoA(path.c_str(), 0, size, block.data()) &&
                VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) && info != nullptr &&
                infoSize >= sizeof(VS_FIXEDFILEINFO);
    parts[0] = read ? HIWORD(info->dwFileVersionMS) : 0xFFFF;
    parts[1] = read ? LOWORD(info->dwFileVersionMS) : 0xFFFF;
    parts[2] = read ? HIWORD(info->dwFileVersionLS) : 0xFFFF;
    parts[3] = read ? LOWORD(info->dwFileVersionLS) : 0xFFFF;
    TraceMessage("[INFO] %s is version %d.%d.%d.%d\n", path.c_str(), parts[0], parts[1], parts[2], parts[3]);
    return read;
}

// Major times 100 plus minor, as the engine upgrade counts; 0 when the file
// has no version.
unsigned EngineVersion(const std::string& path)
{
    WORD parts[4];
    if (!ReadFileVersionParts(path, parts))
        return 0;
    return parts[0] * 100u + parts[1];
}

} // namespace

bool CPreMsi::Detect()
{
    // Without a registered folder the library path is the bare file name,
    // which names no installed engine.
    std::string path = CKWMsiDll::LibraryPath();
    if (path.find('\\') == std::string::npos)
        return false;
    unsigned version = EngineVersion(path);
    if (GetId() == kPrerequisiteMsi200)
        return version >= 200;
    if (GetId() == kPrerequisiteMsi301)
        return version >= (GetSetupCore().IsWin9x ? 200u : 301u);
    return false;
}
