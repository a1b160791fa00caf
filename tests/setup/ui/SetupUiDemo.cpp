// Setup's wizard over installation data made up for the occasion, for a
// person or a screenshot to look at. It runs no installer work: the
// operations the wizard posts are dropped. Arguments, in any order: "fr" for
// French; the page to show (welcome, license, destination, maintenance,
// ready, ready-repair, ready-remove, progress, complete, complete-restart,
// complete-failed, missing; welcome by default); "folder" to open the
// change-folder dialog from the destination page. "language" shows the
// language choice and "wait" the start-up's wait window instead.
#include "CLanguageDlg.h"
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "CSplashWaitMiniDlg.h"
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

// What the progress page shows while the first of two packages installs.
void ShowSomeProgress(CSetupUI& wizard)
{
    wizard.SetProgressRange(kWizardOverallBar, 0, 2);
    wizard.SetProgressPos(kWizardOverallBar, 1);
    wizard.SetProgressRange(kWizardPackageBar, 0, 100);
    wizard.SetProgressPos(kWizardPackageBar, 60);
    wizard.SetStatusText(1, "Melvaro 2012");
    wizard.SetStatusText(2, g_language == kLanguageFrench ? "Copie des nouveaux fichiers" : "Copying new files");
}

// The wait window filling slowly, long enough to be looked at.
void ShowWaiting()
{
    const int steps = 10;
    CSplashWaitMiniDlg wait;
    if (!wait.Open(steps))
        return;
    for (int step = 0; step < steps && wait.IsOpen(); ++step) {
        Sleep(1000);
        wait.Step();
    }
    wait.Close();
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
    if (has("language"))
        return static_cast<int>(CLanguageDlg().DoModal());
    if (has("wait")) {
        ShowWaiting();
        return 0;
    }

    CSetupInstallationData data;
    data.mainProductMissing = true;
    data.readmeAvailable = true;
    data.shortcutOfferable = true;
    data.shortcutWanted = true;
    data.missingPrerequisiteName = "Microsoft .NET Framework 1.1";
    data.missingPrerequisiteAddress = "https://www.example.com/netfx";
    CSetupUI wizard("Melvaro 2012", data);
    wizard.SetDestinationFolder("C:\\Program Files\\Melvaro 2012\\");

    if (has("maintenance") || has("ready-repair") || has("ready-remove"))
        wizard.SetState(kWizardMaintenance);
    if (has("license"))
        wizard.SetStartPage(IDD_PAGE_LICENSE);
    if (has("destination") || has("folder"))
        wizard.SetStartPage(IDD_PAGE_DESTINATION);
    if (has("maintenance"))
        wizard.SetStartPage(IDD_PAGE_MAINTENANCETYPE);
    if (has("ready") || has("ready-repair") || has("ready-remove")) {
        wizard.SetInstallMode(has("ready-remove")   ? kInstallModeRemove
                              : has("ready-repair") ? kInstallModeRepair
                                                    : kInstallModeInstall);
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
