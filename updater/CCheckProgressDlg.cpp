#include "CCheckProgressDlg.h"

#include "CKWLogFile.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "CThreadException.h"
#include "LocalizedSystemText.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "UpdaterResources.h"
#include "WindowIcons.h"

#include <commctrl.h>

namespace {

const char kSection[] = "IDD_CHECKPROGRESS";

enum CheckDialogString {
    kStringCancel = 107,
};

const INT_PTR kResultCompleted = 1;
const INT_PTR kResultFailed = 2;
const UINT kWarningBox = MB_ICONWARNING;

// The server's own message, which explains a failure better than ours.
const CServerStatus* ServerStatus()
{
    const CServerStatus* status = CKWUpdateCatalog::GetInstance().GetServerStatus();
    if (status != nullptr)
        LogMessage("Message from server: %s", status->GetMessageText().c_str());
    return status;
}

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
    SetWindowIcons(GetHwnd());

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
    // Texts the thread posted after the dialog ended never reach a handler.
    UINT setActionText = GetRegisteredMessages().progressSetActionText;
    MSG message;
    while (PeekMessageA(&message, GetHwnd(), setActionText, setActionText, PM_REMOVE))
        TakeActionText(message.lParam);
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
    if (const CServerStatus* status = ServerStatus()) {
        MessageBox(status->GetMessageText(), MB_OK | kWarningBox);
    } else if (stringId != 0) {
        CResString text(static_cast<int>(stringId));
        LogMessage("Error %d: %s", static_cast<int>(stringId), text.c_str());
        MessageBox(text, static_cast<UINT>(boxFlags));
    }
    EndDialog(kResultFailed);
}

void CCheckProgressDlg::OnTaskInterruptedWinErr(WPARAM code, LPARAM)
{
    std::string text;
    if (const CServerStatus* status = ServerStatus()) {
        text = status->GetMessageText();
    } else if (code != 0) {
        text = LocalizedSystemText(static_cast<DWORD>(code));
        LogMessage("Error %d: %s", static_cast<int>(code), text.c_str());
    }
    MessageBox(FailureWithCode(text, static_cast<DWORD>(code)), MB_OK | kWarningBox);
    EndDialog(kResultFailed);
}
