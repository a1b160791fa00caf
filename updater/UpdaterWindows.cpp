#include "UpdaterWindows.h"

#include "CCheckProgressDlg.h"
#include "CKWUpdateCompleteDlg.h"
#include "CKWUpdaterDlg.h"
#include "CKWUpdaterMinGUIDlg.h"
#include "ProductDescriptor.h"

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

int UpdaterWindows::RunMinimal()
{
    CKWUpdaterMinGUIDlg dialog;
    return static_cast<int>(dialog.DoModal());
}

int UpdaterWindows::RunCompletion()
{
    CKWUpdateCompleteDlg dialog(GetProductDescriptor().AppTitle);
    return static_cast<int>(dialog.DoModal());
}
