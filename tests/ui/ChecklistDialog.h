#pragma once

#include <windows.h>

#define IDD_CHECKLIST 100
#define IDC_CHECKLIST 101
#define IDC_CELLLIST 102
