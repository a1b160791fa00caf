#include "InstallerResult.h"

#include "SetupCore.h"
#include "ShowInstallerError.h"

UINT ConcludeInstallerResult(UINT result)
{
    if (result == ERROR_SUCCESS_REBOOT_REQUIRED) {
        GetSetupCore().rebootNeeded = true;
        return ERROR_SUCCESS;
    }
    if (result != ERROR_SUCCESS)
        ShowInstallerError(result);
    return result;
}
