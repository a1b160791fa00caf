#include "CKWUpdaterDlg.h"

#include "CApplyThread.h"
#include "CDownloadThread.h"
#include "CKWInstallationData.h"
#include "CKWLogFile.h"
#include "CKWUpdateCatalog.h"
#include "CMustCloseAppDlg.h"
#include "CResString.h"
#include "CancelFlags.h"
#include "LocalizedSystemText.h"
#include "MainProgramFile.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "SizeText.h"
#include "UpdaterResources.h"
#include "WorkerReports.h"
#include "UpdaterIcons.h"

#include <commctrl.h>

namespace {

const char kSection[] = "IDD_UPDATER";

enum UpdaterDialogString {
    kStringInstall = 103,
    kStringFinish = 106,
    kStringCancel = 107,
    kStringDownload = 109,
    kStringTotalSize = 216,
    kStringCancelled = 228,
};

enum RowStatus {
    kRowDone = 1,
    kRowFailed = 2,
    kRowInProgress = 3,
};

// Transparent colour of the tip bitmap (cyan).
const COLORREF kTipTransparent = RGB(0, 255, 255);

std::string Text(const char* key)
{
    return CResString(kSection, key, "").GetText();
}

} // namespace

CKWUpdaterDlg::CKWUpdaterDlg() : CDialog(IDD_UPDATER), m_closer(GetProductDescriptor().UpdaterCode)
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    OnMessage(messages.progressOffsetPos, [this](WPARAM w, LPARAM l) {
        OnOffsetPos(w, l);
    });
    OnMessage(messages.progressSetMax, [this](WPARAM w, LPARAM l) {
        OnSetMax(w, l);
    });
    OnMessage(messages.progressSetPos, [this](WPARAM w, LPARAM l) {
        OnSetPos(w, l);
    });
    OnMessage(messages.progressStepIt, [this](WPARAM w, LPARAM) {
        OnStepIt(w);
    });
    OnMessage(messages.progressSetActionText, [this](WPARAM w, LPARAM l) {
        OnSetActionText(w, l);
    });
    OnMessage(messages.taskCompleted, [this](WPARAM, LPARAM) {
        OnTaskCompleted();
    });
    OnMessage(messages.taskInterrupted, [this](WPARAM w, LPARAM l) {
        OnTaskInterrupted(w, l);
    });
    OnMessage(messages.taskInterruptedWinErr, [this](WPARAM w, LPARAM) {
        OnTaskInterruptedWinErr(w);
    });
    OnMessage(messages.updatesSelChanged, [this](WPARAM, LPARAM) {
        EnableItem(IDOK, m_list.GetCheckedCount() > 0);
        UpdateTotalSize();
    });
    OnMessage(messages.enableCancelButton, [this](WPARAM enable, LPARAM) {
        EnableItem(IDCANCEL, enable != 0);
    });
    OnMessage(messages.showMainWindow, [this](WPARAM show, LPARAM) {
        ShowWindow(GetHwnd(), show != 0 ? SW_SHOW : SW_HIDE);
    });
}

CKWUpdaterDlg::~CKWUpdaterDlg() = default;

BOOL CKWUpdaterDlg::OnInitDialog()
{
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    if (CKWInstallationData::GetInstance().GetUpdateCount() == 0 || !catalog.IsValid()) {
        LogMessage("Entered dialog with invalid data");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    SetUpdaterIcons(GetHwnd());
    m_banner.AttachItem(GetHwnd(), IDC_BANNER);
    m_banner.SetBitmap(IDB_BANNER);
    m_banner.SetTitle(Text("banner_title1"));
    m_banner.SetSubtitle(Text("banner_subtitle1"));
    m_tipBitmap.Load(GetModuleHandleA(nullptr), IDB_TIP);

    std::string intro;
    LoadFormattedByKey(intro, kSection, "intro1", CResString(kStringDownload).c_str());
    SetItemText(IDC_INTRO, intro);
    SetItemText(IDCANCEL, CResString(kStringCancel));

    m_serverName = catalog.GetServerName();
    SetItemText(IDC_SERVER_NAME, m_serverName);
    m_list.Create(GetHwnd(), IDC_UPDATE_LIST);
    FillUpdateList();
    return TRUE;
}

void CKWUpdaterDlg::FillUpdateList()
{
    if (m_state != kStateList)
        return;
    SetWindowTextA(GetHwnd(), Text("caption_c").c_str());
    m_list.SetRedraw(false);
    m_list.SetMode(kStateList);
    for (const auto& product : CKWInstallationData::GetInstance().GetProducts()) {
        for (const auto& update : product->GetUpdates())
            m_list.AddUpdate(update.get());
    }
    m_list.SetRedraw(true);
    SetItemText(IDOK, CResString(kStringDownload));
    EnableItem(IDOK, m_list.GetCheckedCount() > 0);
    UpdateTotalSize();
    SendMessageA(GetHwnd(), DM_SETDEFID, IDOK, 0);
}

void CKWUpdaterDlg::UpdateTotalSize()
{
    SetItemText(IDC_TOTAL_SIZE, CResString(kStringTotalSize).GetText() + " " + FormatSize(m_list.GetCheckedSize()));
}

void CKWUpdaterDlg::UpdateCaption()
{
    std::string caption;
    if (m_state == kStateDownload) {
        HWND bar = GetItem(IDC_UPDATE_PROGRESS);
        PBRANGE range = {};
        SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        int position = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
        int span = range.iHigh - range.iLow;
        LoadFormattedByKey(caption, kSection, "caption_d", span != 0 ? MulDiv(position, 100, span) : 0);
    } else if (m_state == kStateInstall) {
        LoadFormattedByKey(caption, kSection, "caption_a", m_currentRow, m_list.GetRowCount());
    } else {
        caption = GetProductDescriptor().AppTitle;
    }
    SetWindowTextA(GetHwnd(), caption.c_str());
}

void CKWUpdaterDlg::ShowTip(bool show)
{
    ShowItem(IDC_TIP_TEXT, show);
    ShowItem(IDC_TIP_ICON, show);
}

void CKWUpdaterDlg::OnOK()
{
    switch (m_state) {
    case kStateList:
        if (m_list.RemoveUncheckedRows() == 0) {
            EndDialog(IDCANCEL);
            return;
        }
        for (int row = 0; row < m_list.GetRowCount(); ++row)
            m_list.EnableRow(row, true);
        m_state = kStateDownload;
        EnableItem(IDOK, false);
        SetItemText(IDOK, CResString(kStringInstall));
        StartDownload();
        break;
    case kStateDownload:
        m_state = kStateInstall;
        StartInstallation();
        break;
    default:
        EndDialog(IDOK);
        break;
    }
}

bool CKWUpdaterDlg::CloseMainApplication()
{
    return m_closer.CloseMainApplication(GetHwnd(), MainProgramFile(InstalledFolder()));
}

void CKWUpdaterDlg::StartDownload()
{
    if (m_state != kStateDownload || m_worker.IsRunning())
        return;
    ShowTip(false);
    if (!CloseMainApplication()) {
        EndDialog(IDCANCEL);
        return;
    }
    ShowItem(IDC_TOTAL_SIZE, false);
    m_currentRow = 0;
    UpdateCaption();
    m_banner.SetTitle(Text("banner_title2"));
    m_banner.SetSubtitle("");
    SetItemText(IDC_INTRO, Text("intro2"));
    m_list.SetRedraw(false);
    m_list.SetMode(kStateDownload);
    m_list.SetRedraw(true);
    ResetProgress(true);
    ShowItem(IDC_UPDATE_PROGRESS, true);
    ShowItem(IDC_UPDATE_ACTION, true);
    m_worker.Start(std::make_unique<CDownloadThread>(GetHwnd()), COwnedWorker::kReportInBox);
}

void CKWUpdaterDlg::StartInstallation()
{
    if (m_state != kStateInstall || m_worker.IsRunning())
        return;
    if (!CloseMainApplication()) {
        EndDialog(IDCANCEL);
        return;
    }
    // A program with only hidden windows never took the request: wait until
    // its file is free, or until the person decides.
    const std::string mainProgram = MainProgramFile(InstalledFolder());
    if (!m_closer.RequestDelivered() && !GetProductDescriptor().MainProgramPath.empty()) {
        CMustCloseAppDlg mustClose(GetHwnd());
        mustClose.WaitForFile(mainProgram);
        if (mustClose.DoModal() == IDCANCEL) {
            EndDialog(IDCANCEL);
            return;
        }
    }
    m_currentRow = 0;
    UpdateCaption();
    SetItemText(IDC_INTRO, Text("intro4"));
    m_list.SetMode(kStateInstall);
    ResetProgress(true);
    ShowItem(IDC_UPDATE_PROGRESS, true);
    ShowItem(IDC_UPDATE_ACTION, true);
    ShowTip(false);
    EnableItem(IDOK, false);
    m_worker.Start(std::make_unique<CApplyThread>(GetHwnd()), COwnedWorker::kReportInBox);
}

void CKWUpdaterDlg::ResetProgress(bool clearAction)
{
    HWND bar = GetItem(IDC_UPDATE_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, 0);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    if (clearAction)
        SetItemText(IDC_UPDATE_ACTION, "");
}

void CKWUpdaterDlg::MarkRemainingRowsFailed()
{
    for (int row = m_currentRow; row < m_list.GetRowCount(); ++row)
        m_list.SetRowStatus(row, kRowFailed);
}

void CKWUpdaterDlg::OnOffsetPos(WPARAM target, LPARAM offset)
{
    if ((m_state != kStateDownload && m_state != kStateInstall) || target != kProgressTargetCurrent)
        return;
    SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_DELTAPOS, static_cast<WPARAM>(offset), 0);
    if (m_state == kStateDownload)
        UpdateCaption();
}

void CKWUpdaterDlg::OnSetMax(WPARAM target, LPARAM max)
{
    if ((m_state != kStateDownload && m_state != kStateInstall) || target != kProgressTargetCurrent)
        return;
    SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_SETRANGE32, 0, max);
    if (m_state == kStateDownload)
        UpdateCaption();
}

void CKWUpdaterDlg::OnSetPos(WPARAM target, LPARAM pos)
{
    if (m_state != kStateDownload && m_state != kStateInstall)
        return;
    if (target == kProgressTargetList) {
        m_currentRow = static_cast<int>(pos);
        m_list.SetRowStatus(m_currentRow, kRowInProgress);
        if (m_state == kStateInstall)
            UpdateCaption();
    } else if (target == kProgressTargetCurrent) {
        SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(pos), 0);
        if (m_state == kStateDownload)
            UpdateCaption();
    }
}

void CKWUpdaterDlg::OnStepIt(WPARAM target)
{
    if (m_state != kStateDownload && m_state != kStateInstall)
        return;
    if (target == kProgressTargetList) {
        m_list.SetRowStatus(m_currentRow, kRowDone);
        if (++m_currentRow < m_list.GetRowCount())
            m_list.SetRowStatus(m_currentRow, kRowInProgress);
        if (m_state == kStateInstall)
            UpdateCaption();
    } else if (target == kProgressTargetCurrent) {
        SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_STEPIT, 0, 0);
        if (m_state == kStateDownload)
            UpdateCaption();
    }
}

void CKWUpdaterDlg::OnSetActionText(WPARAM target, LPARAM text)
{
    std::string action = TakeActionText(text);
    if ((m_state == kStateDownload || m_state == kStateInstall) && target == kProgressTargetCurrent)
        SetItemText(IDC_UPDATE_ACTION, action);
}

void CKWUpdaterDlg::OnTaskCompleted()
{
    if (m_state == kStateDownload) {
        StopWorker();
        SetWindowTextA(GetHwnd(), Text("caption_d2").c_str());
        const std::string install = CResString(kStringInstall).GetText();
        std::string intro;
        LoadFormattedByKey(intro, kSection, "intro3", install.c_str());
        SetItemText(IDC_INTRO, intro);
        EnableItem(IDOK, true);
        SetItemText(IDOK, install);
        SetFocus(GetItem(IDOK));
        SetItemText(IDC_UPDATE_ACTION, "");
        ShowItem(IDC_UPDATE_ACTION, false);
        ShowItem(IDC_UPDATE_PROGRESS, false);
        if (IsIconic(GetHwnd())) {
            FLASHWINFO flash = {sizeof flash, GetHwnd(), FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
            FlashWindowEx(&flash);
        }
        std::string tip;
        if (!CWaiterThread::IsFileFree(MainProgramFile(InstalledFolder())))
            LoadFormattedByKey(tip, kSection, "tip2", GetProductDescriptor().AppTitle.c_str(), install.c_str());
        else
            tip = Text("tip3");
        SetItemText(IDC_TIP_TEXT, tip);
        ShowTip(true);
    } else if (m_state == kStateInstall) {
        StopWorker();
        SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_SETPOS, 0, 0);
        ShowItem(IDC_UPDATE_PROGRESS, false);
        SetItemText(IDC_UPDATE_ACTION, "");
        ShowItem(IDC_UPDATE_ACTION, false);
        EnableItem(IDOK, true);
        SetItemText(IDOK, CResString(kStringFinish));
        EndDialog(IDOK);
    }
}

void CKWUpdaterDlg::OnTaskInterrupted(WPARAM stringId, LPARAM boxFlags)
{
    ShowTip(true);
    std::string tip;
    if (stringId != 0) {
        tip = CResString(static_cast<int>(stringId)).GetText();
        if (m_state != kStateInstall)
            MessageBox(tip, static_cast<UINT>(boxFlags));
    } else {
        tip = CResString(kStringCancelled).GetText();
    }
    SetItemText(IDC_TIP_TEXT, tip);
    StopWorker();
    if (m_state == kStateDownload || m_state == kStateInstall) {
        MarkRemainingRowsFailed();
        SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_SETPOS, 0, 0);
        ShowItem(IDC_UPDATE_PROGRESS, false);
        SetItemText(IDC_UPDATE_ACTION, "");
        ShowItem(IDC_UPDATE_ACTION, false);
        g_installCancelled = 1;
        if (m_state == kStateDownload)
            g_downloadCancelled = 1;
    }
    InvalidateRect(GetItem(IDC_TIP_ICON), nullptr, TRUE);
}

void CKWUpdaterDlg::OnTaskInterruptedWinErr(WPARAM code)
{
    ShowTip(true);
    const DWORD error = static_cast<DWORD>(code);
    SetItemText(IDC_TIP_TEXT, FailureWithCode(error != 0 ? LocalizedSystemText(error) : std::string(), error));
    StopWorker();
    if (m_state == kStateDownload || m_state == kStateInstall) {
        MarkRemainingRowsFailed();
        SendMessageA(GetItem(IDC_UPDATE_PROGRESS), PBM_SETPOS, 0, 0);
        ShowItem(IDC_UPDATE_PROGRESS, false);
        g_installCancelled = 1;
        if (m_state == kStateDownload)
            g_downloadCancelled = 1;
    }
    InvalidateRect(GetItem(IDC_TIP_ICON), nullptr, TRUE);
}

void CKWUpdaterDlg::OnCancel()
{
    if (!m_worker.IsRunning() || g_installCancelled != 0) {
        EndDialog(IDCANCEL);
        return;
    }
    if (m_state == kStateDownload) {
        if (MessageBox(Text("cancelconf1"), MB_YESNO | MB_ICONWARNING) != IDYES)
            return;
        g_downloadCancelled = 1;
        LogMessage("Download was cancelled.");
    } else if (m_state == kStateInstall) {
        if (MessageBox(Text("cancelconf2"), MB_YESNO | MB_ICONWARNING) != IDYES)
            return;
        LogMessage("Installation was cancelled.");
    }
    g_installCancelled = 1;
    if (m_state == kStateDownload || m_state == kStateInstall) {
        m_list.SetRowStatus(m_currentRow, kRowFailed);
        ResetProgress(true);
        ShowItem(IDC_UPDATE_PROGRESS, false);
        ShowItem(IDC_UPDATE_ACTION, false);
    }
}

void CKWUpdaterDlg::OnDestroy()
{
    m_list.DeleteAllRows();
    StopWorker();
    DiscardPendingActionTexts(GetHwnd());
}

bool CKWUpdaterDlg::OnControlMessage(HWND control, UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_DRAWITEM || control != GetItem(IDC_TIP_ICON))
        return false;
    DrawTipIcon(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

// A warning once something was cancelled or failed; the ready badge before
// the installation; nothing while installing.
void CKWUpdaterDlg::DrawTipIcon(const DRAWITEMSTRUCT& item) const
{
    const RECT& area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (g_installCancelled != 0 || g_downloadCancelled != 0) {
        DrawIconEx(item.hDC, area.left, area.top, LoadIconA(nullptr, IDI_EXCLAMATION), 0, 0, 0, nullptr, DI_NORMAL);
    } else if (m_state != kStateInstall) {
        m_tipBitmap.Draw(item.hDC, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         kTipTransparent);
    }
}
