#pragma once

#include "CXListCtrl.h"

#include <windows.h>

class CUpdateItem;

// The main dialog's list of updates: a check box, subject, release date and
// size per update; updates that a chosen update requires are locked
// (checked, greyed, with a marker); during the download and the
// installation each row shows its status. The parent is told of every
// change of the choice.
class CUpdateListCtrl : public CXListCtrl {
public:
    enum Mode { kModeList = 1, kModeDownload = 2, kModeInstallation = 3 };
    enum RowStatus { kStatusPending = 0, kStatusDone = 1, kStatusFailed = 2, kStatusInProgress = 3 };

    CUpdateListCtrl();
    ~CUpdateListCtrl() override;

    // Attaches to the dialog's list-view item, with its columns and images.
    bool Create(HWND dialog, int id);
    // A repeated mode changes nothing.
    void SetMode(int mode);
    // The update stays the caller's.
    void AddUpdate(CUpdateItem* item);
    // Only in the download and installation modes, for a row in range.
    void SetRowStatus(int row, int status);
    int GetCheckedCount() const;
    // Stops at 0xFFFFFFFF rather than wrapping round.
    DWORD GetCheckedSize() const;
    // Removes the rows whose box is not checked; the number of rows left.
    int RemoveUncheckedRows();

    CUpdateItem* GetUpdate(int row) const { return static_cast<CUpdateItem*>(GetRowData(row)); }

protected:
    void OnCheckBoxClicked(int row, int column, bool checked) override;
    void OnRedrawResumed() override { ResizeColumns(); }

private:
    bool IsChecked(int row) const;
    // A row whose update another chosen update requires cannot be unchecked.
    void LockRow(int row, bool locked);
    void ResizeColumns();

    int m_mode = -1;
    HIMAGELIST m_images = nullptr;
};
