#pragma once

// Setup's artwork, drawn by the build (scripts/make-bitmaps.py setup).
#define IDB_BANNER 703
#define IDB_REPAIR 719
#define IDB_REMOVE 720
#define IDB_FOLDER 739
#define IDB_DRIVES 741
#define IDB_UP_FOLDER 742
#define IDB_NEW_FOLDER 743
#define IDB_LINK 747
#define IDB_LANGUAGE 748
#define IDI_SETUP 10099

#define IDD_CHANGE_FOLDER 744

#define IDC_BANNER 1000
#define IDC_LOOK_IN 1001
#define IDC_DRIVES 1002
#define IDC_UP_FOLDER 1003
#define IDC_NEW_FOLDER 1004
#define IDC_FOLDER_LIST 1005
#define IDC_FOLDER_LABEL 1006
#define IDC_FOLDER_NAME 1007

#define IDD_PAGE_DESTINATION 712
#define IDC_DEST_PICTURE 1010
#define IDC_DEST_INTRO 1011
#define IDC_DEST_FOLDER 1012
#define IDC_DEST_CHANGE 1013
