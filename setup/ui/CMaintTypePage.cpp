#include "CMaintTypePage.h"

#include "CResString.h"
#include "CSetupUI.h"
#include "SetupCore.h"
#include "SetupResources.h"

CMaintTypePage::CMaintTypePage(CSetupUI& wizard)
    : CSetupPage(IDD_PAGE_MAINTENANCETYPE, wizard, "IDD_PAGE_MAINTENANCETYPE", "Program Maintenance")
{
}

BOOL CMaintTypePage::OnInitDialog()
{
    CSetupPage::OnInitDialog();
    SetBanner(Text("banner_title"), Text("banner_subtitle2"));
    SetItemText(IDC_MAINT_REPAIR, Text("radio_repair"));
    SetItemText(IDC_MAINT_REMOVE, Text("radio_remove"));
    SetItemFont(IDC_MAINT_REPAIR, 0, true);
    SetItemFont(IDC_MAINT_REMOVE, 0, true);
    SetItemText(IDC_MAINT_REPAIR_DESC, Text("desc_repair"));
    std::string remove;
    LoadFormattedByKey(remove, Section(), "desc_remove", Wizard().GetTitle().c_str());
    SetItemText(IDC_MAINT_REMOVE_DESC, remove);
    m_repairPicture.Load(GetModuleHandleA(nullptr), IDB_REPAIR);
    m_removePicture.Load(GetModuleHandleA(nullptr), IDB_REMOVE);
    Check(IDC_MAINT_REPAIR, true);
    return TRUE;
}

bool CMaintTypePage::OnSetActive()
{
    Wizard().SetPageButtons(CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, CSetupUI::kButtonEnabled, 102);
    return true;
}

bool CMaintTypePage::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    int id = GetDlgCtrlID(control);
    if (message == WM_DRAWITEM && (id == IDC_MAINT_REPAIR_PICTURE || id == IDC_MAINT_REMOVE_PICTURE)) {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        FillRect(item.hDC, &item.rcItem, Wizard().GetBackgroundBrush());
        const CMaskedBitmap& picture = id == IDC_MAINT_REPAIR_PICTURE ? m_repairPicture : m_removePicture;
        picture.Draw(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, RGB(255, 255, 255));
        result = TRUE;
        return true;
    }
    return CSetupPage::OnControlMessage(control, message, wParam, lParam, result);
}

LRESULT CMaintTypePage::OnWizardNext()
{
    Wizard().SetInstallMode(IsChecked(IDC_MAINT_REMOVE) ? kInstallModeRemove : kInstallModeRepair);
    return IDD_PAGE_READY;
}

LRESULT CMaintTypePage::OnWizardBack()
{
    // The page added before this one.
    return IDD_PAGE_LICENSE;
}
