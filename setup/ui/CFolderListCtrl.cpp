#include "CFolderListCtrl.h"

#include "RegisteredMessages.h"

#include <commctrl.h>

#include <algorithm>

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool IsSubfolder(const WIN32_FIND_DATAA& entry)
{
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return false;
    std::string name = entry.cFileName;
    return name != "." && name != "..";
}

// The folder's subfolders, in the order the file system gives them.
std::vector<std::string> Subfolders(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (IsSubfolder(entry))
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

} // namespace

void CFolderListCtrl::Fill(const std::string& folder)
{
    // Going to where the list already is keeps it, and the names being made.
    if (SameText(folder, m_listed))
        return;
    ListView_DeleteAllItems(GetHwnd());
    m_items.clear();
    m_listed = folder;
    for (const std::string& name : Subfolders(folder))
        Append({name, kFolderImage, false});
    FitColumns();
}

std::string CFolderListCtrl::GetSelectedName() const
{
    int index = ListView_GetNextItem(GetHwnd(), -1, LVNI_SELECTED);
    return index >= 0 && static_cast<size_t>(index) < m_items.size() ? m_items[static_cast<size_t>(index)].name : "";
}

void CFolderListCtrl::AddNewFolder()
{
    Append({"New Folder", 0, true});
    FitColumns();
    int index = static_cast<int>(m_items.size()) - 1;
    SetFocus(GetHwnd());
    ListView_SetItemState(GetHwnd(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(GetHwnd(), index, FALSE);
    ListView_EditLabel(GetHwnd(), index);
}

bool CFolderListCtrl::AcceptName(int index, const std::string& name)
{
    if (index < 0 || static_cast<size_t>(index) >= m_items.size() || name.empty())
        return false;
    CFolderItem& item = m_items[static_cast<size_t>(index)];
    if (!item.isNew)
        return false;
    for (size_t other = 0; other < m_items.size(); ++other) {
        if (other != static_cast<size_t>(index) && SameText(m_items[other].name, name)) {
            MessageBeep(MB_ICONEXCLAMATION);
            return false;
        }
    }
    item.name = name;
    item.isNew = false;
    FitColumns();
    return true;
}

void CFolderListCtrl::FitColumns()
{
    // The list view keeps the column width of the first names it showed:
    // longer names met later would end in "...".
    int widest = 0;
    for (const CFolderItem& item : m_items)
        widest = std::max(widest, ListView_GetStringWidth(GetHwnd(), item.name.c_str()));
    if (widest == 0)
        return;
    int iconWidth = GetSystemMetrics(SM_CXSMICON);
    int iconHeight = 0;
    HIMAGELIST images = ListView_GetImageList(GetHwnd(), LVSIL_SMALL);
    if (images != nullptr)
        ImageList_GetIconSize(images, &iconWidth, &iconHeight);
    const int kLabelMargins = 12;
    ListView_SetColumnWidth(GetHwnd(), 0, iconWidth + widest + kLabelMargins);
}

void CFolderListCtrl::Append(const CFolderItem& item)
{
    m_items.push_back(item);
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = static_cast<int>(m_items.size()) - 1;
    row.pszText = const_cast<char*>(item.name.c_str());
    row.iImage = item.image;
    ListView_InsertItem(GetHwnd(), &row);
}

LRESULT CFolderListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kReflectBase + WM_NOTIFY)
        return Default(message, wParam, lParam);
    const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
    switch (header.code) {
    case NM_DBLCLK: {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem < 0 || static_cast<size_t>(click.iItem) >= m_items.size())
            return 0;
        // The dialog frees the text.
        auto* folder = new std::string(m_listed + m_items[static_cast<size_t>(click.iItem)].name);
        SendMessageA(GetParent(GetHwnd()), GetRegisteredMessages().changeFolderTo, reinterpret_cast<WPARAM>(folder), 0);
        return 0;
    }
    case LVN_BEGINLABELEDIT: {
        // Existing folders are never renamed from here: TRUE refuses.
        int index = reinterpret_cast<const NMLVDISPINFOA&>(header).item.iItem;
        bool isNew =
            index >= 0 && static_cast<size_t>(index) < m_items.size() && m_items[static_cast<size_t>(index)].isNew;
        return isNew ? FALSE : TRUE;
    }
    case LVN_ENDLABELEDIT: {
        const LVITEMA& item = reinterpret_cast<const NMLVDISPINFOA&>(header).item;
        if (item.pszText == nullptr)
            return FALSE;
        return AcceptName(item.iItem, item.pszText) ? TRUE : FALSE;
    }
    default:
        return 0;
    }
}
