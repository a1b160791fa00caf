#pragma once

#include <windows.h>

#include "KwHandle.h"

#include <map>
#include <memory>
#include <string>

// Ids of the engine core's properties.
enum CorePropertyId {
    kCorePropertyBaseUrl = 1,
    kCorePropertyPatchReserved = 2,
    kCorePropertyPatchOperation = 3,
    kCorePropertyMinimumMsi = 4,
    kCorePropertySkipRedistributable = 5,
    kCorePropertyRedistributable9x = 6,
    kCorePropertyRedistributableNT = 7,
    kCorePropertyPatchDisplayName = 8,
    kCorePropertyPatchCommandLine = 9,
    kCorePropertyPatchPath = 10,
    kCorePropertyRedistributable301 = 11,
};

// What the installer work is asked to do.
enum InstallModeValue {
    kInstallModeInstall = 0,
    kInstallModeForcedInstall = 1,
    kInstallModePatchOnly = 2,
    kInstallModeRepair = 4,
    kInstallModeRemove = 5,
};

// Seams for what must never really happen under test: message boxes that
// wait for a person, and restarting the machine. The engine library seam
// names the file the engine check reads instead of MSI.DLL in the system
// folder, so tests can show it an older engine than the machine has (Wine
// answers for any file named msi.dll with its own).
using CoreMessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);
using CoreExitWindowsFunction = BOOL (*)(UINT flags, DWORD reason);
using CoreEngineLibraryFunction = bool (*)(std::string& path);

// The engine core's process-wide state.
struct SetupCoreState {
    bool initialised = false;
    bool IsWin9x = false;
    DWORD windowsMajor = 0;
    bool administrator = false;
    bool rebootNeeded = false;
    unsigned minimumEngineVersion = 0;
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string programPath;
    std::map<int, std::string> CoreProperties;
    int InstallMode = kInstallModeInstall;
    // Held open for the life of the process once initialised. Shared so that
    // the state stays copyable.
    std::shared_ptr<KwHandle> singleInstanceMutex;

    CoreMessageBoxFunction messageBox = nullptr;
    CoreExitWindowsFunction exitWindows = nullptr;
    CoreEngineLibraryFunction engineLibrary = nullptr;
};

SetupCoreState& GetSetupCore();

// 3 for an administrative installation; 1 when setup only shows its usage.
extern int g_runKind;
const int kRunKindUsage = 1;
const int kRunKindAdministrative = 3;

// The folder of an administrative installation; empty when none was given.
extern std::string g_adminInstallPoint;
