#include "CChangeFolderDlg.h"

#include "CResString.h"
#include "RegisteredMessages.h"
#include "SetupResources.h"

#include <memory>
#include <tuple>

namespace {

const char kSection[] = "IDD_CHANGE_FOLDER";
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const int kImageSize = 16;

std::string WithBackslash(const std::string& folder)
{
    return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

bool SameText(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The colour the owner answers to one of the banner colour questions; black
// when it does not answer.
COLORREF AskColour(HWND owner, UINT question)
{
    COLORREF colour = 0;
    if (owner != nullptr)
        SendMessageA(owner, question, reinterpret_cast<WPARAM>(&colour), 0);
    return colour;
}

} // namespace

CChangeFolderDlg::CChangeFolderDlg(const std::string& folder, HWND parent)
    : CDialog(IDD_CHANGE_FOLDER, parent), m_currentFolder(folder)
{
    OnMessage(GetRegisteredMessages().changeFolderTo, [this](WPARAM wParam, LPARAM) {
        std::unique_ptr<std::string> target(reinterpret_cast<std::string*>(wParam));
        if (target != nullptr)
            NavigateTo(*target);
        SetWindowLongPtrA(GetHwnd(), DWLP_MSGRESULT, 1);
    });
}

CChangeFolderDlg::~CChangeFolderDlg()
{
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
}

BOOL CChangeFolderDlg::OnInitDialog()
{
    SetWindowTextA(GetHwnd(), CResString(kSection, "caption", "Change Current Destination Folder").c_str());
    SetItemText(IDC_LOOK_IN, CResString(kSection, "intro", "Look in:"));
    SetItemText(IDC_FOLDER_LABEL, CResString(kSection, "stfolder_name", "Folder name:"));
    SetItemText(IDCANCEL, CResString(107));
    ApplyBanner();

    m_images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 6, 0);
    HANDLE strip =
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_DRIVES), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (strip != nullptr) {
        ImageList_AddMasked(m_images, static_cast<HBITMAP>(strip), kMagenta);
        DeleteObject(strip);
    }
    m_drives.AttachItem(GetHwnd(), IDC_DRIVES);
    m_drives.Fill(m_images);
    m_list.AttachItem(GetHwnd(), IDC_FOLDER_LIST);
    ListView_SetImageList(m_list.GetHwnd(), m_images, LVSIL_SMALL);

    for (auto [button, id, bitmap] : {std::make_tuple(&m_up, IDC_UP_FOLDER, IDB_UP_FOLDER),
                                      std::make_tuple(&m_newFolder, IDC_NEW_FOLDER, IDB_NEW_FOLDER)}) {
        button->AttachItem(GetHwnd(), id);
        button->SetBitmaps(bitmap, kMagenta, bitmap, kMagenta);
        button->SetColor(CButtonST::kPointerIn, GetSysColor(COLOR_BTNTEXT), kWhite);
        button->SetColor(CButtonST::kPointerOut, GetSysColor(COLOR_BTNTEXT), kWhite);
    }
    NavigateTo(m_currentFolder);
    // The list has the focus.
    return FALSE;
}

void CChangeFolderDlg::ApplyBanner()
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    HWND owner = GetParent(GetHwnd());
    m_banner.AttachItem(GetHwnd(), IDC_BANNER);
    m_banner.SetBitmap(IDB_BANNER);
    m_banner.SetTitleColor(AskColour(owner, messages.getSetupBannerTitleColor));
    m_banner.SetSubtitleColor(AskColour(owner, messages.getSetupBannerSubtitleColor));
    m_banner.SetTitle(CResString(kSection, "banner_title", ""));
    m_banner.SetSubtitle(CResString(kSection, "banner_subtitle", ""));
}

void CChangeFolderDlg::NavigateTo(const std::string& folder)
{
    m_currentFolder = folder;
    if (GetHwnd() == nullptr || folder.empty())
        return;
    m_currentFolder = WithBackslash(folder);
    m_drives.SelectDriveOf(m_currentFolder);
    SetItemText(IDC_FOLDER_NAME, m_currentFolder);
    m_list.Fill(m_currentFolder);
    SetFocus(m_list.GetHwnd());
}

void CChangeFolderDlg::UpOneLevel()
{
    std::string folder = m_currentFolder;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    size_t last = folder.rfind('\\');
    // At a drive's root nothing is left above: stay there.
    if (last != std::string::npos)
        NavigateTo(folder.substr(0, last));
}

bool CChangeFolderDlg::TakeFolderBox()
{
    std::string text = GetItemText(IDC_FOLDER_NAME);
    if (!text.empty() && text.find_first_of("/*?\"<>|") != std::string::npos) {
        MessageBox(CResString(205), MB_OK | MB_ICONEXCLAMATION);
        SetItemText(IDC_FOLDER_NAME, m_currentFolder);
        HWND box = GetItem(IDC_FOLDER_NAME);
        SetFocus(box);
        SendMessageA(box, EM_SETSEL, m_currentFolder.size(), m_currentFolder.size());
        return false;
    }
    if (!text.empty() && !SameText(WithBackslash(text), m_currentFolder))
        NavigateTo(text);
    return true;
}

void CChangeFolderDlg::OnOK()
{
    // A folder typed but not yet taken (Enter pressed in the box, or text
    // put there without the box ever losing the focus) counts as well.
    if (!TakeFolderBox())
        return;
    EndDialog(IDOK);
}

void CChangeFolderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_DRIVES:
        if (HIWORD(wParam) == CBN_SELCHANGE)
            NavigateTo(m_drives.GetSelectedDrive());
        return;
    case IDC_UP_FOLDER:
        UpOneLevel();
        return;
    case IDC_NEW_FOLDER:
        m_list.AddNewFolder();
        return;
    case IDC_FOLDER_NAME:
        if (HIWORD(wParam) == EN_KILLFOCUS)
            TakeFolderBox();
        return;
    default:
        CDialog::OnCommand(wParam, lParam);
    }
}

bool CChangeFolderDlg::OnControlMessage(HWND control, UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (control != m_list.GetHwnd() || message != WM_NOTIFY)
        return false;
    const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0)
            SetItemText(IDC_FOLDER_NAME, m_currentFolder + m_list.GetSelectedName());
        result = 0;
        return true;
    }
    if (header.code == LVN_ENDLABELEDIT) {
        // The list decides; a name it accepts is the folder chosen.
        result = SendMessageA(control, kReflectBase + WM_NOTIFY, 0, lParam);
        if (result != FALSE)
            SetItemText(IDC_FOLDER_NAME, m_currentFolder + m_list.GetSelectedName());
        return true;
    }
    return false;
}
