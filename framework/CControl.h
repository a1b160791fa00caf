#pragma once

#include <windows.h>

// Messages a dialog sends back to the control that notified it, so a control
// draws and answers for itself: kReflectBase + WM_NOTIFY, + WM_DRAWITEM,
// + WM_CTLCOLORSTATIC... with the original parameters. WM_COMMAND comes back
// too, before the dialog's own handling, which still follows.
const UINT kReflectBase = WM_USER + 0x1C00;

// A control of a dialog that handles its own messages: attached to the
// control's window by subclassing, detached when the window goes.
class CControl {
public:
    CControl() = default;
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Subclasses the window; false when it is null or already attached.
    bool Attach(HWND window);
    // Attaches the dialog's item with this id.
    bool AttachItem(HWND dialog, int id) { return Attach(GetDlgItem(dialog, id)); }
    void Detach();
    HWND GetHwnd() const { return m_hwnd; }
    // The control attached to a window, or null for a plain one.
    static CControl* FromHandle(HWND window);

protected:
    // The window was just attached: a control adjusts its styles here.
    virtual void OnAttached() {}
    // Every message of the window, reflected ones included; the default lets
    // the control's own class handle it.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    HWND m_hwnd = nullptr;
};
