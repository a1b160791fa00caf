#pragma once

#include "CControl.h"

#include <string>
#include <vector>

// One entry of the folder list: a subfolder of the listed folder, or a
// folder the person is naming, which exists nowhere yet.
struct CFolderItem {
    std::string name;
    int image = 0;
    bool isNew = false;
};

// The subfolders of one folder, in a list view. A double-click asks the
// parent dialog, with "WindowsMessageChangeFolderTo", to go into the folder;
// only a new folder may be named, and never like one of its siblings.
class CFolderListCtrl : public CControl {
public:
    static const int kFolderImage = 1; // in the drive and folder image strip

    // Lists the subfolders of a folder ending with "\" (none when it does
    // not exist). The folder already listed keeps its list, new names too.
    void Fill(const std::string& folder);
    const std::string& GetListedFolder() const { return m_listed; }
    const std::vector<CFolderItem>& GetItems() const { return m_items; }
    // The name of the selected entry; empty when none is.
    std::string GetSelectedName() const;

    // Appends "New Folder", selects it and starts editing its name.
    void AddNewFolder();
    // Whether an edited name may replace the entry's: the entry must be new
    // and the name not empty nor a sibling's in any letter case (which
    // beeps). An accepted name is kept and the entry is new no more.
    bool AcceptName(int index, const std::string& name);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Append(const CFolderItem& item);
    // Widens or narrows the list's columns to its longest name.
    void FitColumns();

    std::string m_listed;
    std::vector<CFolderItem> m_items;
};
