#include "InitializeSetupCore.h"

#include "KwHandle.h"
#include "IsAdministrator.h"
#include "IsTerminalServer.h"
#include "OsInfo.h"
#include "SetupCore.h"
#include "SystemMessage.h"

#include <memory>
#include <string>
#include <vector>

namespace {

const char kGlobalPrefix[] = "Global\\";
const char kMutexName[] = "_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";

// Windows 9x and NT 4 without Terminal Server have one namespace for kernel
// objects and do not accept the "Global\" prefix.
std::string SingleInstanceMutexName(bool isWin9x, DWORD windowsMajor)
{
    if (isWin9x || (windowsMajor < 5 && !IsTerminalServer()))
        return kMutexName;
    return std::string(kGlobalPrefix) + kMutexName;
}

UINT ReadProgramPath(HINSTANCE instance, std::string& path)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(instance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return LastErrorCode();
        if (length < buffer.size()) {
            path.assign(buffer.data(), length);
            return ERROR_SUCCESS;
        }
        // The path was cut to fit.
        if (buffer.size() >= 32768)
            return ERROR_INSUFFICIENT_BUFFER;
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

UINT InitializeSetupCore(HINSTANCE instance, HWND owner)
{
    SetupCoreState& core = GetSetupCore();
    if (core.initialised)
        return ERROR_SUCCESS;
    if (g_runKind == kRunKindUsage)
        return ERROR_BAD_ARGUMENTS;

    OSVERSIONINFOEXA version;
    bool extended = false;
    if (!ReadOsVersion(version, extended))
        return LastErrorCode();
    core.IsWin9x = version.dwPlatformId != VER_PLATFORM_WIN32_NT;
    core.windowsMajor = version.dwMajorVersion;
    core.administrator = IsAdministrator();

    // Only the mutex's existence matters, so it is not owned.
    HANDLE created = CreateMutexA(nullptr, FALSE, SingleInstanceMutexName(core.IsWin9x, core.windowsMajor).c_str());
    DWORD createError = GetLastError();
    KwHandle mutex(created);
    if (!mutex.IsValid() || createError == ERROR_ALREADY_EXISTS)
        return ERROR_INSTALL_ALREADY_RUNNING;

    // Until the core is initialised the mutex is not kept: a failure here
    // closes it, so a later attempt does not find its own mutex.
    std::string programPath;
    UINT result = ReadProgramPath(instance, programPath);
    if (result != ERROR_SUCCESS)
        return result;

    core.programPath = programPath;
    core.CoreProperties[kCorePropertyMinimumMsi] = "100";
    core.instance = instance;
    core.owner = owner;
    core.singleInstanceMutex = std::make_shared<KwHandle>(std::move(mutex));
    core.initialised = true;
    return ERROR_SUCCESS;
}
