#include "CControl.h"

#include <commctrl.h>

namespace {

const UINT_PTR kSubclassId = 0x4B57; // one subclass of ours per window
const char kControlProperty[] = "KwControl";

} // namespace

CControl::~CControl()
{
    Detach();
}

bool CControl::Attach(HWND window)
{
    if (window == nullptr || m_hwnd != nullptr)
        return false;
    if (!SetWindowSubclass(window, &CControl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    SetPropA(window, kControlProperty, this);
    m_hwnd = window;
    OnAttached();
    return true;
}

void CControl::Detach()
{
    if (m_hwnd == nullptr)
        return;
    RemoveWindowSubclass(m_hwnd, &CControl::SubclassProc, kSubclassId);
    RemovePropA(m_hwnd, kControlProperty);
    m_hwnd = nullptr;
}

CControl* CControl::FromHandle(HWND window)
{
    return static_cast<CControl*>(GetPropA(window, kControlProperty));
}

LRESULT CControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(message, wParam, lParam);
}

LRESULT CControl::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* control = reinterpret_cast<CControl*>(self);
    if (message == WM_NCDESTROY) {
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        control->Detach();
        return result;
    }
    return control->WindowProc(message, wParam, lParam);
}
