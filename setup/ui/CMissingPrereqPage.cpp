#include "CMissingPrereqPage.h"

#include "CResString.h"
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "SetupResources.h"

CMissingPrereqPage::CMissingPrereqPage(CSetupUI& wizard)
    : CSetupPage(IDD_PAGE_MISSPREREQ, wizard, "IDD_PAGE_MISSPREREQ", "Missing prerequisite program")
{
}

BOOL CMissingPrereqPage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    SetBanner(Text("caption", "Missing prerequisite program"), "");
    SetItemText(IDC_PAGE_TITLE, Text("title"));
    std::string intro;
    LoadFormattedByKey(intro, Section(), "intro", Wizard().GetTitle().c_str());
    SetItemText(IDC_PREREQ_INTRO, intro);
    return TRUE;
}

bool CMissingPrereqPage::OnSetActive()
{
    const CSetupInstallationData& data = Wizard().GetData();
    bool linked = !data.missingPrerequisiteAddress.empty();
    SetItemText(IDC_PREREQ_LINK, data.missingPrerequisiteName);
    if (m_link.GetHwnd() == nullptr && m_link.AttachItem(GetHwnd(), IDC_PREREQ_LINK)) {
        const COLORREF white = RGB(255, 255, 255);
        m_link.SetColor(CButtonST::kPointerIn, RGB(0, 0, 255), white);
        m_link.SetColor(CButtonST::kPointerOut, linked ? RGB(0, 0, 160) : RGB(0, 0, 0), white);
        if (linked) {
            m_link.SetBitmaps(IDB_LINK, RGB(255, 0, 255), IDB_LINK, RGB(255, 0, 255));
            m_link.SetBtnCursor(LoadCursor(nullptr, IDC_HAND));
        }
    }
    m_link.SetURL(data.missingPrerequisiteAddress);
    EnableItem(IDC_PREREQ_LINK, linked);
    Wizard().SetPageButtons(CSetupUI::kButtonDisabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonDisabled, 106, true);
    return true;
}

void CMissingPrereqPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The button has opened the address itself; the wizard has nothing
    // more to do.
    if (LOWORD(wParam) == IDC_PREREQ_LINK && HIWORD(wParam) == BN_CLICKED)
        Wizard().PressButton(CPropertySheet::kFinish);
    else
        CSetupPage::OnCommand(wParam, lParam);
}
