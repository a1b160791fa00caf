#include "CDriveComboBoxEx.h"

#include <algorithm>
#include <vector>

int DriveImage(UINT driveType)
{
    switch (driveType) {
    case DRIVE_REMOVABLE:
        return 3;
    case DRIVE_REMOTE:
        return 4;
    case DRIVE_CDROM:
        return 5;
    default:
        return 2;
    }
}

void CDriveComboBoxEx::Fill(HIMAGELIST images)
{
    SendMessageA(GetHwnd(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageA(GetHwnd(), CB_RESETCONTENT, 0, 0);
    m_drives.clear();
    std::vector<char> strings(GetLogicalDriveStringsA(0, nullptr) + 1);
    DWORD length = GetLogicalDriveStringsA(static_cast<DWORD>(strings.size()), strings.data());
    // "A:\", "C:\"... one after another, each ended by a null.
    for (const char* root = strings.data(); root < strings.data() + length && *root != '\0';
         root += lstrlenA(root) + 1) {
        CDriveItem drive{std::string(root, 2), DriveImage(GetDriveTypeA(root))};
        m_drives.push_back(drive);
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = -1;
        item.pszText = const_cast<char*>(m_drives.back().text.c_str());
        item.iImage = item.iSelectedImage = drive.image;
        SendMessageA(GetHwnd(), CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void CDriveComboBoxEx::SelectDriveOf(const std::string& path)
{
    int found = -1;
    for (size_t i = 0; i < m_drives.size() && found < 0; ++i) {
        if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(),
                           static_cast<int>(std::min<size_t>(path.size(), 2)), m_drives[i].text.c_str(),
                           2) == CSTR_EQUAL)
            found = static_cast<int>(i);
    }
    SendMessageA(GetHwnd(), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

std::string CDriveComboBoxEx::GetSelectedDrive() const
{
    LRESULT index = SendMessageA(GetHwnd(), CB_GETCURSEL, 0, 0);
    return index >= 0 && static_cast<size_t>(index) < m_drives.size() ? m_drives[static_cast<size_t>(index)].text : "";
}
