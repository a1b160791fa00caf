#pragma once

#include <windows.h>

// Owns a GDI object (bitmap, font, brush) and deletes it once.
template <typename T> class KwGdiObject {
public:
    KwGdiObject() = default;
    explicit KwGdiObject(T object) : m_object(object) {}
    ~KwGdiObject() { Reset(); }
    KwGdiObject(const KwGdiObject&) = delete;
    KwGdiObject& operator=(const KwGdiObject&) = delete;

    T Get() const { return m_object; }
    void Reset(T object = nullptr)
    {
        if (m_object != nullptr)
            DeleteObject(m_object);
        m_object = object;
    }

private:
    T m_object = nullptr;
};

// A memory device context like another one, deleted once.
class KwMemoryDC {
public:
    explicit KwMemoryDC(HDC like) : m_dc(CreateCompatibleDC(like)) {}
    ~KwMemoryDC()
    {
        if (m_dc != nullptr)
            DeleteDC(m_dc);
    }
    KwMemoryDC(const KwMemoryDC&) = delete;
    KwMemoryDC& operator=(const KwMemoryDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Selects an object into a device context for a scope and puts the previous
// one back, so the object can be deleted afterwards.
class KwSelection {
public:
    KwSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~KwSelection()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            SelectObject(m_dc, m_previous);
    }
    KwSelection(const KwSelection&) = delete;
    KwSelection& operator=(const KwSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The device context of a WM_PAINT, ended once.
class KwPaintDC {
public:
    explicit KwPaintDC(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    ~KwPaintDC() { EndPaint(m_window, &m_paint); }
    KwPaintDC(const KwPaintDC&) = delete;
    KwPaintDC& operator=(const KwPaintDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint = {};
    HDC m_dc;
};
