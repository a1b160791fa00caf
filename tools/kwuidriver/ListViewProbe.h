#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

// Reads and works a list-view control of another program. Item structures
// travel through memory allocated in that program, where the control reads
// and writes them.
class ListViewProbe {
public:
    struct Row {
        int checkState; // 0 no check box, 1 unchecked, 2 checked
        std::vector<std::string> texts;
        // Per column; kNoImage where the column shows none.
        std::vector<int> images;
    };

    static constexpr int kNoImage = I_IMAGENONE;

    explicit ListViewProbe(HWND list) : m_list(list) {}

    int RowCount() const;
    int ColumnCount() const;
    bool ReadRow(int index, Row& row) const;
    int CheckState(int index) const;
    // Clicks the row's check box the way a mouse does, when it is not already
    // in the wanted state, and waits for the control to take the change. With
    // a column, the click goes to the middle of that cell, for lists that
    // draw their boxes themselves.
    bool SetChecked(int index, bool checked, int column = -1) const;

private:
    bool FindCheckBox(int index, POINT& point) const;
    bool CellCentre(int index, int column, POINT& point) const;

    HWND m_list;
};
