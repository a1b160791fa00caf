#include "CLicensePage.h"

#include "CCustomResource.h"
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "InterfaceLanguage.h"
#include "SetupCore.h"
#include "SetupResources.h"

CLicensePage::CLicensePage(CSetupUI& wizard)
    : CSetupPage(IDD_PAGE_LICENSE, wizard, "IDD_PAGE_LICENSE", "License Agreement")
{
}

BOOL CLicensePage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    SetBanner(Text("banner_title"), Text("banner_subtitle"));
    CCustomResource license(kLicenseResourceType);
    license.Load(g_language == kLanguageFrench ? IDR_LICENSE_FR : IDR_LICENSE_EN);
    SetItemText(IDC_LICENSE_TEXT, license.GetText());
    SetItemText(IDC_LICENSE_YES, Text("radio_yes"));
    SetItemText(IDC_LICENSE_NO, Text("radio_no"));
    Check(IDC_LICENSE_NO, true);
    return TRUE;
}

bool CLicensePage::OnSetActive()
{
    Wizard().SetPageButtons(CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, 102);
    ShowAcceptance();
    return true;
}

void CLicensePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDC_LICENSE_YES || LOWORD(wParam) == IDC_LICENSE_NO))
        ShowAcceptance();
    else
        CSetupPage::OnCommand(wParam, lParam);
}

void CLicensePage::ShowAcceptance() const
{
    bool accepted = IsChecked(IDC_LICENSE_YES);
    Wizard().EnableButton(CPropertySheet::kNext, accepted);
    HWND defaultButton = Wizard().GetButton(accepted ? CPropertySheet::kNext : CPropertySheet::kBack);
    SendMessageA(Wizard().GetHwnd(), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(defaultButton)), 0);
}

LRESULT CLicensePage::OnWizardNext()
{
    if (!IsChecked(IDC_LICENSE_YES))
        return kStay;
    if (Wizard().GetData().mainProductMissing)
        return IDD_PAGE_DESTINATION;
    Wizard().SetInstallMode(kInstallModeInstall);
    return IDD_PAGE_READY;
}

LRESULT CLicensePage::OnWizardBack()
{
    return IDD_PAGE_WELCOME;
}
