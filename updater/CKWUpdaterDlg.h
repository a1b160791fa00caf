#pragma once

#include "CDialog.h"
#include "CMainAppCloser.h"
#include "CMaskedBitmap.h"
#include "COwnedWorker.h"
#include "CSetupBannerCtrl.h"
#include "CUpdateListCtrl.h"

#include <string>

// The window of an interactive run: the person checks updates in a list,
// downloads them, has the running product closed and installs them. Ends
// with OK only when the installation finished.
class CKWUpdaterDlg : public CDialog {
public:
    enum State {
        kStateList = 1,
        kStateDownload = 2, // also "ready to install" once the download ended
        kStateInstall = 3,
    };

    CKWUpdaterDlg();
    ~CKWUpdaterDlg() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void FillUpdateList();
    void UpdateTotalSize();
    void UpdateCaption();
    void ShowTip(bool show);
    void StartDownload();
    void StartInstallation();
    void StopWorker() { m_worker.Stop(); }
    bool CloseMainApplication();
    void ResetProgress(bool clearAction);
    void MarkRemainingRowsFailed();
    void DrawTipIcon(const DRAWITEMSTRUCT& item) const;

    void OnOffsetPos(WPARAM target, LPARAM offset);
    void OnSetMax(WPARAM target, LPARAM max);
    void OnSetPos(WPARAM target, LPARAM pos);
    void OnStepIt(WPARAM target);
    void OnSetActionText(WPARAM target, LPARAM text);
    void OnTaskCompleted();
    void OnTaskInterrupted(WPARAM stringId, LPARAM boxFlags);
    void OnTaskInterruptedWinErr(WPARAM code);

    int m_state = kStateList;
    COwnedWorker m_worker;
    int m_currentRow = 0;
    std::string m_serverName;
    CMainAppCloser m_closer;
    CSetupBannerCtrl m_banner;
    CUpdateListCtrl m_list;
    CMaskedBitmap m_tipBitmap;
};
