#include "WindowIcons.h"

#include "UpdaterResources.h"

void SetWindowIcons(HWND window)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Shared icons belong to the system: nothing to free.
    auto icon = [instance](int metricX, int metricY) {
        return reinterpret_cast<LPARAM>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_UPDATER), IMAGE_ICON,
                                                   GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
    };
    SendMessageA(window, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
    SendMessageA(window, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));
}
