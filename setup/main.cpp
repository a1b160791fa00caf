#include "CKWAutorunApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CKWAutorunApp app;
    return app.Run(instance, ArgumentsOfCommandLine(GetCommandLineA()));
}
