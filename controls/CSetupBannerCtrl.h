#pragma once

#include "CControl.h"
#include "CMaskedBitmap.h"

#include <string>

// The white banner across the top of a dialog: a bold title, an indented
// subtitle below it, and a bitmap from the top-left corner whose cyan pixels
// let the white show through. Attached to a static control of the template;
// the window text is the title, so window readers see it.
class CSetupBannerCtrl : public CControl {
public:
    // Each setter redraws at once when the window exists.
    void SetTitle(const std::string& title);
    void SetSubtitle(const std::string& subtitle);
    // A bitmap resource of the dialog's module; 0 for none.
    void SetBitmap(UINT id);
    void SetTitleColor(COLORREF color);
    void SetSubtitleColor(COLORREF color);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Redraw() const;
    void Paint(HDC target);
    void DrawContent(HDC dc, const RECT& client);

    std::string m_title;
    std::string m_subtitle;
    UINT m_bitmapId = 0;
    UINT m_loadedId = 0;
    CMaskedBitmap m_bitmap;
    COLORREF m_titleColor = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF m_subtitleColor = GetSysColor(COLOR_WINDOWTEXT);
};
