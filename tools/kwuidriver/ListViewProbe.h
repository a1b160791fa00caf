#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Reads and works a list-view control of another program. Item structures
// travel through memory allocated in that program, where the control reads
// and writes them.
class ListViewProbe {
public:
    struct Row {
        int checkState; // 0 no check box, 1 unchecked, 2 checked
        int image;
        std::vector<std::string> texts;
    };

    explicit ListViewProbe(HWND list) : m_list(list) {}

    int RowCount() const;
    int ColumnCount() const;
    bool ReadRow(int index, Row& row) const;
    int CheckState(int index) const;
    // Clicks the row's check box the way a mouse does, when it is not already
    // in the wanted state, and waits for the control to take the change.
    bool SetChecked(int index, bool checked) const;

private:
    bool FindCheckBox(int index, POINT& point) const;

    HWND m_list;
};
