#include "UnavailableWindows.h"

#include "CKWLogFile.h"
#include "EngineMessage.h"

int UnavailableWindows::Unavailable()
{
    LogMessage("The updater's windows are not available in this build");
    CoreMessageBox("This build of the updater runs without windows only. Start it with /silent.",
                   MB_OK | MB_ICONWARNING);
    return IDCANCEL;
}
