#include "CXHeaderCtrl.h"

#include <commctrl.h>
#include <windowsx.h>

bool CXHeaderCtrl::IsOnDivider(LPARAM point) const
{
    HDHITTESTINFO hit = {};
    hit.pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    SendMessageA(GetHwnd(), HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) != 0;
}

LRESULT CXHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (IsOnDivider(lParam))
            return 0;
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
