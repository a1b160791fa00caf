// The shared controls in a dialog laid out like the updater's, for a person
// or a screenshot: the banner, the tip picture and a picture button that
// opens a link. Closes with OK or Cancel.
#include "CButtonST.h"
#include "CDialog.h"
#include "CMaskedBitmap.h"
#include "CSetupBannerCtrl.h"
#include "ControlsTestResources.h"

namespace {

// A static control showing a bitmap with cyan left out, as the updater's
// dialog paints its tip.
class TipPicture : public CControl {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PAINT)
            return Default(message, wParam, lParam);
        if (!m_bitmap.IsLoaded())
            m_bitmap.Load(GetModuleHandleA(nullptr), IDB_TEST_TIP);
        KwPaintDC dc(GetHwnd());
        RECT client;
        GetClientRect(GetHwnd(), &client);
        FillRect(dc.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
        m_bitmap.Draw(dc.Get(), 0, 0, client.right, client.bottom, RGB(0, 255, 255));
        return 0;
    }

private:
    CMaskedBitmap m_bitmap;
};

class DemoDialog : public CDialog {
public:
    DemoDialog() : CDialog(IDD_TEST_DEMO) {}

protected:
    BOOL OnInitDialog() override
    {
        m_banner.AttachItem(GetHwnd(), IDC_TEST_BANNER);
        m_banner.SetBitmap(IDB_TEST_BANNER);
        m_banner.SetTitle("Updates are available");
        m_banner.SetSubtitle("Choose the updates to download and install. A long subtitle wraps onto a second "
                             "line inside the banner.");
        m_tip.AttachItem(GetHwnd(), IDC_TEST_TIP);
        m_link.AttachItem(GetHwnd(), IDC_TEST_LINK);
        m_link.SetBitmaps(IDB_TEST_TIP, RGB(0, 255, 255), IDB_TEST_TIP, RGB(0, 255, 255));
        m_link.SetColor(CButtonST::kPointerIn, RGB(0, 0, 0), RGB(255, 255, 255));
        m_link.SetURL("http://127.0.0.1/");
        m_link.SetBtnCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // the hand
        return TRUE;
    }

private:
    CSetupBannerCtrl m_banner;
    TipPicture m_tip;
    CButtonST m_link;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    DemoDialog dialog;
    return static_cast<int>(dialog.DoModal());
}
