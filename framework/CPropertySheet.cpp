#include "CPropertySheet.h"

#include "CKWLogFile.h"
#include "CPropertyPage.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>

namespace {

const UINT_PTR kSubclassId = 0x4B53;

// The control ids of the sheet's buttons.
int ButtonId(CPropertySheet::WizardButton button)
{
    switch (button) {
    case CPropertySheet::kBack:
        return 0x3023;
    case CPropertySheet::kNext:
        return 0x3024;
    case CPropertySheet::kFinish:
        return 0x3025;
    case CPropertySheet::kCancel:
        return IDCANCEL;
    default:
        return IDHELP;
    }
}

std::string Narrow(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

std::wstring Widen(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

void CPropertySheet::AddPage(CPropertyPage& page)
{
    page.m_sheet = this;
    m_pages.push_back(&page);
}

INT_PTR CPropertySheet::DoModal(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    std::vector<HPROPSHEETPAGE> pages;
    for (CPropertyPage* page : m_pages) {
        PROPSHEETPAGEA description = {};
        description.dwSize = sizeof description;
        description.dwFlags = PSP_HIDEHEADER | (page->m_caption.empty() ? 0 : PSP_USETITLE);
        description.pszTitle = page->m_caption.c_str();
        description.hInstance = instance;
        description.pszTemplate = MAKEINTRESOURCEA(page->GetTemplateId());
        description.pfnDlgProc = &CPropertyPage::PageProc;
        description.lParam = reinterpret_cast<LPARAM>(page);
        HPROPSHEETPAGE handle = CreatePropertySheetPageA(&description);
        if (handle == nullptr) {
            LogMessage("Unable to create property page %u: error %lu", page->GetTemplateId(), GetLastError());
            for (HPROPSHEETPAGE made : pages)
                DestroyPropertySheetPage(made);
            return -1;
        }
        pages.push_back(handle);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD97 | PSH_MODELESS;
    header.hwndParent = m_parent;
    header.hInstance = instance;
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    // By position: Wine ignores a start page given by its template.
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i]->GetTemplateId() == m_startPage)
            header.nStartPage = static_cast<UINT>(i);
    }
    m_finished = false;
    // The sheet takes the pages: it destroys them whatever the outcome.
    INT_PTR made = PropertySheetA(&header);
    if (made <= 0 || m_hwnd == nullptr) {
        LogMessage("Unable to create the wizard: error %lu", GetLastError());
        return -1;
    }
    bool parentEnabled = m_parent != nullptr && IsWindowEnabled(m_parent);
    if (parentEnabled)
        EnableWindow(m_parent, FALSE);
    RunMessageLoop();
    // Enabled again before the sheet goes, so the parent becomes active.
    if (parentEnabled)
        EnableWindow(m_parent, TRUE);
    DestroyWindow(m_hwnd);
    return m_finished ? 1 : 0;
}

void CPropertySheet::RunMessageLoop()
{
    MSG message;
    while (SendMessageA(m_hwnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // Quitting: the loop outside this one must see it too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0)
            return;
        if (message.hwnd == nullptr) {
            if (m_threadHandler)
                m_threadHandler(message);
            continue;
        }
        if (!PropSheet_IsDialogMessage(m_hwnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void CPropertySheet::PumpWindowMessages()
{
    MSG message;
    while (m_hwnd != nullptr && PeekMessageA(&message, m_hwnd, 0, 0, PM_REMOVE)) {
        if (!PropSheet_IsDialogMessage(m_hwnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

HWND CPropertySheet::GetButton(WizardButton button) const
{
    return GetDlgItem(m_hwnd, ButtonId(button));
}

void CPropertySheet::ShowButton(WizardButton button, bool show) const
{
    ShowWindow(GetButton(button), show ? SW_SHOW : SW_HIDE);
}

void CPropertySheet::EnableButton(WizardButton button, bool enable) const
{
    EnableWindow(GetButton(button), enable ? TRUE : FALSE);
}

void CPropertySheet::SetButtonText(WizardButton button, const std::string& text) const
{
    SetWindowTextA(GetButton(button), text.c_str());
}

void CPropertySheet::SetWizardButtons(DWORD flags) const
{
    // Sent, not posted as the system's macro does: a page's own button
    // settings that follow must not be overridden later.
    SendMessageA(m_hwnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void CPropertySheet::PressButton(WizardButton button) const
{
    static const int kCodes[] = {PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_CANCEL, PSBTN_HELP};
    PostMessageA(m_hwnd, PSM_PRESSBUTTON, static_cast<WPARAM>(kCodes[button]), 0);
}

bool CPropertySheet::SetActivePage(UINT templateId) const
{
    return SendMessageA(m_hwnd, PSM_SETCURSELID, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(templateId))) != 0;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    HWND page = reinterpret_cast<HWND>(SendMessageA(m_hwnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (CPropertyPage* candidate : m_pages) {
        if (candidate->GetHwnd() == page && page != nullptr)
            return candidate;
    }
    return nullptr;
}

void CPropertySheet::SetTitle(const std::string& title) const
{
    SetWindowTextA(m_hwnd, title.c_str());
}

void CPropertySheet::AttachWindow(HWND sheet)
{
    if (m_hwnd != nullptr)
        return;
    m_hwnd = sheet;
    SetWindowSubclass(sheet, &CPropertySheet::SheetProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    OnInitSheet();
}

LRESULT CALLBACK CPropertySheet::SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self)
{
    auto* sheet = reinterpret_cast<CPropertySheet*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &CPropertySheet::SheetProc, kSubclassId);
        sheet->m_hwnd = nullptr;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    if (sheet->m_handlers.Dispatch(message, wParam, lParam))
        return 1;
    if (message == WM_SETTEXT && lParam != 0) {
        // The common controls may make the sheet a Unicode window even for
        // PropertySheetA; its text then comes and goes as UTF-16.
        if (!IsWindowUnicode(hwnd)) {
            std::string caption = sheet->FormatCaption(reinterpret_cast<const char*>(lParam));
            return DefSubclassProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(caption.c_str()));
        }
        std::wstring caption = Widen(sheet->FormatCaption(Narrow(reinterpret_cast<const wchar_t*>(lParam))));
        return DefSubclassProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(caption.c_str()));
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
