#include "CCompletePage.h"

#include "CResString.h"
#include "FormatText.h"
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "SetupCore.h"
#include "SetupFlags.h"
#include "SetupResources.h"

CCompletePage::CCompletePage(CSetupUI& wizard) : CSetupPage(IDD_PAGE_COMPLETE, wizard, "IDD_PAGE_COMPLETE", "Complete")
{
}

BOOL CCompletePage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    std::string launch;
    LoadFormattedByKey(launch, Section(), "check_launchapp", DoubleAmpersands(Wizard().GetTitle()).c_str());
    SetItemText(IDC_COMPLETE_LAUNCH, launch);
    SetItemText(IDC_COMPLETE_README, Text("check_readme"));
    SetItemText(IDC_COMPLETE_REBOOT_YES, Text("radio_reboot_yes"));
    SetItemText(IDC_COMPLETE_REBOOT_NO, Text("radio_reboot_no"));
    Check(IDC_COMPLETE_LAUNCH, true);
    Check(IDC_COMPLETE_REBOOT_YES, true);
    return TRUE;
}

bool CCompletePage::OffersLaunch() const
{
    return Wizard().GetState() == kWizardSucceeded && Wizard().GetInstallMode() == kInstallModeInstall;
}

bool CCompletePage::OnSetActive()
{
    const int state = Wizard().GetState();
    const char* title = Wizard().GetTitle().c_str();
    const std::string finish = CResString(106);
    std::string intro;
    if (state == kWizardSucceededRestart) {
        intro = Text("intro_reboot");
    } else if (state == kWizardFailed) {
        std::string first;
        std::string last;
        LoadFormattedByKey(first, Section(), "intro_error1", title);
        LoadFormattedByKey(last, Section(), "intro_error3", finish.c_str());
        intro = first + "\n\n" + Text("intro_error2") + "\n\n" + last;
    } else if (Wizard().GetInstallMode() == kInstallModeRemove) {
        intro = Text("intro_success_remove");
    } else {
        LoadFormattedByKey(intro, Section(), "intro_success_install", title, finish.c_str());
    }
    SetItemText(IDC_PAGE_TITLE, Text(state == kWizardFailed ? "title_error" : "title"));
    SetItemText(IDC_COMPLETE_INTRO, intro);
    ShowItem(IDC_COMPLETE_REBOOT_YES, state == kWizardSucceededRestart);
    ShowItem(IDC_COMPLETE_REBOOT_NO, state == kWizardSucceededRestart);
    ShowItem(IDC_COMPLETE_LAUNCH, OffersLaunch());
    ShowItem(IDC_COMPLETE_README, OffersLaunch() && Wizard().GetData().readmeAvailable);
    Wizard().SetPageButtons(CSetupUI::kButtonDisabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonDisabled, 106, true);
    return true;
}

bool CCompletePage::OnWizardFinish()
{
    CSetupInstallationData& data = Wizard().GetData();
    data.launchWanted = OffersLaunch() && IsChecked(IDC_COMPLETE_LAUNCH);
    data.readmeWanted = OffersLaunch() && data.readmeAvailable && IsChecked(IDC_COMPLETE_README);
    if (Wizard().GetState() == kWizardSucceededRestart && IsChecked(IDC_COMPLETE_REBOOT_YES))
        g_rebootScheduled = true;
    return true;
}
