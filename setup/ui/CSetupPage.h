#pragma once

#include "CMaskedBitmap.h"
#include "CPropertyPage.h"
#include "CSetupBannerCtrl.h"
#include "GdiHandles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CSetupUI;

// A page of setup's wizard: white throughout, with the banner across the top
// or, on the first and last pages, the tall picture down the left side. Its
// texts come from one section of the string table.
class CSetupPage : public CPropertyPage {
public:
    CSetupPage(UINT templateId, CSetupUI& wizard, const char* section, const char* defaultCaption);

protected:
    CSetupUI& Wizard() const { return m_wizard; }
    const char* Section() const { return m_section; }
    // A key of the page's section; the default when the table lacks it.
    std::string Text(const char* key, const char* defaultValue = "") const;

    BOOL OnInitDialog() override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void SetBanner(const std::string& title, const std::string& subtitle);
    // Gives an item a copy of the page's font, taller by extraHeight pixels
    // and bold or not; the page keeps the font.
    void SetItemFont(int id, int extraHeight, bool bold);
    bool IsChecked(int id) const { return IsDlgButtonChecked(GetHwnd(), id) == BST_CHECKED; }
    void Check(int id, bool checked) const { CheckDlgButton(GetHwnd(), id, checked ? BST_CHECKED : BST_UNCHECKED); }

private:
    CSetupUI& m_wizard;
    const char* m_section;
    CSetupBannerCtrl m_banner;
    CMaskedBitmap m_sidePicture;
    std::vector<std::unique_ptr<KwGdiObject<HFONT>>> m_fonts;
};
