// A plain dialog with a check box list and two buttons, for the window
// driver's own test: OK ends the program with the checked rows as bits of
// its exit code (row 0 is bit 0), Cancel with 255.
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

int CheckedRows(HWND list)
{
    int bits = 0;
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
        if (ListView_GetCheckState(list, row))
            bits |= 1 << row;
    return bits;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillList(GetDlgItem(dialog, IDC_CHECKLIST));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            EndDialog(dialog, CheckedRows(GetDlgItem(dialog, IDC_CHECKLIST)));
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 255);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CHECKLIST), nullptr, DialogProc, 0));
}
