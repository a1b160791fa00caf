#pragma once

// True when an installation asked for a restart; on Windows 9x also when a
// rename list waits in WinInit.Ini, which keeps it true from then on.
bool IsRebootPending();

// Asks Windows to restart when the core is initialised and a restart is
// pending. True when Windows accepted the request.
bool RebootSystem();
