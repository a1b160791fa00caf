#pragma once

#include <windows.h>

// Prepares the engine core once per process: platform, administrator flag,
// the single-instance mutex and the program's own path. 0 on success or when
// already done; 160 when setup only shows its usage; 1618 when another
// installation holds the mutex; else the Windows error.
UINT InitializeSetupCore(HINSTANCE instance, HWND owner);
