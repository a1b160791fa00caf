#pragma once

#define IDD_TEST_DIALOG 100
#define IDC_TEST_TEXT 1000
#define IDD_TEST_PAGE1 101
#define IDD_TEST_PAGE2 102
