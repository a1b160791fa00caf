#include "CSetupPage.h"

#include "CResString.h"
#include "CSetupUI.h"
#include "SetupResources.h"

CSetupPage::CSetupPage(UINT templateId, CSetupUI& wizard, const char* section, const char* defaultCaption)
    : CPropertyPage(templateId), m_wizard(wizard), m_section(section)
{
    SetCaption(Text("caption", defaultCaption));
}

std::string CSetupPage::Text(const char* key, const char* defaultValue) const
{
    return CResString(m_section, key, defaultValue);
}

BOOL CSetupPage::OnInitDialog()
{
    if (m_banner.AttachItem(GetHwnd(), IDC_BANNER)) {
        m_banner.SetBitmap(IDB_BANNER);
        m_banner.SetTitleColor(m_wizard.GetBannerTitleColor());
        m_banner.SetSubtitleColor(m_wizard.GetBannerSubtitleColor());
    }
    if (GetItem(IDC_SIDE_PICTURE) != nullptr)
        m_sidePicture.Load(GetModuleHandleA(nullptr), IDB_WIZARD);
    if (GetItem(IDC_PAGE_TITLE) != nullptr)
        SetItemFont(IDC_PAGE_TITLE, 4, true);
    return TRUE;
}

void CSetupPage::SetBanner(const std::string& title, const std::string& subtitle)
{
    m_banner.SetTitle(title);
    m_banner.SetSubtitle(subtitle);
}

void CSetupPage::SetItemFont(int id, int extraHeight, bool bold)
{
    LOGFONTA description = {};
    auto pageFont = reinterpret_cast<HFONT>(SendMessageA(GetHwnd(), WM_GETFONT, 0, 0));
    if (pageFont == nullptr || GetObjectA(pageFont, sizeof description, &description) == 0)
        return;
    // Heights are negative for character heights, positive for cell heights.
    description.lfHeight += description.lfHeight < 0 ? -extraHeight : extraHeight;
    if (bold)
        description.lfWeight = FW_BOLD;
    m_fonts.push_back(std::make_unique<KwGdiObject<HFONT>>(CreateFontIndirectA(&description)));
    SendMessageA(GetItem(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts.back()->Get()), FALSE);
}

bool CSetupPage::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(m_wizard.GetBackgroundBrush());
        return true;
    case WM_DRAWITEM:
        if (GetDlgCtrlID(control) == IDC_SIDE_PICTURE) {
            const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            // The picture is taller than any page; the page cuts it off.
            m_sidePicture.Draw(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, RGB(0, 255, 255));
            result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}
