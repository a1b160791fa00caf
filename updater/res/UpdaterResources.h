// The ids of the updater's own resources, shared by the .rc files and the
// code (plain defines: the resource compiler reads this file too).
#pragma once

#define IDI_UPDATER 128
#define IDD_CHECKPROGRESS 139

#define IDB_TIP 132
#define IDB_BANNER 134
#define IDB_COMPLETE 137
#define IDB_STATUS 142

#define IDC_PROGRESS 1011
#define IDC_MESSAGE 1014
#define IDC_ACTION 1032
