#pragma once

#include "CDialog.h"
#include "COwnedWorker.h"
#include "CWorkerThread.h"

#include <memory>

// The whole window of a minimal-window run: downloads, then installs every
// selected update without asking anything, showing only a bar, and ends with
// one message. Ends with IDOK after a successful installation, IDCANCEL
// otherwise.
class CKWUpdaterMinGUIDlg : public CDialog {
public:
    CKWUpdaterMinGUIDlg();
    ~CKWUpdaterMinGUIDlg() override;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnDestroy() override;

private:
    enum State { kStateDownloading = 2, kStateInstalling = 3 };

    void UpdateCaption();
    // Starts the worker of the current state; a failed start leaves the
    // window without one, to be closed with Cancel.
    void StartWorker();
    void StopWorker();
    // Shows the window above the others before a box ends the run.
    void BringToFront() const;
    // True for the first failure reported, which is shown; brings the
    // window to the front for its box.
    bool TakeFailure();
    // True when a progress message concerns this window.
    bool FollowsProgress() const;

    void OnSetActionText(WPARAM target, LPARAM text);
    void OnSetMax(WPARAM target, LPARAM max);
    void OnSetPos(WPARAM target, LPARAM pos);
    void OnStepIt(WPARAM target, LPARAM unused);
    void OnTaskCompleted();
    void OnTaskInterrupted(WPARAM stringId, LPARAM boxFlags);
    void OnTaskInterruptedWinErr(WPARAM code, LPARAM unused);

    int m_state = 0;
    COwnedWorker m_worker;
    int m_currentItem = 0;
    int m_itemTotal = 0;
    bool m_failureShown = false;
};
