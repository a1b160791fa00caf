#pragma once

#include "MessageHandlerTable.h"

#include <windows.h>

#include <string>

// A modal dialog built from a template of the program's resources. The
// dialog keeps its object in the window's user data from WM_INITDIALOG on,
// and one static procedure forwards each message to the virtual hooks below
// or to the handler registered for a registered message.
class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) : m_templateId(templateId), m_parent(parent) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog until EndDialog; its result, or -1 when the template
    // could not be made into a window.
    INT_PTR DoModal(HINSTANCE instance = GetModuleHandleA(nullptr));
    void EndDialog(INT_PTR result);
    // Shows the dialog modeless, for a window that stays up while the
    // caller works; false when the template could not be made into a window.
    // Such a dialog ends with Destroy, never with EndDialog.
    bool Create(HINSTANCE instance = GetModuleHandleA(nullptr));
    void Destroy();
    HWND GetHwnd() const { return m_hwnd; }
    UINT GetTemplateId() const { return m_templateId; }

    HWND GetItem(int id) const { return GetDlgItem(m_hwnd, id); }
    void SetItemText(int id, const std::string& text) const;
    std::string GetItemText(int id) const;
    void EnableItem(int id, bool enable) const;
    void ShowItem(int id, bool show) const;

    // The core's message box (its caption and test seam) owned by this
    // dialog, so the box stays in front of it and blocks it.
    int MessageBox(const std::string& text, UINT type) const;

protected:
    using MessageHandler = MessageHandlerTable::Handler;
    // Routes a registered message to a handler; the hooks never see it.
    void OnMessage(UINT message, MessageHandler handler) { m_handlers.Add(message, std::move(handler)); }

    // TRUE to let the system give the first control the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Buttons and menu commands; OK and Cancel go to their own hooks.
    virtual void OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The window is going: the last moment its controls exist.
    virtual void OnDestroy() {}
    // The notifications a control sends its parent (WM_NOTIFY, WM_DRAWITEM,
    // WM_CTLCOLOR*) with the control that sent them: owner-drawn controls
    // answer here. True when handled, with the message's result.
    virtual bool OnControlMessage(HWND /*control*/, UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/)
    {
        return false;
    }

    // The procedure's work once the window is known: binds the object to
    // the window on WM_INITDIALOG, unbinds it on WM_NCDESTROY, and routes
    // everything in between. Property pages share it.
    static INT_PTR Dispatch(CDialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_parent;
    HWND m_hwnd = nullptr;
    MessageHandlerTable m_handlers;
};
