#include "CSetupBannerCtrl.h"

#include <algorithm>

namespace {

const COLORREF kTransparent = RGB(0, 255, 255);
const COLORREF kBackground = RGB(255, 255, 255);

void DrawWrapped(HDC dc, const std::string& text, HFONT font, COLORREF color, RECT rect)
{
    KwSelection selection(dc, font);
    SetTextColor(dc, color);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace

void CSetupBannerCtrl::SetTitle(const std::string& title)
{
    m_title = title;
    // The static class would paint its own text at once; the plain window
    // procedure only keeps it, and we draw.
    if (GetHwnd() != nullptr)
        DefWindowProcA(GetHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_title.c_str()));
    Redraw();
}

void CSetupBannerCtrl::SetSubtitle(const std::string& subtitle)
{
    m_subtitle = subtitle;
    Redraw();
}

void CSetupBannerCtrl::SetBitmap(UINT id)
{
    m_bitmapId = id;
    Redraw();
}

void CSetupBannerCtrl::SetTitleColor(COLORREF color)
{
    m_titleColor = color;
    Redraw();
}

void CSetupBannerCtrl::SetSubtitleColor(COLORREF color)
{
    m_subtitleColor = color;
    Redraw();
}

void CSetupBannerCtrl::Redraw() const
{
    if (GetHwnd() == nullptr)
        return;
    InvalidateRect(GetHwnd(), nullptr, FALSE);
    UpdateWindow(GetHwnd());
}

LRESULT CSetupBannerCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        KwPaintDC dc(GetHwnd());
        Paint(dc.Get());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return TRUE; // the paint covers every pixel
    case WM_SETTEXT:
        SetTitle(reinterpret_cast<const char*>(lParam) ? reinterpret_cast<const char*>(lParam) : "");
        return TRUE;
    case WM_ENABLE:
        // The static class paints at once on these; ours paints on WM_PAINT.
        Redraw();
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

void CSetupBannerCtrl::Paint(HDC target)
{
    RECT client;
    GetClientRect(GetHwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    // Drawn off screen and copied in one go: no flicker.
    KwMemoryDC canvas(target);
    KwGdiObject<HBITMAP> buffer(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (canvas.Get() == nullptr || buffer.Get() == nullptr) {
        DrawContent(target, client);
        return;
    }
    KwSelection selection(canvas.Get(), buffer.Get());
    DrawContent(canvas.Get(), client);
    BitBlt(target, 0, 0, client.right, client.bottom, canvas.Get(), 0, 0, SRCCOPY);
}

void CSetupBannerCtrl::DrawContent(HDC dc, const RECT& client)
{
    KwGdiObject<HBRUSH> background(CreateSolidBrush(kBackground));
    FillRect(dc, &client, background.Get());

    auto font = reinterpret_cast<HFONT>(SendMessageA(GetParent(GetHwnd()), WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA bold = {};
    GetObjectA(font, sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    KwGdiObject<HFONT> titleFont(CreateFontIndirectA(&bold));

    SIZE bitmapSize = {0, 0};
    if (m_bitmapId != 0) {
        if (m_loadedId != m_bitmapId) {
            auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(GetHwnd(), GWLP_HINSTANCE));
            m_bitmap.Load(instance, m_bitmapId);
            m_loadedId = m_bitmapId;
        }
        bitmapSize = m_bitmap.GetSize();
        m_bitmap.Draw(dc, 0, 0, std::max<int>(client.right, bitmapSize.cx), std::max<int>(client.bottom, bitmapSize.cy),
                      kTransparent);
    }

    // The right part of the bitmap carries its picture: text stays clear of
    // it, with a margin.
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    RECT text = client;
    text.right -= MulDiv(bitmapSize.cx, 3, 10) + MulDiv(dpiX, 1, 8);
    SetBkMode(dc, TRANSPARENT);
    text.left += MulDiv(dpiX, 1, 8);
    text.top += MulDiv(dpiY, 1, 12);
    DrawWrapped(dc, m_title, titleFont.Get() != nullptr ? titleFont.Get() : font, m_titleColor, text);
    text.left += MulDiv(dpiX, 1, 8);
    text.top += MulDiv(dpiY, 1, 6);
    DrawWrapped(dc, m_subtitle, font, m_subtitleColor, text);
}
