#include "CButtonST.h"

#include "CKWLogFile.h"

#include <shellapi.h>

#include <vector>

namespace {

const int kPictureMargin = 4; // between the picture and a caption

} // namespace

bool CButtonST::SetBitmaps(UINT inId, COLORREF inTransparent, UINT outId, COLORREF outTransparent)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(GetHwnd(), GWLP_HINSTANCE));
    bool loaded = m_in.bitmap.Load(instance, inId);
    loaded = m_out.bitmap.Load(instance, outId) && loaded;
    m_in.transparent = inTransparent;
    m_out.transparent = outTransparent;
    InvalidateRect(GetHwnd(), nullptr, FALSE);
    return loaded;
}

void CButtonST::SetColor(PointerState state, COLORREF text, COLORREF background)
{
    Look& look = state == kPointerIn ? m_in : m_out;
    look.text = text;
    look.background = background;
    InvalidateRect(GetHwnd(), nullptr, FALSE);
}

void CButtonST::OnAttached()
{
    LONG_PTR style = GetWindowLongPtrA(GetHwnd(), GWL_STYLE);
    SetWindowLongPtrA(GetHwnd(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    InvalidateRect(GetHwnd(), nullptr, TRUE);
}

LRESULT CButtonST::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        OnPointerMove();
        break;
    case WM_MOUSELEAVE:
        m_pointerOver = false;
        InvalidateRect(GetHwnd(), nullptr, FALSE);
        break;
    case WM_SETCURSOR:
        if (m_cursor != nullptr) {
            SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case BM_SETSTYLE:
        // The dialog moves the default-button look around with this; the
        // button must stay owner-drawn.
        return Default(message, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
    case kReflectBase + WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case kReflectBase + WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnClicked();
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void CButtonST::OnPointerMove()
{
    // Only the active window follows the pointer, as Windows' own buttons do.
    if (m_pointerOver || GetActiveWindow() != GetAncestor(GetHwnd(), GA_ROOT))
        return;
    m_pointerOver = true;
    InvalidateRect(GetHwnd(), nullptr, FALSE);
    TRACKMOUSEEVENT leave = {sizeof leave, TME_LEAVE, GetHwnd(), 0};
    TrackMouseEvent(&leave);
}

void CButtonST::OnClicked()
{
    SetFocus(GetHwnd());
    if (m_url.empty())
        return;
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.hwnd = GetParent(GetHwnd());
    open.lpVerb = "open";
    open.lpFile = m_url.c_str();
    open.nShow = SW_SHOWMAXIMIZED;
    if (!ShellExecuteExA(&open))
        LogMessage("Unable to open %s: error %lu", m_url.c_str(), GetLastError());
}

void CButtonST::Draw(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    const Look& look = m_pointerOver ? m_in : m_out;
    KwGdiObject<HBRUSH> background(CreateSolidBrush(look.background));
    FillRect(dc, &item.rcItem, background.Get());

    RECT content = item.rcItem;
    if (item.itemState & ODS_SELECTED)
        OffsetRect(&content, 1, 1); // pressed in

    std::vector<char> caption(static_cast<size_t>(GetWindowTextLengthA(GetHwnd())) + 1);
    int length = GetWindowTextA(GetHwnd(), caption.data(), static_cast<int>(caption.size()));

    SIZE picture = look.bitmap.GetSize();
    if (picture.cx > 0) {
        // Centred alone, or at the left of a caption.
        int x =
            length > 0 ? content.left + kPictureMargin : content.left + (content.right - content.left - picture.cx) / 2;
        int y = content.top + (content.bottom - content.top - picture.cy) / 2;
        look.bitmap.Draw(dc, x, y, content.right - x, content.bottom - y, look.transparent);
        if (length > 0)
            content.left = x + picture.cx + kPictureMargin;
    }

    if (length > 0) {
        auto font = reinterpret_cast<HFONT>(SendMessageA(GetHwnd(), WM_GETFONT, 0, 0));
        KwSelection selection(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : look.text);
        // Beside a picture the caption reads on from it, as a link does.
        UINT alignment = picture.cx > 0 ? DT_LEFT : DT_CENTER;
        DrawTextA(dc, caption.data(), length, &content, alignment | DT_VCENTER | DT_SINGLELINE);
    }

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}
