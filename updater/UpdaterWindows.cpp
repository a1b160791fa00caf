#include "UpdaterWindows.h"

#include "CCheckProgressDlg.h"

int UpdaterWindows::RunCheckProgress()
{
    CCheckProgressDlg dialog;
    return static_cast<int>(dialog.DoModal());
}
