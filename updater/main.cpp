#include "CKWUpdaterApp.h"
#include "UpdaterWindows.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    UpdaterWindows windows;
    CKWUpdaterApp app(&windows);
    return app.Run(instance, ArgumentsOfCommandLine(GetCommandLineA()));
}
