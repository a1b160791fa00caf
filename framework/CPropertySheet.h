#pragma once

#include "MessageHandlerTable.h"

#include <windows.h>

#include <string>
#include <vector>

class CPropertyPage;

// A modal wizard of property pages. Wizard97 style with every page's header
// hidden: each page then fills the sheet edge to edge above the buttons and
// draws its own banner (the plain wizard style insets pages by a margin).
// The sheet's window exists from the first page's creation to the end of
// DoModal; registered messages sent to it reach the handlers registered with
// OnMessage.
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

    // The wizard's own buttons, addressed directly: a page may show Finish's
    // text on Next, or hide Back, whatever the sheet would do by itself.
    HWND GetButton(WizardButton button) const;
    void ShowButton(WizardButton button, bool show) const;
    void EnableButton(WizardButton button, bool enable) const;
    void SetButtonText(WizardButton button, const std::string& text) const;
    // Presses a button as the person would (its notification follows).
    void PressButton(WizardButton button) const;

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
    static LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    std::string m_caption;
    HWND m_parent;
    HWND m_hwnd = nullptr;
    std::vector<CPropertyPage*> m_pages;
    MessageHandlerTable m_handlers;
};
