#include "CLanguageDlg.h"

#include "CResString.h"
#include "InterfaceLanguage.h"
#include "SetupResources.h"

namespace {

const char kSection[] = "IDD_SPLASH";

const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kNameColour = RGB(64, 64, 64);
const COLORREF kCloseGround = RGB(50, 166, 109); // the picture's top edge

const int kStandardDpi = 96;

// Where the controls sit on the background picture, in its pixels: the
// title above the two white cards, each card holding a flag button with the
// language's name below it, and the close button in the top-right corner.
struct Placement {
    int id;
    RECT area;
};
const Placement kPlacements[] = {
    {IDC_LANGUAGE_TITLE, {0, 100, 360, 120}},         {IDC_LANGUAGE_ENGLISH, {44, 128, 156, 190}},
    {IDC_LANGUAGE_FRENCH, {204, 128, 316, 190}},      {IDC_LANGUAGE_ENGLISH_NAME, {34, 190, 166, 204}},
    {IDC_LANGUAGE_FRENCH_NAME, {194, 190, 326, 204}}, {IDCANCEL, {337, 4, 356, 23}},
};

} // namespace

CLanguageDlg::CLanguageDlg(HWND parent) : CDialog(IDD_SPLASH, parent)
{
    OnMessage(WM_ERASEBKGND, [this](WPARAM dc, LPARAM) {
        EraseBackground(reinterpret_cast<HDC>(dc));
        SetWindowLongPtrA(GetHwnd(), DWLP_MSGRESULT, TRUE);
    });
}

BOOL CLanguageDlg::OnInitDialog()
{
    std::string caption = CResString(kSection, "caption", "Select language");
    SetWindowTextA(GetHwnd(), caption.c_str());
    SetItemText(IDC_LANGUAGE_TITLE, caption);

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(GetHwnd(), GWLP_HINSTANCE));
    m_background.Reset(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_LANGUAGE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info = {};
    if (m_background.Get() != nullptr)
        GetObjectA(m_background.Get(), sizeof info, &info);
    LayOut(SIZE{info.bmWidth, info.bmHeight});

    auto font = reinterpret_cast<HFONT>(SendMessageA(GetHwnd(), WM_GETFONT, 0, 0));
    LOGFONTA bold = {};
    if (font != nullptr && GetObjectA(font, sizeof bold, &bold) != 0) {
        bold.lfWeight = FW_BOLD;
        bold.lfHeight = bold.lfHeight * 3 / 2;
        m_titleFont.Reset(CreateFontIndirectA(&bold));
        SendMessageA(GetItem(IDC_LANGUAGE_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.Get()), FALSE);
    }

    const struct {
        CButtonST& button;
        int id;
        UINT away;
        UINT over;
        COLORREF ground;
    } buttons[] = {
        {m_english, IDC_LANGUAGE_ENGLISH, IDB_LANGUAGE_ENGLISH, IDB_LANGUAGE_ENGLISH_IN, kWhite},
        {m_french, IDC_LANGUAGE_FRENCH, IDB_LANGUAGE_FRENCH, IDB_LANGUAGE_FRENCH_IN, kWhite},
        {m_close, IDCANCEL, IDB_LANGUAGE_CLOSE, IDB_LANGUAGE_CLOSE_IN, kCloseGround},
    };
    for (const auto& b : buttons) {
        b.button.AttachItem(GetHwnd(), b.id);
        b.button.SetBitmaps(b.over, kCyan, b.away, kCyan);
        b.button.SetColor(CButtonST::kPointerIn, kNameColour, b.ground);
        b.button.SetColor(CButtonST::kPointerOut, kNameColour, b.ground);
    }
    HWND current = GetItem(g_language == kLanguageFrench ? IDC_LANGUAGE_FRENCH : IDC_LANGUAGE_ENGLISH);
    SendMessageA(GetHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(current), TRUE);
    return FALSE;
}

void CLanguageDlg::LayOut(SIZE picture)
{
    if (picture.cx <= 0 || picture.cy <= 0)
        return;
    // The picture is drawn pixel for pixel at the usual resolution; elsewhere
    // the window grows with the resolution and the picture is stretched to it.
    HDC screen = GetDC(GetHwnd());
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(GetHwnd(), screen);
    SIZE client = {MulDiv(picture.cx, dpiX, kStandardDpi), MulDiv(picture.cy, dpiY, kStandardDpi)};

    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(GetHwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(GetHwnd(), GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(GetHwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    for (const Placement& p : kPlacements) {
        int left = MulDiv(p.area.left, client.cx, picture.cx);
        int top = MulDiv(p.area.top, client.cy, picture.cy);
        int right = MulDiv(p.area.right, client.cx, picture.cx);
        int bottom = MulDiv(p.area.bottom, client.cy, picture.cy);
        // The close button keeps its size, anchored to the top-right corner.
        if (p.id == IDCANCEL) {
            int size = p.area.right - p.area.left;
            left = right - size;
            bottom = top + size;
        }
        SetWindowPos(GetItem(p.id), nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CLanguageDlg::EraseBackground(HDC dc) const
{
    RECT client;
    GetClientRect(GetHwnd(), &client);
    BITMAP info = {};
    if (m_background.Get() == nullptr || GetObjectA(m_background.Get(), sizeof info, &info) == 0) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    KwMemoryDC source(dc);
    KwSelection selection(source.Get(), m_background.Get());
    if (client.right == info.bmWidth && client.bottom == info.bmHeight) {
        BitBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

void CLanguageDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_LANGUAGE_ENGLISH:
        g_language = kLanguageEnglish;
        EndDialog(IDOK);
        break;
    case IDC_LANGUAGE_FRENCH:
        g_language = kLanguageFrench;
        EndDialog(IDOK);
        break;
    default:
        CDialog::OnCommand(wParam, lParam);
        break;
    }
}

bool CLanguageDlg::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_CTLCOLORSTATIC)
        return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    if (GetDlgCtrlID(control) == IDC_LANGUAGE_TITLE) {
        // White on the picture, which shows through.
        SetTextColor(dc, kWhite);
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    }
    // The names sit on the white cards.
    SetTextColor(dc, kNameColour);
    SetBkColor(dc, kWhite);
    result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    return true;
}
