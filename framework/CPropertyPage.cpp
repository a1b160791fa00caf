#include "CPropertyPage.h"

#include "CPropertySheet.h"

#include <commctrl.h>
#include <prsht.h>

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // The page object rides in the lParam of the page description.
        auto* self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        self->m_sheet->AttachWindow(GetParent(hwnd));
        return Dispatch(self, hwnd, message, wParam, lParam);
    }
    auto* self = static_cast<CPropertyPage*>(reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
    if (self != nullptr && message == WM_NOTIFY) {
        const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (header.hwndFrom == GetParent(hwnd) && self->OnSheetNotify(header, result)) {
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    return Dispatch(self, hwnd, message, wParam, lParam);
}

bool CPropertyPage::OnSheetNotify(const NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        return true;
    case PSN_WIZNEXT:
        result = OnWizardNext();
        return true;
    case PSN_WIZBACK:
        result = OnWizardBack();
        return true;
    case PSN_WIZFINISH:
        m_sheet->m_finished = OnWizardFinish();
        result = m_sheet->m_finished ? FALSE : TRUE;
        return true;
    case PSN_QUERYCANCEL:
        result = OnQueryCancel() ? FALSE : TRUE;
        return true;
    default:
        return false;
    }
}
