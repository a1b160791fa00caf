#pragma once

#include "CDialog.h"

#include <memory>
#include <string>

// The last window of an interactive run: tells that the update is over and
// offers to start the product or, when Windows must restart, to restart
// now. The choice goes to g_launchAfterUpdate / g_restartAfterUpdate on
// Finish (IDOK); Cancel clears both.
class CKWUpdateCompleteDlg : public CDialog {
public:
    enum Mode { kModeSuccess = 3, kModeRestart = 4, kModeInterrupted = 5 };

    // The mode follows the run's end: an installation cancelled, a restart
    // pending, or success. The title names the product in the texts.
    explicit CKWUpdateCompleteDlg(const std::string& appTitle);
    ~CKWUpdateCompleteDlg() override;

    int GetMode() const { return m_mode; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct GdiObjectDeleter {
        void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
    };

    void CreateTitleFont();
    void ShowSuccess();
    void ShowRestart();
    void ShowInterrupted();
    // The white page above the buttons, the usual grey below the line.
    void PaintBackground(HDC dc) const;

    std::string m_appTitle;
    int m_restartChoice = 0;
    UINT m_launchChoice = BST_CHECKED;
    int m_mode;
    std::unique_ptr<HBRUSH__, GdiObjectDeleter> m_whiteBrush;
    std::unique_ptr<HFONT__, GdiObjectDeleter> m_titleFont;
};
