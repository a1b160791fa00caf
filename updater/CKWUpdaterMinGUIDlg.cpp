#include "CKWUpdaterMinGUIDlg.h"

#include "CApplyThread.h"
#include "CDownloadThread.h"
#include "CKWInstallationData.h"
#include "CKWLogFile.h"
#include "CResString.h"
#include "CancelFlags.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "UpdaterIcons.h"
#include "UpdaterResources.h"
#include "WorkerReports.h"

#include <commctrl.h>

namespace {

const char kSection[] = "IDD_UPDMINGUI";
const int kStringCancel = 107;

const std::string& AppTitle()
{
    return GetProductDescriptor().AppTitle;
}

} // namespace

// The check's progress template serves this window too.
CKWUpdaterMinGUIDlg::CKWUpdaterMinGUIDlg() : CDialog(IDD_CHECKPROGRESS)
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
        OnTaskCompleted();
    });
    OnMessage(messages.taskInterrupted, [this](WPARAM w, LPARAM l) {
        OnTaskInterrupted(w, l);
    });
    OnMessage(messages.taskInterruptedWinErr, [this](WPARAM w, LPARAM l) {
        OnTaskInterruptedWinErr(w, l);
    });
}

CKWUpdaterMinGUIDlg::~CKWUpdaterMinGUIDlg() = default;

BOOL CKWUpdaterMinGUIDlg::OnInitDialog()
{
    SetUpdaterIcons(GetHwnd());
    SetWindowTextA(GetHwnd(), CResString(kSection, "caption_d", "").c_str());
    std::string message;
    LoadFormattedByKey(message, kSection, "message_d", AppTitle().c_str());
    SetItemText(IDC_MESSAGE, message);
    SetItemText(IDCANCEL, CResString(kStringCancel));
    HWND bar = GetItem(IDC_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, 100);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    SetItemText(IDC_ACTION, "");

    // Counted before the download runs, which reads the same lists.
    m_itemTotal = static_cast<int>(CKWInstallationData::GetInstance().GetUpdateCount());
    m_state = kStateDownloading;
    StartWorker();
    return TRUE;
}

void CKWUpdaterMinGUIDlg::UpdateCaption()
{
    std::string caption;
    if (m_state == kStateDownloading) {
        HWND bar = GetItem(IDC_PROGRESS);
        PBRANGE range = {};
        SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        const long long span = static_cast<long long>(range.iHigh) - range.iLow;
        const long long position = static_cast<long long>(SendMessageA(bar, PBM_GETPOS, 0, 0));
        const int percent = span > 0 ? static_cast<int>((position * 100 + span / 2) / span) : 0;
        LoadFormattedByKey(caption, kSection, "caption_d", percent);
    } else if (m_state == kStateInstalling) {
        LoadFormattedByKey(caption, kSection, "caption_a", m_currentItem, m_itemTotal);
    } else {
        caption = AppTitle();
    }
    SetWindowTextA(GetHwnd(), caption.c_str());
}

void CKWUpdaterMinGUIDlg::StartWorker()
{
    m_currentItem = 0;
    std::unique_ptr<CWorkerThread> worker;
    if (m_state == kStateDownloading)
        worker = std::make_unique<CDownloadThread>(GetHwnd());
    else
        worker = std::make_unique<CApplyThread>(GetHwnd());
    UpdateCaption();
    m_worker.Start(std::move(worker), COwnedWorker::kReportInLog);
}

void CKWUpdaterMinGUIDlg::StopWorker()
{
    m_worker.Stop();
}

void CKWUpdaterMinGUIDlg::OnCancel()
{
    // Either worker may be running or about to run: stop both kinds.
    g_downloadCancelled = true;
    g_installCancelled = true;
    if (m_state == kStateDownloading)
        LogMessage("Download was cancelled.");
    else if (m_state == kStateInstalling)
        LogMessage("Installation was cancelled.");
    StopWorker();
    EndDialog(IDCANCEL);
}

void CKWUpdaterMinGUIDlg::OnDestroy()
{
    StopWorker();
    DiscardPendingActionTexts(GetHwnd());
}

void CKWUpdaterMinGUIDlg::BringToFront() const
{
    ShowWindow(GetHwnd(), SW_RESTORE);
    SetForegroundWindow(GetHwnd());
}

bool CKWUpdaterMinGUIDlg::FollowsProgress() const
{
    return (m_state == kStateDownloading || m_state == kStateInstalling) && GetItem(IDC_PROGRESS) != nullptr;
}

void CKWUpdaterMinGUIDlg::OnSetActionText(WPARAM target, LPARAM text)
{
    std::string action = TakeActionText(text);
    if (FollowsProgress() && target == kProgressTargetCurrent)
        SetItemText(IDC_ACTION, action);
}

void CKWUpdaterMinGUIDlg::OnSetMax(WPARAM target, LPARAM max)
{
    if (!FollowsProgress() || target != kProgressTargetCurrent)
        return;
    SendMessageA(GetItem(IDC_PROGRESS), PBM_SETRANGE32, 0, max);
    if (m_state == kStateDownloading)
        UpdateCaption();
}

void CKWUpdaterMinGUIDlg::OnSetPos(WPARAM target, LPARAM pos)
{
    if (!FollowsProgress())
        return;
    if (target == kProgressTargetList) {
        m_currentItem = static_cast<int>(pos);
    } else if (target == kProgressTargetCurrent) {
        SendMessageA(GetItem(IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(pos), 0);
        if (m_state == kStateDownloading)
            UpdateCaption();
    }
}

void CKWUpdaterMinGUIDlg::OnStepIt(WPARAM target, LPARAM)
{
    if (!FollowsProgress())
        return;
    if (target == kProgressTargetList) {
        ++m_currentItem;
        if (m_state == kStateInstalling)
            UpdateCaption();
    } else if (target == kProgressTargetCurrent) {
        SendMessageA(GetItem(IDC_PROGRESS), PBM_STEPIT, 0, 0);
        if (m_state == kStateDownloading)
            UpdateCaption();
    }
}

void CKWUpdaterMinGUIDlg::OnTaskCompleted()
{
    if (m_failureShown)
        return;
    if (m_state == kStateDownloading) {
        StopWorker();
        std::string message;
        LoadFormattedByKey(message, kSection, "message_a", AppTitle().c_str());
        SetItemText(IDC_MESSAGE, message);
        m_state = kStateInstalling;
        StartWorker();
    } else if (m_state == kStateInstalling) {
        StopWorker();
        BringToFront();
        std::string success;
        LoadFormattedByKey(success, kSection, "success", AppTitle().c_str());
        MessageBox(success, MB_OK | MB_ICONINFORMATION);
        EndDialog(IDOK);
    } else {
        EndDialog(IDCANCEL);
    }
}

bool CKWUpdaterMinGUIDlg::TakeFailure()
{
    // The worker may report again while the box is open: the run ends
    // with the first failure, told once.
    if (m_failureShown)
        return false;
    m_failureShown = true;
    BringToFront();
    return true;
}

void CKWUpdaterMinGUIDlg::OnTaskInterrupted(WPARAM stringId, LPARAM boxFlags)
{
    if (!TakeFailure())
        return;
    ShowTaskInterrupted(*this, static_cast<int>(stringId), static_cast<UINT>(boxFlags));
    EndDialog(IDCANCEL);
}

void CKWUpdaterMinGUIDlg::OnTaskInterruptedWinErr(WPARAM code, LPARAM)
{
    if (!TakeFailure())
        return;
    ShowTaskInterruptedWinErr(*this, static_cast<DWORD>(code));
    EndDialog(IDCANCEL);
}
