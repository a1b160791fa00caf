#include "ListViewProbe.h"

#include "RemoteMemory.h"
#include "WindowQuery.h"

#include <commctrl.h>

namespace {

const int kTextMax = 1024;
// How far right of the row's left edge the check box may start.
const int kCheckBoxSearchWidth = 64;
const DWORD kCheckTimeoutMs = 3000;

} // namespace

int ListViewProbe::RowCount() const
{
    return static_cast<int>(AskWindow(m_list, LVM_GETITEMCOUNT, 0, 0));
}

int ListViewProbe::ColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(AskWindow(m_list, LVM_GETHEADER, 0, 0));
    const int count = header != nullptr ? static_cast<int>(AskWindow(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    return count > 0 ? count : 1;
}

int ListViewProbe::CheckState(int index) const
{
    return static_cast<int>((AskWindow(m_list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >>
                            12);
}

bool ListViewProbe::ReadRow(int index, Row& row) const
{
    RemoteMemory remote(m_list, sizeof(LVITEMA) + kTextMax);
    if (!remote.IsValid())
        return false;
    row.checkState = CheckState(index);
    row.texts.clear();
    const int columns = ColumnCount();
    for (int column = 0; column < columns; ++column) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = static_cast<char*>(remote.At(sizeof item));
        item.cchTextMax = kTextMax;
        if (!remote.Write(0, &item, sizeof item))
            return false;
        const int length = static_cast<int>(AskWindow(m_list, LVM_GETITEMTEXTA, index, remote.AsParam()));
        std::string text(length > 0 && length < kTextMax ? length : 0, '\0');
        if (!text.empty() && !remote.Read(sizeof item, &text[0], text.size()))
            return false;
        row.texts.push_back(text);
    }
    // Without sub-item images a list keeps an image for its first column only.
    const bool subItemImages = (AskWindow(m_list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_SUBITEMIMAGES) != 0;
    row.images.assign(columns, kNoImage);
    for (int column = 0; column < (subItemImages ? columns : 1); ++column) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        item.iSubItem = column;
        if (!remote.Write(0, &item, sizeof item) || !AskWindow(m_list, LVM_GETITEMA, 0, remote.AsParam()) ||
            !remote.Read(0, &item, sizeof item))
            return false;
        row.images[column] = item.iImage;
    }
    return true;
}

// Asks the control itself where the row's check box is: walks right from the
// row's left edge along its middle until the control's hit test says "state
// icon", and takes the middle of that stretch.
bool ListViewProbe::FindCheckBox(int index, POINT& point) const
{
    RemoteMemory remote(m_list, sizeof(LVHITTESTINFO));
    if (!remote.IsValid())
        return false;
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (!remote.Write(0, &bounds, sizeof bounds) || !AskWindow(m_list, LVM_GETITEMRECT, index, remote.AsParam()) ||
        !remote.Read(0, &bounds, sizeof bounds))
        return false;
    const int y = (bounds.top + bounds.bottom) / 2;
    int first = -1;
    int last = -1;
    for (int x = bounds.left; x < bounds.left + kCheckBoxSearchWidth; ++x) {
        LVHITTESTINFO hit = {};
        hit.pt = {x, y};
        if (!remote.Write(0, &hit, sizeof hit))
            return false;
        AskWindow(m_list, LVM_HITTEST, 0, remote.AsParam());
        if (!remote.Read(0, &hit, sizeof hit))
            return false;
        const bool onBox = hit.iItem == index && (hit.flags & LVHT_ONITEMSTATEICON) != 0;
        if (onBox) {
            if (first < 0)
                first = x;
            last = x;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0)
        return false;
    point = {(first + last) / 2, y};
    return true;
}

// The middle of a cell, by the control's own measure; the first column's
// bounds are the whole row's, so its width ends it.
bool ListViewProbe::CellCentre(int index, int column, POINT& point) const
{
    if (column < 0 || column >= ColumnCount())
        return false;
    RemoteMemory remote(m_list, sizeof(RECT));
    RECT cell = {};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    if (!remote.IsValid() || !remote.Write(0, &cell, sizeof cell) ||
        !AskWindow(m_list, LVM_GETSUBITEMRECT, index, remote.AsParam()) || !remote.Read(0, &cell, sizeof cell))
        return false;
    if (column == 0)
        cell.right = cell.left + static_cast<int>(AskWindow(m_list, LVM_GETCOLUMNWIDTH, 0, 0));
    point = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    return true;
}

bool ListViewProbe::SetChecked(int index, bool checked, int column) const
{
    const int wanted = checked ? 2 : 1;
    if (CheckState(index) == wanted)
        return true;
    POINT point = {};
    if (!(column >= 0 ? CellCentre(index, column, point) : FindCheckBox(index, point)))
        return false;
    // Posted, not sent: the control may track the mouse in a loop of its own.
    const LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageA(m_list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(m_list, WM_LBUTTONUP, 0, where);
    const DWORD start = GetTickCount();
    while (CheckState(index) != wanted) {
        if (GetTickCount() - start >= kCheckTimeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}
