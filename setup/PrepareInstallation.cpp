#include "PrepareInstallation.h"

#include "CKWLogFile.h"
#include "CKWMsiDll.h"
#include "CSetupInstallationData.h"
#include "EngineMessage.h"
#include "ReadSetupIni.h"
#include "SetupFlags.h"
#include "SetupMsiEngine.h"
#include "ShowInstallerError.h"
#include "TraceMessage.h"

namespace {

// Every message kind but files-in-use.
const DWORD kEngineLogMode = 0x1FDF;

// Logs the failure line, or the success line and steps. A cancel turns any
// stage into its failure.
bool Conclude(bool succeeded, const char* failure, const std::string& success, const std::function<void()>& step)
{
    if (!succeeded || g_cancelRequested) {
        LogMessage("%s", failure);
        return false;
    }
    LogMessage("%s", success.c_str());
    step();
    return true;
}

void ReportEngineLoadFailure(UINT result)
{
    TraceMessage("[Info] Could not load msi.dll\n");
    if (result == ERROR_NOT_ENOUGH_MEMORY)
        ShowEngineMessage(kMsgOutOfMemory);
    else if (result == ERROR_INSTALL_FAILURE)
        ShowEngineMessage(kMsgUpgradeFailed);
    else
        ShowInstallerError(result);
}

bool ValidatePackages(CSetupInstallationData& data, const std::function<void()>& step)
{
    for (const auto& package : data.Packages) {
        step();
        if (!package->IsValidPackage()) {
            ShowInstallerError(GetLastError());
            return false;
        }
    }
    return true;
}

} // namespace

bool PrepareInstallation(const CIniFile& ini, CSetupInstallationData& data, const ProductDescriptor& product,
                         ISetupWizard* wizard, const std::string& logPath, const std::function<void()>& step)
{
    ReadSetupProperties(ini);
    if (!Conclude(ReadSetupPackages(ini, data), "Could not read from the INI file", "INI file read successfully", step))
        return false;
    if (!Conclude(!data.Packages.empty(), "INI file does not contain any package to install",
                  "INI file contains " + std::to_string(data.Packages.size()) + " packages", step))
        return false;
    if (!Conclude(SetupMsiEngine() == 0, "Unable to access MSI engine", "MSI engine is accessible", step))
        return false;
    // Tests bind a stand-in engine, which counts as loaded.
    UINT loaded = g_msi.IsBound() ? 0 : g_msi.Load();
    if (loaded != 0)
        ReportEngineLoadFailure(loaded);
    if (!Conclude(loaded == 0, "Unable to load MSI engine", "MSI engine is loaded", step))
        return false;

    TraceMessage("[Info] Setting Internal UI level to NONE...\n");
    g_msi.MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    if (!logPath.empty())
        g_msi.MsiEnableLogA(kEngineLogMode, logPath.c_str(), INSTALLLOGATTRIBUTES_APPEND);
    step();

    if (!Conclude(ValidatePackages(data, step), "Not all packages are valid", "All packages are valid", step))
        return false;
    bool detected = data.DetectSetupMode(product, wizard) == 0;
    if (!Conclude(detected, "Unable to detect setup mode", "Setup mode detected " + std::to_string(data.SetupMode),
                  step))
        return false;
    data.DetermineDestinationFolder(product, wizard);
    if (!Conclude(true, "Unable to determine destination folder",
                  "Default destination folder is: " + data.DestinationFolder, step))
        return false;
    if (!Conclude(true, "Unable to completely fill setup type entries", "Filled setup type entries successfully", step))
        return false;
    if (!Conclude(true, "Unable to completely fill the custom setup tree", "Filled setup custom tree successfully",
                  step))
        return false;
    data.GatherMiscInfo(product, wizard != nullptr);
    return Conclude(true, "Unable to completely gather setup misc info", "Gathered setup misc info successfully", step);
}
