#include "CKWUpdateCompleteDlg.h"

#include "AfterUpdateFlags.h"
#include "CResString.h"
#include "FormatText.h"
#include "CancelFlags.h"
#include "RebootSystem.h"
#include "UpdaterIcons.h"
#include "UpdaterResources.h"

namespace {

const char kSection[] = "IDD_UPDCOMPLETE";
const int kStringFinish = 106;
const int kStringCancel = 107;
// How much taller than the dialog's font the title is.
const LONG kTitleGrowth = 4;

int ModeOfTheRun()
{
    if (g_installCancelled)
        return CKWUpdateCompleteDlg::kModeInterrupted;
    return IsRebootPending() ? CKWUpdateCompleteDlg::kModeRestart : CKWUpdateCompleteDlg::kModeSuccess;
}

} // namespace

CKWUpdateCompleteDlg::CKWUpdateCompleteDlg(const std::string& appTitle)
    : CDialog(IDD_UPDCOMPLETE), m_appTitle(appTitle), m_mode(ModeOfTheRun())
{
    OnMessage(WM_ERASEBKGND, [this](WPARAM dc, LPARAM) {
        PaintBackground(reinterpret_cast<HDC>(dc));
    });
}

CKWUpdateCompleteDlg::~CKWUpdateCompleteDlg() = default;

BOOL CKWUpdateCompleteDlg::OnInitDialog()
{
    SetUpdaterIcons(GetHwnd());
    m_whiteBrush.reset(CreateSolidBrush(RGB(255, 255, 255)));
    CreateTitleFont();

    SetWindowTextA(GetHwnd(), CResString(kSection, "caption", "").c_str());
    if (m_titleFont)
        SendMessageA(GetItem(IDC_COMPLETE_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.get()), FALSE);
    SetItemText(IDC_COMPLETE_TITLE, CResString(kSection, "title", ""));
    SetItemText(IDOK, CResString(kStringFinish));
    SetItemText(IDCANCEL, CResString(kStringCancel));
    if (m_mode == kModeSuccess)
        ShowSuccess();
    else if (m_mode == kModeRestart)
        ShowRestart();
    else
        ShowInterrupted();

    CheckRadioButton(GetHwnd(), IDC_REBOOT_NOW, IDC_REBOOT_LATER, IDC_REBOOT_NOW + m_restartChoice);
    CheckDlgButton(GetHwnd(), IDC_LAUNCH_APP, m_launchChoice);
    // As on a wizard's last page, Enter finishes.
    SetFocus(GetItem(IDOK));
    return FALSE;
}

void CKWUpdateCompleteDlg::CreateTitleFont()
{
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(GetHwnd(), WM_GETFONT, 0, 0));
    LOGFONTA font = {};
    if (dialogFont == nullptr || GetObjectA(dialogFont, sizeof font, &font) == 0)
        return;
    // Negative heights count the character without its leading.
    font.lfHeight += font.lfHeight < 0 ? -kTitleGrowth : kTitleGrowth;
    font.lfWeight = FW_BOLD;
    m_titleFont.reset(CreateFontIndirectA(&font));
}

void CKWUpdateCompleteDlg::ShowSuccess()
{
    std::string intro;
    LoadFormattedByKey(intro, kSection, "intro_success_update", m_appTitle.c_str(), CResString(kStringFinish).c_str());
    SetItemText(IDC_COMPLETE_INTRO, intro);
    std::string launch;
    LoadFormattedByKey(launch, kSection, "check_launchapp", m_appTitle.c_str());
    SetItemText(IDC_LAUNCH_APP, DoubleAmpersands(launch));
    ShowItem(IDC_LAUNCH_APP, true);
    EnableItem(IDCANCEL, false);
}

void CKWUpdateCompleteDlg::ShowRestart()
{
    std::string intro;
    LoadFormattedByKey(intro, kSection, "intro_reboot", m_appTitle.c_str());
    SetItemText(IDC_COMPLETE_INTRO, intro);
    SetItemText(IDC_REBOOT_NOW, CResString(kSection, "radio_reboot_yes", ""));
    SetItemText(IDC_REBOOT_LATER, CResString(kSection, "radio_reboot_no", ""));
    ShowItem(IDC_REBOOT_NOW, true);
    ShowItem(IDC_REBOOT_LATER, true);
}

void CKWUpdateCompleteDlg::ShowInterrupted()
{
    // What was installed stays; nothing to choose but to leave.
    std::string first;
    std::string last;
    LoadFormattedByKey(first, kSection, "intro_error1", m_appTitle.c_str());
    LoadFormattedByKey(last, kSection, "intro_error3", CResString(kStringFinish).c_str());
    SetItemText(IDC_COMPLETE_INTRO,
                first + "\r\n\r\n" + CResString(kSection, "intro_error2", "").GetText() + "\r\n\r\n" + last);
}

void CKWUpdateCompleteDlg::OnOK()
{
    m_restartChoice = IsDlgButtonChecked(GetHwnd(), IDC_REBOOT_NOW) == BST_CHECKED ? 0 : 1;
    m_launchChoice = IsDlgButtonChecked(GetHwnd(), IDC_LAUNCH_APP);
    if (m_mode == kModeSuccess) {
        g_launchAfterUpdate = m_launchChoice == BST_CHECKED ? 1 : 0;
        g_restartAfterUpdate = 0;
    } else if (m_mode == kModeRestart) {
        g_launchAfterUpdate = 0;
        g_restartAfterUpdate = m_restartChoice == 0 ? 1 : 0;
    }
    EndDialog(IDOK);
}

void CKWUpdateCompleteDlg::OnCancel()
{
    g_launchAfterUpdate = 0;
    g_restartAfterUpdate = 0;
    EndDialog(IDCANCEL);
}

bool CKWUpdateCompleteDlg::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    const int id = GetDlgCtrlID(control);
    if ((message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN) || id < IDC_COMPLETE_TITLE || id > IDC_LAUNCH_APP ||
        !m_whiteBrush)
        return false;
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    result = reinterpret_cast<LRESULT>(m_whiteBrush.get());
    return true;
}

void CKWUpdateCompleteDlg::PaintBackground(HDC dc) const
{
    RECT client = {};
    GetClientRect(GetHwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT picture = {};
    GetWindowRect(GetItem(IDC_COMPLETE_PICTURE), &picture);
    MapWindowPoints(nullptr, GetHwnd(), reinterpret_cast<POINT*>(&picture), 2);
    RECT page = client;
    page.bottom = picture.bottom;
    if (m_whiteBrush)
        FillRect(dc, &page, m_whiteBrush.get());
}
