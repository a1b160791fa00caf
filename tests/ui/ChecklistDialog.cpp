// A plain dialog with two check box lists and two buttons, for the window
// driver's own test: a system list view with check boxes, and one of ours
// that draws a check box and an image in cells of their own. OK ends the
// program with the checked rows of the first list as bits of its exit code
// (row 0 is bit 0), Cancel with 255.
#include "CDialog.h"
#include "CXListCtrl.h"
#include "ChecklistDialog.h"

#include <commctrl.h>

namespace {

const char* const kRows[][2] = {{"Melvaro 2012", "12 MB"}, {"Samples", "3 MB"}, {"Help", "5 MB"}};

void FillList(HWND list)
{
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const char* const headings[] = {"Name", "Size"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        info.cx = 120;
        info.pszText = const_cast<char*>(headings[column]);
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    }
    for (int row = 0; row < 3; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(kRows[row][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(kRows[row][1]);
        SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
    ListView_SetCheckState(list, 0, TRUE);
}

// Name, check box, image; the second row's box starts checked.
void FillCellList(CXListCtrl& list)
{
    const int formats[] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_CENTER};
    for (int column = 0; column < 3; ++column)
        list.InsertColumn(column, formats[column]);
    for (int row = 0; row < 2; ++row) {
        list.AddRow(nullptr);
        list.SetText(row, 0, kRows[row + 1][0]);
        list.SetCheck(row, 1, row == 1 ? CXListCtrl::kChecked : CXListCtrl::kUnchecked);
        list.SetImage(row, 2, row + 1);
    }
    const int widths[] = {120, 24, 24};
    for (int column = 0; column < 3; ++column)
        list.SetColumnWidth(column, widths[column]);
}

int CheckedRows(HWND list)
{
    int bits = 0;
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
        if (ListView_GetCheckState(list, row))
            bits |= 1 << row;
    return bits;
}

class ChecklistDialog : public CDialog {
public:
    ChecklistDialog() : CDialog(IDD_CHECKLIST) {}

protected:
    BOOL OnInitDialog() override
    {
        FillList(GetItem(IDC_CHECKLIST));
        if (m_cells.Create(GetHwnd(), IDC_CELLLIST))
            FillCellList(m_cells);
        return TRUE;
    }
    void OnOK() override { EndDialog(CheckedRows(GetItem(IDC_CHECKLIST))); }
    void OnCancel() override { EndDialog(255); }

private:
    CXListCtrl m_cells;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ChecklistDialog dialog;
    return static_cast<int>(dialog.DoModal());
}
