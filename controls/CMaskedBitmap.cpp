#include "CMaskedBitmap.h"

#include <algorithm>

bool CMaskedBitmap::Load(HINSTANCE instance, UINT id)
{
    // A DIB section keeps the file's exact colours at any screen depth, so
    // the transparent colour still matches pixel for pixel.
    HANDLE image = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    m_bitmap.Reset(static_cast<HBITMAP>(image));
    return image != nullptr;
}

SIZE CMaskedBitmap::GetSize() const
{
    BITMAP info = {};
    if (!IsLoaded() || GetObjectA(m_bitmap.Get(), sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void CMaskedBitmap::Draw(HDC dc, int x, int y, int cx, int cy, COLORREF transparent) const
{
    SIZE size = GetSize();
    int width = std::min<int>(cx, size.cx);
    int height = std::min<int>(cy, size.cy);
    if (width <= 0 || height <= 0)
        return;
    KwMemoryDC source(dc);
    KwSelection selection(source.Get(), m_bitmap.Get());
    TransparentBlt(dc, x, y, width, height, source.Get(), 0, 0, width, height, transparent);
}
