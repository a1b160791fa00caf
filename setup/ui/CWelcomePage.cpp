#include "CWelcomePage.h"

#include "CResString.h"
#include "CSetupUI.h"
#include "SetupResources.h"

CWelcomePage::CWelcomePage(CSetupUI& wizard) : CSetupPage(IDD_PAGE_WELCOME, wizard, "IDD_PAGE_WELCOME", "Welcome")
{
}

BOOL CWelcomePage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    std::string title;
    LoadFormattedByKey(title, Section(), "title", Wizard().GetTitle().c_str());
    SetItemText(IDC_PAGE_TITLE, title);
    SetItemText(IDC_WELCOME_FOOTNOTE, Text("footnote"));
    return TRUE;
}

bool CWelcomePage::OnSetActive()
{
    std::string intro;
    if (Wizard().GetState() == kWizardMaintenance)
        intro = Text("intro_maintenance2");
    else
        LoadFormattedByKey(intro, Section(), "intro_install", Wizard().GetTitle().c_str(), CResString(102).c_str());
    SetItemText(IDC_WELCOME_INTRO, intro);
    Wizard().SetPageButtons(CSetupUI::kButtonDisabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, 102);
    return true;
}

LRESULT CWelcomePage::OnWizardNext()
{
    switch (Wizard().GetState()) {
    case kWizardMaintenance:
        return IDD_PAGE_MAINTENANCETYPE;
    case kWizardPatchOnly:
        // The state machine shows the progress page itself.
        Wizard().SetState(kWizardProgress);
        return kStay;
    default:
        return IDD_PAGE_LICENSE;
    }
}
