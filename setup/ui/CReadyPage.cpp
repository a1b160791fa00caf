#include "CReadyPage.h"

#include "CResString.h"
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "SetupCore.h"
#include "SetupResources.h"

CReadyPage::CReadyPage(CSetupUI& wizard) : CSetupPage(IDD_PAGE_READY, wizard, "IDD_PAGE_READY", "Ready")
{
}

BOOL CReadyPage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    SetItemText(IDC_READY_SHORTCUT, Text("check_shortcut"));
    Check(IDC_READY_SHORTCUT, Wizard().GetData().shortcutWanted);
    return TRUE;
}

bool CReadyPage::IsMaintenance() const
{
    int mode = Wizard().GetInstallMode();
    return mode == kInstallModeRepair || mode == kInstallModeRemove;
}

bool CReadyPage::OnSetActive()
{
    const char* title = Wizard().GetTitle().c_str();
    const std::string back = CResString(101);
    std::string bannerTitle;
    std::string intro;
    std::string description;
    int nextText = 103;
    switch (Wizard().GetInstallMode()) {
    case kInstallModeRepair:
        nextText = 104;
        SetBanner(Text("banner_title_repair"), Text("banner_subtitle_repair"));
        LoadFormattedByKey(intro, Section(), "intro_repair", CResString(nextText).c_str(), title);
        LoadFormattedByKey(description, Section(), "desc_repair", back.c_str());
        break;
    case kInstallModeRemove:
        nextText = 105;
        SetBanner(Text("banner_title_remove"), Text("banner_subtitle_remove"));
        LoadFormattedByKey(intro, Section(), "intro_remove", CResString(nextText).c_str(), title);
        LoadFormattedByKey(description, Section(), "desc_remove", back.c_str());
        break;
    default:
        LoadFormattedByKey(bannerTitle, Section(), "banner_title_install", title);
        SetBanner(bannerTitle, Text("banner_subtitle_install"));
        LoadFormattedByKey(intro, Section(), "intro_install", CResString(nextText).c_str());
        LoadFormattedByKey(description, Section(), "desc_install", back.c_str(), CResString(107).c_str());
        break;
    }
    SetItemText(IDC_READY_INTRO, intro);
    SetItemText(IDC_READY_DESC, description);
    ShowItem(IDC_READY_SHORTCUT, !IsMaintenance() && Wizard().GetData().shortcutOfferable);
    Wizard().SetPageButtons(CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, nextText);
    return true;
}

LRESULT CReadyPage::OnWizardNext()
{
    CSetupInstallationData& data = Wizard().GetData();
    if (data.shortcutOfferable)
        data.shortcutWanted = IsChecked(IDC_READY_SHORTCUT);
    // The state machine shows the progress page itself.
    Wizard().SetState(kWizardProgress);
    return kStay;
}

LRESULT CReadyPage::OnWizardBack()
{
    if (IsMaintenance())
        return IDD_PAGE_MAINTENANCETYPE;
    return Wizard().GetData().mainProductMissing ? IDD_PAGE_DESTINATION : IDD_PAGE_LICENSE;
}
