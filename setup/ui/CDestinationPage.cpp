#include "CDestinationPage.h"

#include "CChangeFolderDlg.h"
#include "CResString.h"
#include "CSetupUI.h"
#include "SetupCore.h"
#include "SetupResources.h"

CDestinationPage::CDestinationPage(CSetupUI& wizard)
    : CSetupPage(IDD_PAGE_DESTINATION, wizard, "IDD_PAGE_DESTINATION", "Destination Folder")
{
}

void CDestinationPage::SetFolder(const std::string& folder)
{
    m_folder = folder;
    if (GetHwnd() != nullptr)
        SetItemText(IDC_DEST_FOLDER, m_folder);
}

BOOL CDestinationPage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    std::string subtitle;
    LoadFormattedByKey(subtitle, Section(), "banner_subtitle", CResString(102).c_str(), CResString(108).c_str());
    SetBanner(Text("banner_title"), subtitle);
    std::string intro;
    LoadFormattedByKey(intro, Section(), "intro", Wizard().GetTitle().c_str());
    SetItemText(IDC_DEST_INTRO, intro);
    SetItemText(IDC_DEST_FOLDER, m_folder);
    SetItemText(IDC_DEST_CHANGE, CResString(108));
    m_picture.Load(GetModuleHandleA(nullptr), IDB_FOLDER);
    return TRUE;
}

bool CDestinationPage::OnSetActive()
{
    Wizard().SetPageButtons(CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, 102);
    return true;
}

void CDestinationPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDC_DEST_CHANGE || HIWORD(wParam) != BN_CLICKED)
        return CSetupPage::OnCommand(wParam, lParam);
    CChangeFolderDlg dialog(m_folder, Wizard().GetHwnd());
    if (dialog.DoModal() == IDOK)
        SetFolder(dialog.GetFolder());
}

bool CDestinationPage::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_DRAWITEM && GetDlgCtrlID(control) == IDC_DEST_PICTURE) {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        FillRect(item.hDC, &item.rcItem, Wizard().GetBackgroundBrush());
        m_picture.Draw(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, RGB(255, 0, 255));
        result = TRUE;
        return true;
    }
    return CSetupPage::OnControlMessage(control, message, wParam, lParam, result);
}

LRESULT CDestinationPage::OnWizardNext()
{
    Wizard().SetInstallMode(kInstallModeInstall);
    return IDD_PAGE_READY;
}

LRESULT CDestinationPage::OnWizardBack()
{
    return IDD_PAGE_LICENSE;
}
