#include "CKWUpdaterApp.h"
#include "UnavailableWindows.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    UnavailableWindows windows;
    CKWUpdaterApp app(&windows);
    return app.Run(instance, ArgumentsOfCommandLine(GetCommandLineA()));
}
