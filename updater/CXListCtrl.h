#pragma once

#include "CControl.h"
#include "CXHeaderCtrl.h"

#include <commctrl.h>

#include <string>
#include <vector>

// A report-style list view whose cells each may hold a check box, an image
// of the list's small image list and a text, with a tooltip per cell and
// rows that can be disabled (drawn greyed, their boxes locked). It draws
// its cells itself and keeps the real control's items in step, so another
// program reads the texts as sub-item texts, the images as sub-item images
// and a row's check box as the item's state image (1 off, 2 on, 0 none).
class CXListCtrl : public CControl {
public:
    enum CheckState { kNoCheckBox = 0, kUnchecked = 1, kChecked = 2 };
    static constexpr int kNoImage = I_IMAGENONE;

    CXListCtrl() = default;
    ~CXListCtrl() override;

    // Attaches to the dialog's list-view item and prepares it.
    bool Create(HWND dialog, int id);

    // format: LVCFMT_LEFT, LVCFMT_CENTER or LVCFMT_RIGHT, also for column 0.
    void InsertColumn(int column, int format);
    int GetColumnCount() const { return static_cast<int>(m_formats.size()); }
    void SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    // The width the column needs to show every cell whole.
    int GetContentWidth(int column) const;

    // Appends a row of empty cells; returns its index.
    int AddRow(void* data);
    void DeleteRow(int row);
    void DeleteAllRows();
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    void* GetRowData(int row) const { return m_rows[row].data; }

    void SetText(int row, int column, const std::string& text);
    const std::string& GetText(int row, int column) const { return m_rows[row].cells[column].text; }
    void SetImage(int row, int column, int image);
    int GetImage(int row, int column) const { return m_rows[row].cells[column].image; }
    void SetCheck(int row, int column, CheckState state);
    CheckState GetCheck(int row, int column) const { return m_rows[row].cells[column].check; }
    void SetToolTip(int row, int column, const std::string& text) { m_rows[row].cells[column].tip = text; }
    const std::string& GetToolTip(int row, int column) const { return m_rows[row].cells[column].tip; }
    // A disabled row is drawn greyed and its check boxes do not change; it
    // is redrawn at once.
    void EnableRow(int row, bool enabled);
    bool IsRowEnabled(int row) const { return m_rows[row].enabled; }

    // While redrawing is off, rows may be added in bulk; switching it on
    // again calls OnRedrawResumed once.
    void SetRedraw(bool redraw);
    bool IsRedrawing() const { return m_redrawing; }

protected:
    // After a click changed a check box (the parent has been told already).
    virtual void OnCheckBoxClicked(int /*row*/, int /*column*/, bool /*checked*/) {}
    virtual void OnRedrawResumed() {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_redrawing = true;
    struct Cell {
        std::string text;
        int image = kNoImage;
        CheckState check = kNoCheckBox;
        std::string tip;
    };
    struct Row {
        std::vector<Cell> cells;
        bool enabled = true;
        void* data = nullptr;
    };

    LRESULT OnNotify(const NMHDR& header);
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw);
    void DrawCell(HDC dc, int row, int column) const;
    void DrawEmptyText() const;
    void OnMouseMove(LPARAM point);
    void ClickCell(int row, int column);
    bool CellAt(POINT point, int& row, int& column) const;
    RECT CellRect(int row, int column) const;
    int ContentWidth(HDC dc, const Cell& cell) const;
    // The item's state image shows the first check box of the row.
    void MirrorCheckState(int row) const;
    void RedrawRow(int row) const;

    std::vector<int> m_formats;
    std::vector<Row> m_rows;
    CXHeaderCtrl m_header;
    HWND m_toolTip = nullptr;
    int m_tipRow = -1;
    int m_tipColumn = -1;
};
