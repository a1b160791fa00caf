#pragma once

#include "MessageHandlerTable.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CPropertyPage;

// A modal wizard of property pages. Wizard97 style with every page's header
// hidden: each page then fills the sheet edge to edge above the buttons and
// draws its own banner (the plain wizard style insets pages by a margin).
// The sheet's window exists from the first page's creation to the end of
// DoModal; registered messages sent to it reach the handlers registered with
// OnMessage. DoModal runs its own message loop, so messages posted to the
// thread while the wizard is open reach the thread-message handler instead
// of being lost in the system's modal loop.
class CPropertySheet {
public:
    enum WizardButton { kBack, kNext, kFinish, kCancel, kHelp };

    explicit CPropertySheet(const std::string& caption, HWND parent = nullptr) : m_caption(caption), m_parent(parent) {}
    virtual ~CPropertySheet() = default;
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Adds a page, which must outlive the sheet's window; before DoModal.
    void AddPage(CPropertyPage& page);
    // Shows the wizard until Finish or Cancel: 1 when finished, 0 when
    // cancelled, -1 when it could not be made.
    INT_PTR DoModal(HINSTANCE instance = GetModuleHandleA(nullptr));
    HWND GetHwnd() const { return m_hwnd; }
    // Receives every message of DoModal's loop that has no window; true when
    // handled. Unhandled ones are dropped.
    void SetThreadMessageHandler(std::function<bool(const MSG&)> handler) { m_threadHandler = std::move(handler); }
    // The page shown first instead of the first added; before DoModal.
    void SetStartPage(UINT templateId) { m_startPage = templateId; }

    // The wizard's own buttons, addressed directly: a page may show Finish's
    // text on Next, or hide Back, whatever the sheet would do by itself.
    HWND GetButton(WizardButton button) const;
    void ShowButton(WizardButton button, bool show) const;
    void EnableButton(WizardButton button, bool enable) const;
    void SetButtonText(WizardButton button, const std::string& text) const;
    // The system's choice of buttons (PSWIZB_*): Finish in place of Next on
    // the last page. A page's own settings above come after it.
    void SetWizardButtons(DWORD flags) const;
    // Presses a button as the person would (its notification follows).
    void PressButton(WizardButton button) const;

    // Handles the sheet's own pending messages (input, painting) but not the
    // thread's: keeps the window answering while the thread is inside a long
    // call, without starting more work from there.
    void PumpWindowMessages();

    // Makes the page with this template current; false when refused.
    bool SetActivePage(UINT templateId) const;
    CPropertyPage* GetActivePage() const;
    void SetTitle(const std::string& title) const;

protected:
    using MessageHandler = MessageHandlerTable::Handler;
    void OnMessage(UINT message, MessageHandler handler) { m_handlers.Add(message, std::move(handler)); }
    // The window and its buttons exist; the first page is being made.
    virtual void OnInitSheet() {}
    // The caption shown for one set on the sheet (a page's, on activation).
    virtual std::string FormatCaption(const std::string& caption) { return caption; }

private:
    friend class CPropertyPage;

    void AttachWindow(HWND sheet);
    // Runs the open sheet until a button ends it.
    void RunMessageLoop();
    static LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    std::string m_caption;
    HWND m_parent;
    HWND m_hwnd = nullptr;
    std::vector<CPropertyPage*> m_pages;
    MessageHandlerTable m_handlers;
    std::function<bool(const MSG&)> m_threadHandler;
    UINT m_startPage = 0;
    // Set when a page let Finish end the wizard.
    bool m_finished = false;
};
