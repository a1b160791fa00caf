#pragma once

#include "CCheckThread.h"
#include "CDialog.h"

// The check's progress window: runs the check thread, follows its steps on a
// bar and ends with 1 when the check completed, 2 when it failed (after
// telling the person why) or was cancelled.
class CCheckProgressDlg : public CDialog {
public:
    CCheckProgressDlg();

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;

private:
    void OnSetActionText(WPARAM target, LPARAM text);
    void OnSetMax(WPARAM target, LPARAM max);
    void OnSetPos(WPARAM target, LPARAM pos);
    void OnStepIt(WPARAM target, LPARAM unused);
    void OnTaskInterrupted(WPARAM stringId, LPARAM boxFlags);
    void OnTaskInterruptedWinErr(WPARAM code, LPARAM unused);

    CCheckThread m_thread;
    int m_max = 0;
    int m_pos = 0;
};
