#include "RebootSystem.h"

#include "KwHandle.h"
#include "SetupCore.h"

#include <windows.h>

namespace {

// Planned (with the clean shutdown dialog), application, installation:
// 0x84040002.
const DWORD kRestartReason = PCLEANUI | SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION;

// Without the privilege NT refuses to restart for this process.
void EnableShutdownPrivilege()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken))
        return;
    KwHandle token(rawToken);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
}

} // namespace

bool IsRebootPending()
{
    SetupCoreState& core = GetSetupCore();
    if (!core.rebootNeeded && core.IsWin9x && GetFileAttributesA("C:\\Windows\\WinInit.Ini") != INVALID_FILE_ATTRIBUTES)
        core.rebootNeeded = true;
    return core.rebootNeeded;
}

bool RebootSystem()
{
    const SetupCoreState& core = GetSetupCore();
    if (!core.initialised || !IsRebootPending())
        return false;
    DWORD reason = 0;
    if (!core.IsWin9x) {
        EnableShutdownPrivilege();
        reason = kRestartReason;
    }
    CoreExitWindowsFunction exitWindows = core.exitWindows != nullptr ? core.exitWindows : ExitWindowsEx;
    return exitWindows(EWX_REBOOT, reason) != FALSE;
}
