#include "CDialog.h"

#include "CControl.h"
#include "CKWLogFile.h"
#include "EngineMessage.h"
#include "SetupCore.h"

#include <commctrl.h>

#include <vector>

namespace {

// The control that sent a parent notification; none for other messages.
HWND SendingControl(UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
        return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

// Templates may name any common control (bars, lists...).
void RegisterCommonControls()
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
}

} // namespace

INT_PTR CDialog::DoModal(HINSTANCE instance)
{
    RegisterCommonControls();
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(m_templateId), m_parent, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    if (result == -1)
        LogMessage("Unable to create dialog %u: error %lu", m_templateId, GetLastError());
    return result;
}

void CDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_hwnd, result);
}

bool CDialog::Create(HINSTANCE instance)
{
    RegisterCommonControls();
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(m_templateId), m_parent, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    if (window == nullptr)
        LogMessage("Unable to create dialog %u: error %lu", m_templateId, GetLastError());
    return window != nullptr;
}

void CDialog::Destroy()
{
    if (m_hwnd != nullptr)
        DestroyWindow(m_hwnd);
}

void CDialog::SetItemText(int id, const std::string& text) const
{
    SetDlgItemTextA(m_hwnd, id, text.c_str());
}

std::string CDialog::GetItemText(int id) const
{
    HWND item = GetItem(id);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1);
    int length = GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), static_cast<size_t>(length > 0 ? length : 0));
}

void CDialog::EnableItem(int id, bool enable) const
{
    EnableWindow(GetItem(id), enable ? TRUE : FALSE);
}

void CDialog::ShowItem(int id, bool show) const
{
    ShowWindow(GetItem(id), show ? SW_SHOW : SW_HIDE);
}

int CDialog::MessageBox(const std::string& text, UINT type) const
{
    SetupCoreState& core = GetSetupCore();
    HWND previous = core.owner;
    core.owner = m_hwnd;
    int button = CoreMessageBox(text, type);
    core.owner = previous;
    return button;
}

void CDialog::OnCommand(WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) == IDOK)
        OnOK();
    else if (LOWORD(wParam) == IDCANCEL)
        OnCancel();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return Dispatch(reinterpret_cast<CDialog*>(lParam), hwnd, message, wParam, lParam);
    return Dispatch(reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)), hwnd, message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(CDialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages before WM_INITDIALOG (WM_SETFONT...) have no object yet.
    if (self == nullptr)
        return FALSE;
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
        return self->OnInitDialog();
    }
    INT_PTR handled = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return handled;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_handlers.Dispatch(message, wParam, lParam))
        return TRUE;
    switch (message) {
    case WM_COMMAND:
        // A control of ours hears its own clicks first (a link button opens
        // its address); the dialog still handles the command.
        if (lParam != 0 && CControl::FromHandle(reinterpret_cast<HWND>(lParam)) != nullptr)
            SendMessageA(reinterpret_cast<HWND>(lParam), kReflectBase + WM_COMMAND, wParam, lParam);
        OnCommand(wParam, lParam);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        break;
    }
    HWND control = SendingControl(message, lParam);
    if (control == nullptr)
        return FALSE;
    LRESULT result = 0;
    // The dialog's own answer first; otherwise the control answers for
    // itself when it is one of ours.
    if (!OnControlMessage(control, message, wParam, lParam, result)) {
        if (CControl::FromHandle(control) == nullptr)
            return FALSE;
        result = SendMessageA(control, kReflectBase + message, wParam, lParam);
    }
    // A dialog procedure returns the brush of a colour message itself (null:
    // the default colours); every other result goes through the window's
    // message result.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
