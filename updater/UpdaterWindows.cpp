#include "UpdaterWindows.h"

#include "CCheckProgressDlg.h"
#include "CKWUpdaterDlg.h"

int UpdaterWindows::RunCheckProgress()
{
    CCheckProgressDlg dialog;
    return static_cast<int>(dialog.DoModal());
}

int UpdaterWindows::RunUpdater()
{
    CKWUpdaterDlg dialog;
    return static_cast<int>(dialog.DoModal());
}
