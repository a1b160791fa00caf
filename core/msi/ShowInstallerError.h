#pragma once

#include <windows.h>

#include <string>

// Shows the message for an installer result code, once, in an error box.
// Codes that need no message (cancelled, fatal error already shown, restart)
// show nothing.
void ShowInstallerError(UINT code);

// The text ShowInstallerError shows for a code; empty when it shows nothing.
std::string InstallerErrorText(UINT code);
