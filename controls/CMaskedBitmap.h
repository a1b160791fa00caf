#pragma once

#include "GdiHandles.h"

#include <windows.h>

// A bitmap of the program's resources drawn with one colour left out, so
// whatever lies under that colour shows through.
class CMaskedBitmap {
public:
    // Replaces the bitmap; false (and no bitmap) when the resource is missing.
    bool Load(HINSTANCE instance, UINT id);
    bool IsLoaded() const { return m_bitmap.Get() != nullptr; }
    // Width and height in pixels; 0 by 0 without a bitmap.
    SIZE GetSize() const;
    // Draws the bitmap at its own size with its top-left corner at x, y,
    // clipped to cx by cy: artwork is never stretched, so a larger area only
    // leaves more room around it. Pixels of the transparent colour are not
    // painted.
    void Draw(HDC dc, int x, int y, int cx, int cy, COLORREF transparent) const;

private:
    KwGdiObject<HBITMAP> m_bitmap;
};
