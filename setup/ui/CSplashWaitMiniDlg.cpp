#include "CSplashWaitMiniDlg.h"

#include "CResString.h"
#include "ProductDescriptor.h"
#include "SetupFlags.h"
#include "SetupResources.h"

#include <commctrl.h>

namespace {

const char kSection[] = "IDD_SPLASH_WAIT";

} // namespace

CSplashWaitMiniDlg::CSplashWaitMiniDlg() : CDialog(IDD_SPLASH_WAIT)
{
}

CSplashWaitMiniDlg::~CSplashWaitMiniDlg()
{
    Destroy();
}

bool CSplashWaitMiniDlg::Open(int range)
{
    if (IsOpen())
        return true;
    m_range = range;
    m_cancelled = false;
    if (!Create())
        return false;
    PumpMessages(); // shows the window at once
    return true;
}

BOOL CSplashWaitMiniDlg::OnInitDialog()
{
    const std::string& title = GetProductDescriptor().AppTitle;
    SetWindowTextA(GetHwnd(), title.c_str());
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(GetHwnd(), GWLP_HINSTANCE));
    for (int size : {ICON_BIG, ICON_SMALL}) {
        int pixels = GetSystemMetrics(size == ICON_BIG ? SM_CXICON : SM_CXSMICON);
        // Shared icons belong to the module: nothing to free.
        HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, pixels, pixels, LR_SHARED);
        SendMessageA(GetHwnd(), WM_SETICON, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(icon));
    }
    SetItemText(IDC_WAIT_INTRO, CResString(kSection, "intro", "Please wait..."));
    HWND bar = GetItem(IDC_WAIT_PROGRESS);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    SetRange(m_range);
    return TRUE;
}

void CSplashWaitMiniDlg::SetRange(int range)
{
    m_range = range;
    if (IsOpen())
        SendMessageA(GetItem(IDC_WAIT_PROGRESS), PBM_SETRANGE32, 0, range);
}

void CSplashWaitMiniDlg::Step()
{
    if (!IsOpen())
        return;
    SendMessageA(GetItem(IDC_WAIT_PROGRESS), PBM_STEPIT, 0, 0);
    PumpMessages();
}

bool CSplashWaitMiniDlg::Close()
{
    PumpMessages(); // a cancel typed just before closing still counts
    Destroy();
    return !m_cancelled;
}

void CSplashWaitMiniDlg::OnCancel()
{
    m_cancelled = true;
    g_cancelRequested = true;
    Destroy();
}

void CSplashWaitMiniDlg::PumpMessages()
{
    // Only this window's messages: thread messages posted meanwhile (log
    // lines, the wizard's requests) wait for the wizard's loop.
    MSG message;
    while (IsOpen() && PeekMessageA(&message, GetHwnd(), 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(GetHwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
