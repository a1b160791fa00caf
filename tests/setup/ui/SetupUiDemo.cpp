// Setup's wizard over installation data made up for the occasion, for a
// person or a screenshot to look at. It runs no installer work: the
// operations the wizard posts are dropped. Arguments, in any order: "fr" for
// French; the page to show (welcome, license, destination, maintenance,
// ready, ready-remove, progress, complete, complete-restart,
// complete-failed, missing; welcome by default); "folder" to open the
// change-folder dialog from the destination page.
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "HeapText.h"
#include "InterfaceLanguage.h"
#include "RegisteredMessages.h"
#include "SetupCore.h"
#include "SetupResources.h"

#include <set>
#include <sstream>
#include <string>

namespace {

const UINT kShown = RegisterWindowMessageA("kw_SETUP_UI_DEMO_SHOWN");

// What the progress page shows halfway through an installation.
void ShowSomeProgress(CSetupUI& wizard)
{
    wizard.SetProgressRange(kWizardOverallBar, 0, 3);
    wizard.SetProgressPos(kWizardOverallBar, 1);
    wizard.SetProgressRange(kWizardPackageBar, 0, 100);
    wizard.SetProgressPos(kWizardPackageBar, 62);
    wizard.SetStatusText(1, "Melvaro 2012");
    wizard.SetStatusText(2, "Copying new files: C:\\Program Files\\Melvaro 2012\\Samples\\Harbour at dusk.mlv");
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::set<std::string> arguments;
    std::istringstream words(commandLine);
    for (std::string word; words >> word;)
        arguments.insert(word);
    auto has = [&arguments](const char* word) {
        return arguments.count(word) != 0;
    };
    g_language = has("fr") ? kLanguageFrench : kLanguageEnglish;

    CSetupInstallationData data;
    data.mainProductMissing = true;
    data.readmeAvailable = true;
    data.shortcutOfferable = true;
    data.shortcutWanted = true;
    data.missingPrerequisiteName = "Microsoft .NET Framework 1.1";
    data.missingPrerequisiteAddress = "https://www.example.com/netfx";
    CSetupUI wizard("Melvaro 2012", data);
    wizard.SetDestinationFolder("C:\\Program Files\\Melvaro 2012\\");

    if (has("maintenance") || has("ready-remove"))
        wizard.SetState(kWizardMaintenance);
    if (has("license"))
        wizard.SetStartPage(IDD_PAGE_LICENSE);
    if (has("destination") || has("folder"))
        wizard.SetStartPage(IDD_PAGE_DESTINATION);
    if (has("maintenance"))
        wizard.SetStartPage(IDD_PAGE_MAINTENANCETYPE);
    if (has("ready") || has("ready-remove")) {
        wizard.SetInstallMode(has("ready-remove") ? kInstallModeRemove : kInstallModeInstall);
        wizard.SetStartPage(IDD_PAGE_READY);
    }
    if (has("progress") || has("complete") || has("complete-restart") || has("complete-failed"))
        wizard.SetState(kWizardProgress);
    if (has("complete") || has("complete-restart") || has("complete-failed"))
        wizard.Finish(!has("complete-failed"), has("complete-restart"));
    if (has("missing"))
        wizard.SetState(kWizardMissingPrerequisite);

    const RegisteredMessages& ids = GetRegisteredMessages();
    wizard.SetThreadMessageHandler([&](const MSG& message) {
        if (message.message == ids.setupSetDestinationFolder || message.message == ids.writeToLog)
            TakeHeapText(reinterpret_cast<char*>(message.wParam));
        if (message.message != kShown)
            return true;
        if (wizard.IsProgressActive())
            ShowSomeProgress(wizard);
        if (has("folder"))
            PostMessageA(wizard.GetActivePage()->GetHwnd(), WM_COMMAND, MAKEWPARAM(IDC_DEST_CHANGE, BN_CLICKED), 0);
        return true;
    });
    // Handled once the wizard's window exists.
    PostThreadMessageA(GetCurrentThreadId(), kShown, 0, 0);
    return static_cast<int>(wizard.DoModal());
}
