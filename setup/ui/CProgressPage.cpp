#include "CProgressPage.h"

#include "CResString.h"
#include "CSetupUI.h"
#include "SetupCore.h"
#include "SetupFlags.h"
#include "SetupResources.h"

#include <commctrl.h>

CProgressPage::CProgressPage(CSetupUI& wizard) : CSetupPage(IDD_PAGE_PROGRESS, wizard, "IDD_PAGE_PROGRESS", "Progress")
{
}

HWND CProgressPage::GetBar(int bar) const
{
    switch (bar) {
    case kWizardOverallBar:
        return GetItem(IDC_PROGRESS_OVERALL);
    case kWizardPackageBar:
        return GetItem(IDC_PROGRESS_PACKAGE);
    default:
        return nullptr;
    }
}

void CProgressPage::SetStatusText(int line, const std::string& text) const
{
    int id = line == 1 ? IDC_PROGRESS_LINE1 : line == 2 ? IDC_PROGRESS_LINE2 : 0;
    if (id == 0 || GetHwnd() == nullptr)
        return;
    SetItemText(id, text);
    UpdateWindow(GetHwnd());
}

BOOL CProgressPage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    SetItemText(IDC_PROGRESS_STATUS_LABEL, Text("status", "Status:"));
    return TRUE;
}

bool CProgressPage::OnSetActive()
{
    bool removing = Wizard().GetInstallMode() == kInstallModeRemove;
    if (removing) {
        SetBanner(Text("banner_title_remove"), Text("banner_subtitle_remove"));
        SetItemText(IDC_PROGRESS_WAIT, Text("please_wait_remove"));
    } else {
        SetBanner(Text("banner_title"), Text("banner_subtitle"));
        SetItemText(IDC_PROGRESS_WAIT, Text("please_wait", "Please wait..."));
    }
    SetItemText(IDC_PROGRESS_LINE1, "");
    SetItemText(IDC_PROGRESS_LINE2, "");
    SendMessageA(GetItem(IDC_PROGRESS_OVERALL), PBM_SETPOS, 0, 0);
    SendMessageA(GetItem(IDC_PROGRESS_PACKAGE), PBM_SETPOS, 0, 0);
    Wizard().SetPageButtons(CSetupUI::kButtonDisabled, CSetupUI::kButtonDisabled, CSetupUI::kButtonEnabled, 102);
    return true;
}

bool CProgressPage::OnQueryCancel()
{
    // The operation stops at its next package or engine callback; the
    // completion page then tells the outcome.
    if (MessageBox(CResString(202), MB_YESNO | MB_ICONQUESTION) == IDYES) {
        g_cancelRequested = true;
        Wizard().Finish(false, false);
    }
    return false;
}
