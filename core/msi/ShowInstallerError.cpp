#include "ShowInstallerError.h"

#include "CKWMsiDll.h"
#include "EngineMessage.h"
#include "FormatText.h"

std::string InstallerErrorText(UINT code)
{
    switch (code) {
    case ERROR_INSTALL_USEREXIT:
    case ERROR_INSTALL_FAILURE:
    case ERROR_INSTALL_SUSPEND:
    case ERROR_SUCCESS_REBOOT_INITIATED:
    case ERROR_SUCCESS_REBOOT_REQUIRED:
    case ERROR_APPHELP_BLOCK:
        return std::string();
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        code = ERROR_INSTALL_PACKAGE_OPEN_FAILED;
        break;
    default:
        break;
    }
    std::string text;
    if (g_msi.GetModule() != nullptr)
        text = LoadModuleString(g_msi.GetModule(), code);
    if (text.empty()) {
        std::string format = LoadEngineMessage(kMsgInstallerError);
        if (!format.empty())
            text = FormatText(format.c_str(), static_cast<int>(code));
    }
    if (text.empty())
        text = FormatText("Unexpected Windows Installer error %d", static_cast<int>(code));
    return text;
}

void ShowInstallerError(UINT code)
{
    std::string text = InstallerErrorText(code);
    if (!text.empty())
        CoreMessageBox(text, MB_OK | MB_ICONERROR);
}
