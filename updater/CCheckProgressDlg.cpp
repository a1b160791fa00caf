#include "CCheckProgressDlg.h"

#include "CKWLogFile.h"
#include "CResString.h"
#include "CThreadException.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "UpdaterIcons.h"
#include "UpdaterResources.h"
#include "WorkerReports.h"

#include <commctrl.h>

namespace {

const char kSection[] = "IDD_CHECKPROGRESS";

const int kStringCancel = 107;

const INT_PTR kResultCompleted = 1;
const INT_PTR kResultFailed = 2;
const UINT kWarningBox = MB_ICONWARNING;

} // namespace

CCheckProgressDlg::CCheckProgressDlg() : CDialog(IDD_CHECKPROGRESS)
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    OnMessage(messages.progressSetActionText, [this](WPARAM w, LPARAM l) {
        OnSetActionText(w, l);
    });
    OnMessage(messages.progressSetMax, [this](WPARAM w, LPARAM l) {
        OnSetMax(w, l);
    });
    OnMessage(messages.progressSetPos, [this](WPARAM w, LPARAM l) {
        OnSetPos(w, l);
    });
    OnMessage(messages.progressStepIt, [this](WPARAM w, LPARAM l) {
        OnStepIt(w, l);
    });
    OnMessage(messages.taskCompleted, [this](WPARAM, LPARAM) {
        EndDialog(kResultCompleted);
    });
    OnMessage(messages.taskInterrupted, [this](WPARAM w, LPARAM l) {
        OnTaskInterrupted(w, l);
    });
    OnMessage(messages.taskInterruptedWinErr, [this](WPARAM w, LPARAM l) {
        OnTaskInterruptedWinErr(w, l);
    });
}

BOOL CCheckProgressDlg::OnInitDialog()
{
    SetUpdaterIcons(GetHwnd());
    SetWindowTextA(GetHwnd(), CResString(kSection, "caption", "").c_str());
    std::string message;
    LoadFormattedByKey(message, kSection, "message", GetProductDescriptor().AppTitle.c_str());
    SetItemText(IDC_MESSAGE, message);
    SetItemText(IDCANCEL, CResString(kStringCancel));
    HWND bar = GetItem(IDC_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, 0);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    SetItemText(IDC_ACTION, "");

    try {
        m_thread.SetOwner(GetHwnd());
        m_thread.Start();
        m_thread.SetPriority(THREAD_PRIORITY_IDLE);
    } catch (CThreadException* e) {
        MessageBox(e->GetMessageText(), MB_OK | kWarningBox);
        delete e;
        EndDialog(kResultFailed);
    }
    return TRUE;
}

void CCheckProgressDlg::OnDestroy()
{
    DWORD exitCode = 0;
    try {
        m_thread.Stop(exitCode, kNoTimeLimit);
    } catch (CThreadException* e) {
        LogMessage("Thread exception: %s", e->GetMessageText().c_str());
        delete e;
    }
    DiscardPendingActionTexts(GetHwnd());
}

void CCheckProgressDlg::OnSetActionText(WPARAM, LPARAM text)
{
    SetItemText(IDC_ACTION, TakeActionText(text));
}

void CCheckProgressDlg::OnSetMax(WPARAM, LPARAM max)
{
    m_max = static_cast<int>(max);
    SendMessageA(GetItem(IDC_PROGRESS), PBM_SETRANGE32, 0, m_max);
}

void CCheckProgressDlg::OnSetPos(WPARAM, LPARAM pos)
{
    m_pos = static_cast<int>(pos);
    SendMessageA(GetItem(IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(m_pos), 0);
}

void CCheckProgressDlg::OnStepIt(WPARAM, LPARAM)
{
    SendMessageA(GetItem(IDC_PROGRESS), PBM_STEPIT, 0, 0);
}

void CCheckProgressDlg::OnTaskInterrupted(WPARAM stringId, LPARAM boxFlags)
{
    ShowTaskInterrupted(*this, static_cast<int>(stringId), static_cast<UINT>(boxFlags));
    EndDialog(kResultFailed);
}

void CCheckProgressDlg::OnTaskInterruptedWinErr(WPARAM code, LPARAM)
{
    ShowTaskInterruptedWinErr(*this, static_cast<DWORD>(code));
    EndDialog(kResultFailed);
}
