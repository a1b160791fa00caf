#pragma once

#include "CDialog.h"

// The small window that keeps the person waiting while setup reads its
// packages on the GUI thread. It shows the application's title, a short text
// and a progress bar; Esc or the close box cancel the start-up.
class CSplashWaitMiniDlg : public CDialog {
public:
    CSplashWaitMiniDlg();
    ~CSplashWaitMiniDlg() override;

    // Shows the window with the bar empty over range steps; false when the
    // window could not be made.
    bool Open(int range);
    // The number of packages is known only once they are read.
    void SetRange(int range);
    // One step forward; nothing once the window is closed. The start-up runs
    // on this thread, so the window's pending messages are handled here:
    // that is how a cancel gets through.
    void Step();
    // Closes the window; false when the person cancelled it.
    bool Close();
    bool IsOpen() const { return GetHwnd() != nullptr; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;

private:
    void PumpMessages();

    int m_range = 0;
    bool m_cancelled = false;
};
