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

// The main dialog.
#define IDD_UPDATER 102
#define IDC_BANNER 1007
#define IDC_TIP_ICON 1008
#define IDC_UPDATE_PROGRESS 1016
#define IDC_UPDATE_ACTION 1017
#define IDC_UPDATE_LIST 1018
#define IDC_INTRO 1019
#define IDC_TIP_TEXT 1026
#define IDC_TOTAL_SIZE 1027
#define IDC_SERVER_NAME 1033

// The window that waits for the main program to close.
#define IDD_MUSTCLOSE 133
#define IDC_MUSTCLOSE_MESSAGE 1013
#define IDC_MUSTCLOSE_MESSAGE2 1030
#define IDC_IGNORE 1031
#define IDC_MUSTCLOSE_ICON 1034

// The completion window: the picture at its left, its texts and choices.
#define IDD_UPDCOMPLETE 136
#define IDC_COMPLETE_PICTURE 1019
#define IDC_COMPLETE_TITLE 1020
#define IDC_COMPLETE_INTRO 1021
#define IDC_REBOOT_NOW 1022
#define IDC_REBOOT_LATER 1023
#define IDC_LAUNCH_APP 1024
