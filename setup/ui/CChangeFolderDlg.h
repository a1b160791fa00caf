#pragma once

#include "CButtonST.h"
#include "CDialog.h"
#include "CDriveComboBoxEx.h"
#include "CFolderListCtrl.h"
#include "CSetupBannerCtrl.h"

#include <commctrl.h>

#include <string>

// The folder picker behind the destination page's "Change..." button: a
// drive list, the subfolders of the current folder, up-one-level and
// new-folder buttons, and a box to type the folder in. It only chooses a
// path; nothing is created on disk.
class CChangeFolderDlg : public CDialog {
public:
    CChangeFolderDlg(const std::string& folder, HWND parent);
    ~CChangeFolderDlg() override;

    // The chosen folder, ending with "\" once the dialog was shown.
    const std::string& GetFolder() const { return m_currentFolder; }

    // Makes a folder current: its drive, its path in the box, its
    // subfolders in the list.
    void NavigateTo(const std::string& folder);
    // The parent of the current folder; a drive's root stays where it is.
    void UpOneLevel();

protected:
    BOOL OnInitDialog() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ApplyBanner();
    // Takes what the person typed in the folder box; false when it holds a
    // character no folder name can have (they are told).
    bool TakeFolderBox();

    std::string m_currentFolder;
    HIMAGELIST m_images = nullptr; // drives and folders, shared by both lists
    CSetupBannerCtrl m_banner;
    CDriveComboBoxEx m_drives;
    CFolderListCtrl m_list;
    CButtonST m_up;
    CButtonST m_newFolder;
};
