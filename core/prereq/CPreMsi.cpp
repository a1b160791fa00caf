#include "CPreMsi.h"

#include "CKWMsiDll.h"
#include "ReadFileVersion.h"
#include "SetupCore.h"

namespace {

// Major times 100 plus minor, as the engine upgrade counts; 0 when the file
// has no version.
unsigned EngineVersion(const std::string& path)
{
    FileVersion version;
    if (!ReadFileVersion(path, version))
        return 0;
    return static_cast<unsigned>(version.major) * 100u + static_cast<unsigned>(version.minor);
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
