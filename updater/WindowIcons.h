#pragma once

#include <windows.h>

// Gives a window the updater's icon in both sizes.
void SetWindowIcons(HWND window);
