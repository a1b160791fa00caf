#include "UpdaterIcons.h"

#include "UpdaterResources.h"

namespace {

// Shared icons belong to the system: nothing to free.
LPARAM LoadUpdaterIcon(int metricX, int metricY)
{
    return reinterpret_cast<LPARAM>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_UPDATER), IMAGE_ICON,
                                               GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

} // namespace

void SetUpdaterIcons(HWND window)
{
    SendMessageA(window, WM_SETICON, ICON_BIG, LoadUpdaterIcon(SM_CXICON, SM_CYICON));
    SendMessageA(window, WM_SETICON, ICON_SMALL, LoadUpdaterIcon(SM_CXSMICON, SM_CYSMICON));
}
