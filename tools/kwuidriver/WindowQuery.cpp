#include "WindowQuery.h"

namespace {

// Another program's window answers within this time or counts as hung: the
// driver must never hang with it.
const UINT kAnswerMs = 5000;

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::string WithoutAmpersands(const std::string& text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

} // namespace

LRESULT AskWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result);
    return static_cast<LRESULT>(result);
}

std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kAnswerMs, &copied))
        return std::string();
    text.resize(copied < length ? copied : length);
    return text;
}

std::string WindowClass(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildById(HWND parent, int id)
{
    for (HWND child : ChildWindows(parent))
        if (GetDlgCtrlID(child) == id)
            return child;
    return nullptr;
}

HWND ButtonByText(HWND parent, const std::string& text)
{
    for (HWND child : ChildWindows(parent))
        if (lstrcmpiA(WindowClass(child).c_str(), "Button") == 0 &&
            WithoutAmpersands(WindowText(child)) == WithoutAmpersands(text))
            return child;
    return nullptr;
}

bool WindowQuery::Matches(HWND window) const
{
    if (!className.empty() && WindowClass(window) != className)
        return false;
    if (title.empty())
        return true;
    const std::string text = WindowText(window);
    return titlePrefix ? text.compare(0, title.size(), title) == 0 : text == title;
}

HWND WindowQuery::Find() const
{
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows)
        if (IsWindowVisible(window) && Matches(window))
            return window;
    return nullptr;
}

HWND WindowQuery::WaitFor(DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = Find())
            return window;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(100);
    }
}
