#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "HeapText.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "SetupCore.h"
#include "SetupFlags.h"
#include "SetupResources.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kRunScript = RegisterWindowMessageA("kw_SETUP_WIZARD_TEST_SCRIPT");

// A thread message the wizard posted, its heap text already taken.
struct Posted {
    UINT message;
    WPARAM value;
    std::string text;
    bool operator==(const Posted& other) const
    {
        return message == other.message && value == other.value && text == other.text;
    }
};

// The wizard as a person drives it: a script runs once the window is shown,
// presses buttons and looks at the pages; the operations the wizard posts
// are recorded instead of run.
class WizardRun {
public:
    CSetupInstallationData data;
    CSetupUI wizard{"Melvaro & Co", data};
    std::vector<Posted> posted;

    INT_PTR Run(std::function<void()> script)
    {
        wizard.SetThreadMessageHandler([this, script](const MSG& message) {
            if (message.message == kRunScript)
                script();
            else
                Record(message);
            return true;
        });
        PostThreadMessageA(GetCurrentThreadId(), kRunScript, 0, 0);
        return wizard.DoModal();
    }

    void Press(CPropertySheet::WizardButton button)
    {
        static const int kCodes[] = {PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_CANCEL, PSBTN_HELP};
        SendMessageA(wizard.GetHwnd(), PSM_PRESSBUTTON, static_cast<WPARAM>(kCodes[button]), 0);
        Pump();
    }
    void Click(int id)
    {
        SendMessageA(GetDlgItem(Page(), id), BM_CLICK, 0, 0);
        Pump();
    }
    UINT Current() const { return wizard.GetActivePage()->GetTemplateId(); }
    HWND Page() const { return wizard.GetActivePage()->GetHwnd(); }
    std::string Text(HWND window) const
    {
        char text[512] = "";
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    bool Usable(CPropertySheet::WizardButton button) const
    {
        HWND window = wizard.GetButton(button);
        return IsWindowVisible(window) && IsWindowEnabled(window);
    }
    bool Visible(int id) const { return IsWindowVisible(GetDlgItem(Page(), id)) != FALSE; }
    int Position(int id) const { return static_cast<int>(SendMessageA(GetDlgItem(Page(), id), PBM_GETPOS, 0, 0)); }

private:
    void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == nullptr) {
                Record(message);
            } else if (!PropSheet_IsDialogMessage(wizard.GetHwnd(), &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    void Record(const MSG& message)
    {
        // The engine's own traces are no operation of the wizard's.
        if (message.message == GetRegisteredMessages().writeToLog) {
            TakeHeapText(reinterpret_cast<char*>(message.wParam));
            return;
        }
        std::string text;
        if (message.message == GetRegisteredMessages().setupSetDestinationFolder)
            text = TakeHeapText(reinterpret_cast<char*>(message.wParam));
        posted.push_back({message.message, text.empty() ? message.wParam : 0, text});
    }
};

std::vector<int> g_boxAnswers;
int AnswerBox(HWND, const char*, const char*, UINT)
{
    int answer = g_boxAnswers.front();
    g_boxAnswers.erase(g_boxAnswers.begin());
    return answer;
}

} // namespace

// A declined licence keeps the person on it; accepted, it leads to Ready
// when the main product is installed and to the destination first when it
// is not, and Back from Ready returns the way it came. Cancel before the
// operation ends the wizard without posting anything.
TEST(SetupWizardTest, LicenceLeadsToReadyOrDestinationAndBackReturnsTheSameWay)
{
    WizardRun run;
    EXPECT_EQ(0, run.Run([&run] {
        EXPECT_EQ(IDD_PAGE_WELCOME, run.Current());
        EXPECT_FALSE(run.Usable(CPropertySheet::kBack));
        run.Press(CPropertySheet::kNext);
        ASSERT_EQ(IDD_PAGE_LICENSE, run.Current());
        EXPECT_FALSE(run.Usable(CPropertySheet::kNext));
        run.Press(CPropertySheet::kNext);
        EXPECT_EQ(IDD_PAGE_LICENSE, run.Current());

        run.Click(IDC_LICENSE_YES);
        EXPECT_TRUE(run.Usable(CPropertySheet::kNext));
        run.Press(CPropertySheet::kNext);
        EXPECT_EQ(IDD_PAGE_READY, run.Current());
        EXPECT_EQ("Install", run.Text(run.wizard.GetButton(CPropertySheet::kNext)));
        run.Press(CPropertySheet::kBack);
        EXPECT_EQ(IDD_PAGE_LICENSE, run.Current());

        run.data.mainProductMissing = true;
        run.Press(CPropertySheet::kNext);
        EXPECT_EQ(IDD_PAGE_DESTINATION, run.Current());
        run.Press(CPropertySheet::kNext);
        EXPECT_EQ(IDD_PAGE_READY, run.Current());
        run.Press(CPropertySheet::kBack);
        EXPECT_EQ(IDD_PAGE_DESTINATION, run.Current());
        run.Press(CPropertySheet::kCancel);
    }));
    EXPECT_TRUE(run.posted.empty());
    EXPECT_EQ(kWizardInstallation, run.wizard.GetState());
}

// Installing posts the install mode, the chosen folder and install all, in
// that order; the progress messages move the bars only while the progress
// page shows the operation; Finish on the completion page keeps the
// person's launch and readme choices, and the launch box shows "&" as is.
TEST(SetupWizardTest, InstallPostsItsOperationAndTheCompletionPageKeepsTheChoices)
{
    WizardRun run;
    run.data.mainProductMissing = true;
    run.data.readmeAvailable = true;
    run.wizard.SetDestinationFolder("D:\\Apps\\Melvaro\\");
    const ProgressMessages& progress = GetProgressMessages();
    EXPECT_EQ(1, run.Run([&] {
        run.Press(CPropertySheet::kNext);
        run.Click(IDC_LICENSE_YES);
        run.Press(CPropertySheet::kNext);
        run.Press(CPropertySheet::kNext);
        run.Press(CPropertySheet::kNext);
        ASSERT_EQ(IDD_PAGE_PROGRESS, run.Current());
        EXPECT_TRUE(run.wizard.IsProgressActive());
        EXPECT_FALSE(run.Usable(CPropertySheet::kBack));
        EXPECT_FALSE(run.Usable(CPropertySheet::kNext));

        HWND window = run.wizard.GetWindow();
        EXPECT_EQ(1, SendMessageA(window, progress.setMax, kWizardOverallBar, 10));
        SendMessageA(window, progress.setPos, kWizardOverallBar, 4);
        SendMessageA(window, progress.setMax, kWizardPackageBar, 100);
        SendMessageA(window, progress.setStep, kWizardPackageBar, 5);
        SendMessageA(window, progress.stepIt, kWizardPackageBar, 0);
        SendMessageA(window, progress.offsetPos, kWizardPackageBar, 20);
        SendMessageA(window, progress.setActionText, kWizardPackageBar, NewActionText("Copying new files"));
        EXPECT_EQ(4, run.Position(IDC_PROGRESS_OVERALL));
        EXPECT_EQ(25, run.Position(IDC_PROGRESS_PACKAGE));
        EXPECT_EQ("Copying new files", run.Text(GetDlgItem(run.Page(), IDC_PROGRESS_LINE2)));

        HWND overall = GetDlgItem(run.Page(), IDC_PROGRESS_OVERALL);
        run.wizard.Finish(true, false);
        ASSERT_EQ(IDD_PAGE_COMPLETE, run.Current());
        EXPECT_EQ(1, SendMessageA(window, progress.setPos, kWizardOverallBar, 9));
        EXPECT_EQ(4, SendMessageA(overall, PBM_GETPOS, 0, 0));

        EXPECT_EQ("Launch Melvaro && Co", run.Text(GetDlgItem(run.Page(), IDC_COMPLETE_LAUNCH)));
        EXPECT_TRUE(run.Visible(IDC_COMPLETE_README));
        EXPECT_FALSE(run.Usable(CPropertySheet::kCancel));
        run.Click(IDC_COMPLETE_LAUNCH);
        run.Click(IDC_COMPLETE_README);
        run.Press(CPropertySheet::kFinish);
    }));
    const RegisteredMessages& ids = GetRegisteredMessages();
    EXPECT_EQ((std::vector<Posted>{{ids.setupSetInstallMode, 0, ""},
                                   {ids.setupSetDestinationFolder, 0, "D:\\Apps\\Melvaro\\"},
                                   {ids.setupInstallAll, 0, ""}}),
              run.posted);
    EXPECT_FALSE(run.data.launchWanted);
    EXPECT_TRUE(run.data.readmeWanted);
}

// Removing: the maintenance page's choice shows "Uninstall" on Ready and
// posts remove all. Cancel during the operation asks first: No carries on,
// Yes asks the operation to stop and shows the interrupted outcome while
// the wizard stays open; nothing is offered to launch afterwards.
TEST(SetupWizardTest, RemoveThenCancelDuringTheOperationAsksAndShowsTheInterruption)
{
    WizardRun run;
    run.wizard.SetState(kWizardMaintenance);
    g_cancelRequested = false;
    g_boxAnswers = {IDNO, IDYES};
    GetSetupCore().messageBox = &AnswerBox;
    EXPECT_EQ(1, run.Run([&run] {
        run.Press(CPropertySheet::kNext);
        ASSERT_EQ(IDD_PAGE_MAINTENANCETYPE, run.Current());
        run.Click(IDC_MAINT_REMOVE);
        run.Press(CPropertySheet::kNext);
        EXPECT_EQ("Uninstall", run.Text(run.wizard.GetButton(CPropertySheet::kNext)));
        run.Press(CPropertySheet::kBack);
        EXPECT_EQ(IDD_PAGE_MAINTENANCETYPE, run.Current());
        run.Press(CPropertySheet::kNext);
        run.Press(CPropertySheet::kNext);
        ASSERT_EQ(IDD_PAGE_PROGRESS, run.Current());

        run.Press(CPropertySheet::kCancel);
        EXPECT_FALSE(g_cancelRequested);
        EXPECT_EQ(IDD_PAGE_PROGRESS, run.Current());
        run.Press(CPropertySheet::kCancel);
        EXPECT_TRUE(g_cancelRequested);
        EXPECT_EQ(kWizardFailed, run.wizard.GetState());
        ASSERT_EQ(IDD_PAGE_COMPLETE, run.Current());
        EXPECT_FALSE(run.Visible(IDC_COMPLETE_LAUNCH));
        run.Press(CPropertySheet::kFinish);
    }));
    GetSetupCore().messageBox = nullptr;
    g_cancelRequested = false;
    const RegisteredMessages& ids = GetRegisteredMessages();
    EXPECT_EQ((std::vector<Posted>{{ids.setupSetInstallMode, kInstallModeRemove, ""}, {ids.setupRemoveAll, 0, ""}}),
              run.posted);
    EXPECT_TRUE(g_boxAnswers.empty());
    EXPECT_FALSE(run.data.launchWanted);
}

// Patches only: Next on Welcome starts the operation at once; a restart
// chosen on the completion page is scheduled.
TEST(SetupWizardTest, PatchOnlyStartsFromWelcomeAndARestartChosenIsScheduled)
{
    WizardRun run;
    run.wizard.SetState(kWizardPatchOnly);
    g_rebootScheduled = false;
    EXPECT_EQ(1, run.Run([&run] {
        run.Press(CPropertySheet::kNext);
        ASSERT_EQ(IDD_PAGE_PROGRESS, run.Current());
        run.wizard.Finish(true, true);
        ASSERT_EQ(IDD_PAGE_COMPLETE, run.Current());
        EXPECT_TRUE(run.Visible(IDC_COMPLETE_REBOOT_YES));
        run.Press(CPropertySheet::kFinish);
    }));
    const RegisteredMessages& ids = GetRegisteredMessages();
    EXPECT_EQ((std::vector<Posted>{{ids.setupSetInstallMode, kInstallModePatchOnly, ""}, {ids.setupInstallAll, 0, ""}}),
              run.posted);
    EXPECT_TRUE(g_rebootScheduled);
    g_rebootScheduled = false;
}
