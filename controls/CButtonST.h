#pragma once

#include "CControl.h"
#include "CMaskedBitmap.h"

#include <string>

// An owner-drawn push button with a picture and colours for each pointer
// state (over the button or away from it), an optional link that a click
// opens in the browser, and an optional cursor. Attaching makes the button
// owner-drawn; it draws itself from the dialog's reflected WM_DRAWITEM.
class CButtonST : public CControl {
public:
    enum PointerState { kPointerIn, kPointerOut };

    // Bitmap resources of the button's module for each state, each with the
    // colour left unpainted; after Attach. False when one does not load.
    bool SetBitmaps(UINT inId, COLORREF inTransparent, UINT outId, COLORREF outTransparent);
    void SetColor(PointerState state, COLORREF text, COLORREF background);
    // The address a click opens; empty for none.
    void SetURL(const std::string& url) { m_url = url; }
    // Shown while the pointer is over the button; null for the usual one.
    void SetBtnCursor(HCURSOR cursor) { m_cursor = cursor; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Look {
        CMaskedBitmap bitmap;
        COLORREF transparent = 0;
        COLORREF text = GetSysColor(COLOR_BTNTEXT);
        COLORREF background = GetSysColor(COLOR_BTNFACE);
    };

    void OnPointerMove();
    void OnClicked();
    void Draw(const DRAWITEMSTRUCT& item) const;

    Look m_in;
    Look m_out;
    std::string m_url;
    HCURSOR m_cursor = nullptr;
    bool m_pointerOver = false;
};
