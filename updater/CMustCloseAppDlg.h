#pragma once

#include "CDialog.h"
#include "CWaiterThread.h"

#include <string>

// Waits until the main program's file is free, for a program that could not
// be asked to close; the person may also go on anyway or give up. Ends with
// OK (free, or Ignore) or Cancel.
class CMustCloseAppDlg : public CDialog {
public:
    explicit CMustCloseAppDlg(HWND parent);

    // The file to wait for; the wait starts with the window, so that the
    // waiter has a window to tell.
    void WaitForFile(const std::string& path);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    HWND m_parent;
    std::string m_filePath;
    CWaiterThread m_waiter;
};
