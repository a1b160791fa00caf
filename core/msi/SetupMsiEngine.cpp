#include "SetupMsiEngine.h"

#include "EngineMessage.h"
#include "EngineRedistributable.h"
#include "FormatText.h"
#include "KwModule.h"
#include "OsInfo.h"
#include "ReadFileVersion.h"
#include "SetupCore.h"
#include "TraceMessage.h"

#include <string>

namespace {

const unsigned kLowestMinimumMsi = 150;
const unsigned kWin9xHighestEngine = 200;

const char kUpgradeDone[] = "[Info] Windows Installer has been upgraded, or was already correct version\n";

// Only plain decimal digits that fit an unsigned number are a version.
bool ParseMinimumMsi(const std::string& text, unsigned& minimum)
{
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFull)
            return false;
    }
    minimum = static_cast<unsigned>(value);
    return minimum >= kLowestMinimumMsi;
}

std::string CoreProperty(int id)
{
    const std::map<int, std::string>& properties = GetSetupCore().CoreProperties;
    auto found = properties.find(id);
    return found != properties.end() ? found->second : std::string();
}

// MSI.DLL in the system folder; false after tracing why it has no path.
bool SystemEnginePath(std::string& path)
{
    char folder[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        TraceMessage("[Info] Can't obtain system directory; assuming upgrade is necessary");
        return false;
    }
    path.assign(folder, length);
    if (path.back() != '\\')
        path += '\\';
    path += "MSI.DLL";
    if (path.size() >= MAX_PATH) {
        TraceMessage("[Info] Can't obtain msi.dll path; assuming upgrade is necessary");
        return false;
    }
    return true;
}

// The version of the engine the system holds now; false after tracing why
// it could not be read.
bool ReadSystemEngineVersion(unsigned& systemVersion)
{
    const SetupCoreState& core = GetSetupCore();
    std::string path;
    if (!(core.engineLibrary != nullptr ? core.engineLibrary(path) : SystemEnginePath(path)))
        return false;
    if (KwModule(path.c_str()).Get() == nullptr) {
        TraceMessage("[Info] Can't load msi.dll; assuming upgrade is necessary");
        return false;
    }
    FileVersion version;
    if (!ReadFileVersion(path, version)) {
        TraceMessage("[Info] Can't obtain version information; assuming upgrade is necessary");
        return false;
    }
    systemVersion = static_cast<unsigned>(version.major * 100 + version.minor);
    return true;
}

UINT CheckPlatformRequirement()
{
    OSVERSIONINFOEXA version;
    bool extended = false;
    bool readable = ReadOsVersion(version, extended);
    return CheckPlatformForMsi3(readable, version, extended);
}

} // namespace

bool IsEngineUpgradeRequired(unsigned minimum)
{
    unsigned systemVersion = 0;
    if (!ReadSystemEngineVersion(systemVersion))
        return true;
    if (systemVersion < minimum) {
        TraceMessage("[Info] Windows Installer upgrade is required.  System Version = %d, Minimum Version = %d.\n",
                     static_cast<int>(systemVersion), static_cast<int>(minimum));
        return true;
    }
    TraceMessage("[Info] No upgrade is necessary.  System version meets minimum requirements\n");
    return false;
}

UINT CheckPlatformForMsi3(bool readable, const OSVERSIONINFOEXA& version, bool extended)
{
    if (!readable) {
        ShowEngineMessage(kMsgMsi3NeedsWindows2000Sp3);
        TraceMessage("[Error] Unable to obtain OS version info.\n");
        return ERROR_INSTALL_FAILURE;
    }
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        ShowEngineMessage(kMsgMsi3NeedsWindows2000Sp3);
        TraceMessage("[Error] Unsupported platform (%d)\n", static_cast<int>(version.dwPlatformId));
        return ERROR_INSTALL_FAILURE;
    }
    if (version.dwMajorVersion == 5 && version.dwMinorVersion == 0) {
        if (!extended) {
            ShowEngineMessage(kMsgMsi3NeedsWindows2000Sp3);
            TraceMessage("[Error] OS is Win2k but unable to obtain service pack info.\n");
            TraceMessage("[Error] OS is Win2k, unable to obtain service pack info.\n");
            return ERROR_INSTALL_FAILURE;
        }
        if (version.wServicePackMajor < 3) {
            ShowEngineMessage(kMsgMsi3NeedsWindows2000Sp3);
            TraceMessage("[Error] OS is Win2k SP %d.%d, service pack 3+ is required.\n", version.wServicePackMajor,
                         version.wServicePackMinor);
            return ERROR_INSTALL_FAILURE;
        }
    }
    TraceMessage("[Info] OS is Windows %d.%d.%d with Service Pack %d.%d, requirements for MSI 3 succeeded.\n",
                 static_cast<int>(version.dwMajorVersion), static_cast<int>(version.dwMinorVersion),
                 static_cast<int>(version.dwBuildNumber), version.wServicePackMajor, version.wServicePackMinor);
    return ERROR_SUCCESS;
}

UINT SetupMsiEngine()
{
    SetupCoreState& core = GetSetupCore();
    if (!core.initialised) {
        TraceMessage("ERROR: Setup core was not initialized");
        return ERROR_FUNCTION_FAILED;
    }

    std::string minimumText = CoreProperty(kCorePropertyMinimumMsi);
    TraceMessage("SetupMsiEngine - MinimumMsi = %s\n", minimumText.c_str());
    if (minimumText.empty())
        return ERROR_INVALID_PARAMETER;
    unsigned minimum = 0;
    if (!ParseMinimumMsi(minimumText, minimum)) {
        ShowEngineMessage(kMsgInvalidMsiVersion, FormatText(LoadEngineMessage(kMsgInvalidMsiVersion).c_str(),
                                                            minimumText.c_str(), static_cast<int>(kLowestMinimumMsi)));
        return ERROR_INVALID_PARAMETER;
    }
    TraceMessage("[Resource] Minimum Msi Value = %d\n", static_cast<int>(minimum));
    // Windows 9x cannot run engine 3; the best it gets is 2.0.
    if (core.IsWin9x && minimum >= 300)
        minimum = kWin9xHighestEngine;
    core.minimumEngineVersion = minimum;

    if (!IsEngineUpgradeRequired(minimum)) {
        TraceMessage("%s", kUpgradeDone);
        return ERROR_SUCCESS;
    }

    TraceMessage("[Info] Upgrade of Windows Installer is requested\n");
    if (ShowEngineMessage(kMsgUpgradeQuestion) != IDYES) {
        ShowEngineMessage(kMsgSetupCancelled);
        return ERROR_INSTALL_USEREXIT;
    }
    if (!core.administrator) {
        ShowEngineMessage(kMsgAdministratorRequired);
        return ERROR_INSTALL_FAILURE;
    }
    if (minimum >= 300) {
        TraceMessage("[Info] Checking OS requirement for MSI 3 or greater.\n");
        UINT platform = CheckPlatformRequirement();
        if (platform != ERROR_SUCCESS)
            return platform;
    }

    int redistributableId = 0;
    if (minimum <= kWin9xHighestEngine)
        redistributableId = core.IsWin9x ? kCorePropertyRedistributable9x : kCorePropertyRedistributableNT;
    else if (minimum == kEngineVersion301)
        redistributableId = kCorePropertyRedistributable301;
    else
        TraceMessage("Unexpected value for MINIMUM_MSI\n");
    std::string redistributable = redistributableId != 0 ? CoreProperty(redistributableId) : std::string();
    if (redistributable.empty())
        return ERROR_FILE_NOT_FOUND;

    UINT result = ERROR_SUCCESS;
    if (CoreProperty(kCorePropertySkipRedistributable).empty()) {
        result = ResolveRedistributable(core.programPath, redistributable, minimum);
        if (result == ERROR_SUCCESS_REBOOT_REQUIRED) {
            core.rebootNeeded = true;
            result = ERROR_SUCCESS;
        }
    }
    // A failed upgrade was reported already; the log must not call it done.
    if (result == ERROR_SUCCESS)
        TraceMessage("%s", kUpgradeDone);
    return result;
}
