#include "CPreNetfx.h"

#include "KwRegistryKey.h"
#include "RegistryChecks.h"

namespace {

const char kSetupKey[] = "Software\\Microsoft\\NET Framework Setup\\NDP\\";

bool InstalledWithVersion(const std::string& key, const char* flag, DWORD a, DWORD b, DWORD c, DWORD d)
{
    return RegistryDwordEquals(key, flag, 1) && RegistryDottedVersionAtLeast(key, "Version", a, b, c, d);
}

// Uncached, so a fallback to a later version always looks at the machine as
// it is now.
bool NetfxPresent(int id)
{
    std::string ndp = kSetupKey;
    switch (id) {
    case kPrerequisiteNetfx10:
        return KwRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\.NETFramework\\Policy\\v1.0").HasValue("3705");
    case kPrerequisiteNetfx11:
        return RegistryDwordEquals(ndp + "v1.1.4322", "Install", 1);
    case kPrerequisiteNetfx20:
        return RegistryDwordEquals(ndp + "v2.0.50727", "Install", 1);
    case kPrerequisiteNetfx30:
        return InstalledWithVersion(ndp + "v3.0\\Setup", "InstallSuccess", 3, 0, 4506, 26);
    case kPrerequisiteNetfx35:
        return InstalledWithVersion(ndp + "v3.5", "Install", 3, 5, 21022, 8);
    case kPrerequisiteNetfx40Client:
        return InstalledWithVersion(ndp + "v4\\Client", "Install", 4, 0, 30319, 0) ||
               NetfxPresent(kPrerequisiteNetfx40);
    case kPrerequisiteNetfx40:
        return InstalledWithVersion(ndp + "v4\\Full", "Install", 4, 0, 30319, 0) || NetfxPresent(kPrerequisiteNetfx45);
    case kPrerequisiteNetfx45:
        return RegistryDwordAtLeast(ndp + "v4\\Full", "Release", 378389);
    default:
        return false;
    }
}

} // namespace

bool CPreNetfx::Detect()
{
    return NetfxPresent(GetId());
}
