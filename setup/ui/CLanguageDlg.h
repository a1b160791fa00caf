#pragma once

#include "CButtonST.h"
#include "CDialog.h"
#include "GdiHandles.h"

// The language choice shown before anything else: a picture with a flag
// button for English and one for French, each setting the program's
// language and ending the dialog with OK, and a small close button that
// cancels.
class CLanguageDlg : public CDialog {
public:
    explicit CLanguageDlg(HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void LayOut(SIZE picture);
    void EraseBackground(HDC dc) const;

    CButtonST m_english;
    CButtonST m_french;
    CButtonST m_close;
    KwGdiObject<HBITMAP> m_background;
    KwGdiObject<HFONT> m_titleFont;
};
