// The ids of the updater's own resources, shared by the .rc files and the
// code (plain defines: the resource compiler reads this file too).
#pragma once

#define IDI_UPDATER 128
#define IDD_CHECKPROGRESS 139

#define IDC_PROGRESS 1011
#define IDC_MESSAGE 1014
#define IDC_ACTION 1032

// The completion window: the picture at its left, its texts and choices.
#define IDD_UPDCOMPLETE 136
#define IDB_UPDCOMPLETE 137
#define IDC_COMPLETE_PICTURE 1019
#define IDC_COMPLETE_TITLE 1020
#define IDC_COMPLETE_INTRO 1021
#define IDC_REBOOT_NOW 1022
#define IDC_REBOOT_LATER 1023
#define IDC_LAUNCH_APP 1024
