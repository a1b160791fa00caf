#include "SetupOperations.h"

#include "CKWLogFile.h"
#include "CKWMsiDll.h"
#include "CResString.h"
#include "CSetupInstallationData.h"
#include "EngineMessage.h"
#include "ISetupWizard.h"
#include "InstallUIHandler.h"
#include "RebootSystem.h"
#include "SetupFlags.h"
#include "SetupPrerequisites.h"
#include "SystemMessage.h"
#include "TraceMessage.h"

#include <functional>

namespace {

const UINT kCancelled = ERROR_INSTALL_USEREXIT;
const UINT kNoPermission = 4097;

using PackageOperation = std::function<UINT(CKWMsiPackage&)>;

void ResetOverallBar(const CSetupInstallationData& data, ISetupWizard* wizard)
{
    if (wizard == nullptr)
        return;
    wizard->SetProgressRange(kWizardOverallBar, 0, static_cast<int>(data.Packages.size()));
    wizard->SetProgressStep(kWizardOverallBar, 1);
    wizard->SetProgressPos(kWizardOverallBar, 0);
}

// Shows the engine's progress on the wizard and lets the user's cancel
// reach the engine.
void ConnectEngine(ISetupWizard* wizard)
{
    SetInstallUIHandler(wizard != nullptr ? wizard->GetWindow() : nullptr, &g_cancelRequested);
}

UINT RunPackages(CSetupInstallationData& data, ISetupWizard* wizard, bool lastFirst, const PackageOperation& operation)
{
    UINT result = 0;
    size_t count = data.Packages.size();
    for (size_t index = 0; index < count; ++index) {
        if (g_cancelRequested)
            return kCancelled;
        CKWMsiPackage& package = *data.Packages[lastFirst ? count - 1 - index : index];
        if (wizard != nullptr) {
            wizard->SetStatusText(1, package.DisplayName);
            wizard->SetStatusText(2, CResString(203));
        }
        result = operation(package);
        if (wizard != nullptr)
            wizard->StepProgress(kWizardOverallBar);
        if (result != 0)
            break;
    }
    return result;
}

UINT Conclude(UINT result, ISetupWizard* wizard)
{
    if (wizard != nullptr)
        wizard->Finish(result == 0, result == 0 && IsRebootPending());
    return result;
}

// Repair and removal: the product is there, so neither prerequisites nor a
// new engine are needed.
UINT RunMaintenance(CSetupInstallationData& data, ISetupWizard* wizard, bool lastFirst,
                    const PackageOperation& operation)
{
    ResetOverallBar(data, wizard);
    ConnectEngine(wizard);
    return Conclude(RunPackages(data, wizard, lastFirst, operation), wizard);
}

void ReportPrerequisiteFailure(UINT result)
{
    if (result == kNoPermission)
        CoreMessageBox(CResString(kNoPermission), MB_OK | MB_ICONWARNING);
    else
        ShowSystemMessage(result);
}

} // namespace

UINT InstallAll(CSetupInstallationData& data, const ProductDescriptor& product, ISetupWizard* wizard)
{
    ResetOverallBar(data, wizard);
    // A prerequisite may be a newer engine, which must find msi.dll unused.
    g_msi.Unload();
    UINT result = ProcessPrerequisites(data, wizard);
    if (result != 0) {
        ReportPrerequisiteFailure(result);
        return Conclude(result, wizard);
    }
    TraceMessage("All prerequisites are now available\n");
    if (g_msi.Load() != 0) {
        LogMessage("Could not reload MSI.DLL");
        return Conclude(ERROR_INSTALL_FAILURE, wizard);
    }
    TraceMessage("[Info] Setting Internal UI level to NONE...\n");
    g_msi.MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ConnectEngine(wizard);
    result = RunPackages(data, wizard, false, [&](CKWMsiPackage& package) {
        data.ApplyShortcutProperty(product, package);
        return package.Execute();
    });
    return Conclude(result, wizard);
}

UINT RepairAll(CSetupInstallationData& data, ISetupWizard* wizard)
{
    return RunMaintenance(data, wizard, false, [](CKWMsiPackage& package) {
        return package.Repair();
    });
}

UINT RemoveAll(CSetupInstallationData& data, ISetupWizard* wizard)
{
    return RunMaintenance(data, wizard, true, [](CKWMsiPackage& package) {
        return package.Remove();
    });
}
