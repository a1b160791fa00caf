#pragma once

#include <windows.h>

// Gives a window of the updater the program's icon, big and small.
void SetUpdaterIcons(HWND window);
