#include "CMustCloseAppDlg.h"

#include "CResString.h"
#include "CThreadException.h"
#include "ProductDescriptor.h"
#include "RegisteredMessages.h"
#include "UpdaterResources.h"
#include "UpdaterIcons.h"

namespace {

const char kSection[] = "IDD_MUSTCLOSE";

enum MustCloseString {
    kStringCancel = 107,
    kStringIgnore = 110,
    kStringTryAgain = 111,
};

const DWORD kWaitCursorMs = 1000;

} // namespace

CMustCloseAppDlg::CMustCloseAppDlg(HWND parent) : CDialog(IDD_MUSTCLOSE, parent), m_parent(parent)
{
    OnMessage(GetRegisteredMessages().waitCompleted, [this](WPARAM, LPARAM) {
        m_filePath.clear();
        EndDialog(IDOK);
    });
}

void CMustCloseAppDlg::WaitForFile(const std::string& path)
{
    m_filePath = path;
}

BOOL CMustCloseAppDlg::OnInitDialog()
{
    if (!m_filePath.empty())
        m_waiter.WaitForFile(m_filePath, GetHwnd(), THREAD_PRIORITY_NORMAL);
    if (m_waiter.GetActivityStatus() == CThread::kIdle) {
        EndDialog(IDOK);
        return TRUE;
    }
    SetUpdaterIcons(GetHwnd());
    const std::string& title = GetProductDescriptor().AppTitle;
    const CResString tryAgain(kStringTryAgain);
    const CResString cancel(kStringCancel);
    const CResString ignore(kStringIgnore);
    std::string text;
    LoadFormattedByKey(text, kSection, "caption", title.c_str());
    SetWindowTextA(GetHwnd(), text.c_str());
    LoadFormattedByKey(text, kSection, "message", title.c_str(), tryAgain.c_str(), title.c_str(), title.c_str(),
                       cancel.c_str());
    SetItemText(IDC_MUSTCLOSE_MESSAGE, text);
    LoadFormattedByKey(text, kSection, "message2", ignore.c_str());
    SetItemText(IDC_MUSTCLOSE_MESSAGE2, text);
    SetItemText(IDOK, tryAgain);
    SetItemText(IDCANCEL, cancel);
    SetItemText(IDC_IGNORE, ignore);
    SendMessageA(GetItem(IDC_MUSTCLOSE_ICON), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_WARNING)),
                 0);
    return TRUE;
}

void CMustCloseAppDlg::OnOK()
{
    if (m_waiter.GetActivityStatus() == CThread::kIdle) {
        EndDialog(IDOK);
        return;
    }
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    Sleep(kWaitCursorMs);
    SetCursor(previous);
}

void CMustCloseAppDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_IGNORE)
        EndDialog(IDOK);
    else
        CDialog::OnCommand(wParam, lParam);
}

void CMustCloseAppDlg::OnDestroy()
{
    if (m_waiter.GetActivityStatus() != CThread::kIdle) {
        try {
            DWORD exitCode = 0;
            m_waiter.Stop(exitCode, kNoTimeLimit);
        } catch (CThreadException* e) {
            delete e;
        }
    }
    ShowWindow(m_parent, SW_SHOWNORMAL);
}
