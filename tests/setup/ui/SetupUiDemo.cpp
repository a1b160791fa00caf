// Setup's destination page in a wizard and its change-folder dialog, for a
// person or a screenshot to look at. Arguments: "fr" for French, "folder" to
// open the change-folder dialog at once.
#include "CChangeFolderDlg.h"
#include "CMaskedBitmap.h"
#include "CPropertyPage.h"
#include "CPropertySheet.h"
#include "CResString.h"
#include "InterfaceLanguage.h"
#include "RegisteredMessages.h"
#include "SetupResources.h"

#include <string>

namespace {

const char kSection[] = "IDD_PAGE_DESTINATION";
const char kTitle[] = "Melvaro Studio";

class DemoPage : public CPropertyPage {
public:
    explicit DemoPage(bool openFolder) : CPropertyPage(IDD_PAGE_DESTINATION), m_openFolder(openFolder) {}

protected:
    BOOL OnInitDialog() override
    {
        m_banner.AttachItem(GetHwnd(), IDC_BANNER);
        m_banner.SetBitmap(IDB_BANNER);
        std::string subtitle;
        LoadFormattedByKey(subtitle, kSection, "banner_subtitle", CResString(102).c_str(), CResString(108).c_str());
        m_banner.SetTitle(CResString(kSection, "banner_title", ""));
        m_banner.SetSubtitle(subtitle);
        std::string intro;
        LoadFormattedByKey(intro, kSection, "intro", kTitle);
        SetItemText(IDC_DEST_INTRO, intro);
        SetItemText(IDC_DEST_FOLDER, m_folder);
        SetItemText(IDC_DEST_CHANGE, CResString(108));
        m_picture.Load(GetModuleHandleA(nullptr), IDB_FOLDER);
        return TRUE;
    }
    bool OnSetActive() override
    {
        CPropertySheet& sheet = *GetSheet();
        sheet.SetButtonText(CPropertySheet::kBack, CResString(101));
        sheet.SetButtonText(CPropertySheet::kNext, CResString(102));
        sheet.SetButtonText(CPropertySheet::kCancel, CResString(107));
        if (m_openFolder)
            PostMessageA(GetHwnd(), WM_COMMAND, IDC_DEST_CHANGE, 0);
        return true;
    }
    void OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) != IDC_DEST_CHANGE)
            return CPropertyPage::OnCommand(wParam, lParam);
        // The demo shows a folder with subfolders in it.
        CChangeFolderDlg dialog(m_openFolder ? "C:\\Program Files" : m_folder, GetSheet()->GetHwnd());
        if (dialog.DoModal() == IDOK) {
            m_folder = dialog.GetFolder();
            SetItemText(IDC_DEST_FOLDER, m_folder);
        }
    }
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            result = reinterpret_cast<LRESULT>(m_white.Get());
            return true;
        }
        if (message == WM_DRAWITEM && GetDlgCtrlID(control) == IDC_DEST_PICTURE) {
            const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            FillRect(item.hDC, &item.rcItem, m_white.Get());
            m_picture.Draw(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, RGB(255, 0, 255));
            result = TRUE;
            return true;
        }
        return false;
    }

private:
    bool m_openFolder;
    std::string m_folder = "C:\\Program Files\\Melvaro\\Studio\\";
    CSetupBannerCtrl m_banner;
    CMaskedBitmap m_picture;
    KwGdiObject<HBRUSH> m_white{CreateSolidBrush(RGB(255, 255, 255))};
};

// Answers the banner colour questions, as setup's wizard does.
class DemoSheet : public CPropertySheet {
public:
    DemoSheet() : CPropertySheet(kTitle)
    {
        auto black = [](WPARAM w, LPARAM) {
            if (w != 0)
                *reinterpret_cast<COLORREF*>(w) = RGB(0, 0, 0);
        };
        OnMessage(GetRegisteredMessages().getSetupBannerTitleColor, black);
        OnMessage(GetRegisteredMessages().getSetupBannerSubtitleColor, black);
    }

protected:
    std::string FormatCaption(const std::string& caption) override
    {
        return std::string("[") + kTitle + "] - " + caption;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::string arguments = commandLine;
    g_language = arguments.find("fr") != std::string::npos ? kLanguageFrench : kLanguageEnglish;
    DemoPage page(arguments.find("folder") != std::string::npos);
    page.SetCaption(CResString(kSection, "caption", "Destination Folder"));
    DemoSheet sheet;
    sheet.AddPage(page);
    return static_cast<int>(sheet.DoModal());
}
