#include "CDialog.h"
#include "CMaskedBitmap.h"
#include "CSetupBannerCtrl.h"
#include "ControlsTestResources.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kGround = RGB(0, 128, 0); // in none of the artwork
const COLORREF kRed = RGB(255, 0, 0);

// A 32-bit picture in memory to draw into and read back.
class Canvas {
public:
    Canvas(int width, int height) : m_dc(nullptr)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_selection = std::make_unique<KwSelection>(m_dc.Get(), m_bitmap.Get());
    }
    HDC Get() const { return m_dc.Get(); }
    void Fill(COLORREF color) const
    {
        KwGdiObject<HBRUSH> brush(CreateSolidBrush(color));
        RECT all = {0, 0, 4096, 4096};
        FillRect(m_dc.Get(), &all, brush.Get());
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc.Get(), x, y); }

private:
    KwMemoryDC m_dc;
    KwGdiObject<HBITMAP> m_bitmap;
    std::unique_ptr<KwSelection> m_selection;
};

bool Reddish(COLORREF color)
{
    return GetRValue(color) > GetGValue(color) + 80 && GetRValue(color) > GetBValue(color) + 80;
}

// Shows a banner with a long red subtitle and paints it into a canvas.
class BannerDialog : public CDialog {
public:
    BannerDialog() : CDialog(IDD_TEST_BANNER) {}

    std::unique_ptr<Canvas> picture;
    RECT client = {};
    int lineHeight = 0;

protected:
    BOOL OnInitDialog() override
    {
        m_banner.AttachItem(GetHwnd(), IDC_TEST_BANNER);
        m_banner.SetBitmap(IDB_TEST_BANNER);
        m_banner.SetTitle("Updates are available");
        m_banner.SetSubtitleColor(kRed);
        m_banner.SetSubtitle("Choose the updates you want and click Download; the chosen updates are downloaded "
                             "first and installed afterwards.");
        GetClientRect(m_banner.GetHwnd(), &client);
        picture = std::make_unique<Canvas>(client.right, client.bottom);
        SendMessageA(m_banner.GetHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture->Get()), PRF_CLIENT);
        KwSelection font(picture->Get(), reinterpret_cast<HFONT>(SendMessageA(GetHwnd(), WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(picture->Get(), &metrics);
        lineHeight = metrics.tmHeight;
        EndDialog(IDOK);
        return TRUE;
    }

private:
    CSetupBannerCtrl m_banner;
};

} // namespace

TEST(MaskedBitmapTest, LeavesTheTransparentColourAndDrawsTheRestUnstretchedAndClipped)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CMaskedBitmap tip;
    ASSERT_TRUE(tip.Load(instance, IDB_TEST_TIP));
    SIZE size = tip.GetSize();
    ASSERT_EQ(32, size.cx);

    Canvas reference(size.cx, size.cy);
    KwGdiObject<HBITMAP> original(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_TEST_TIP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    {
        KwMemoryDC source(reference.Get());
        KwSelection selection(source.Get(), original.Get());
        BitBlt(reference.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }

    // Room to spare must not stretch the picture; too little clips it.
    const int x = 5, y = 7;
    for (int room : {50, 20}) {
        Canvas canvas(64, 64);
        canvas.Fill(kGround);
        tip.Draw(canvas.Get(), x, y, room, room, kCyan);
        int transparent = 0;
        for (int py = 0; py < 64; ++py) {
            for (int px = 0; px < 64; ++px) {
                bool inside = px >= x && py >= y && px < x + std::min<int>(room, size.cx) &&
                              py < y + std::min<int>(room, size.cy);
                COLORREF source = inside ? reference.At(px - x, py - y) : kGround;
                transparent += inside && source == kCyan;
                COLORREF expected = source == kCyan ? kGround : source;
                ASSERT_EQ(expected, canvas.At(px, py)) << "room " << room << " at " << px << "," << py;
            }
        }
        EXPECT_GT(transparent, 0);
    }
}

TEST(BannerTest, LongSubtitleWrapsInsideTheTextRectangleBesideTheBitmap)
{
    BannerDialog dialog;
    ASSERT_EQ(IDOK, dialog.DoModal());
    ASSERT_TRUE(dialog.picture);
    CMaskedBitmap art;
    ASSERT_TRUE(art.Load(GetModuleHandleA(nullptr), IDB_TEST_BANNER));
    int textRight = dialog.client.right - MulDiv(art.GetSize().cx, 3, 10);
    int lowest = -1;
    for (int y = 0; y < dialog.client.bottom; ++y) {
        for (int x = 0; x < dialog.client.right; ++x) {
            if (!Reddish(dialog.picture->At(x, y)))
                continue;
            ASSERT_LT(x, textRight) << "subtitle drawn over the bitmap at " << x << "," << y;
            lowest = y;
        }
    }
    // The first line starts a sixth and a twelfth of an inch down.
    int secondLine = MulDiv(GetDeviceCaps(dialog.picture->Get(), LOGPIXELSY), 3, 12) + dialog.lineHeight;
    EXPECT_GE(lowest, secondLine);
}
