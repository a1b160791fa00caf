#pragma once

#include <windows.h>

#include <string>

// The system's own text for a Windows error code; empty when it has none.
std::string GetSystemErrorText(DWORD code);
// The same in a given language; empty when the system has no text in it.
std::string GetSystemErrorText(DWORD code, LANGID language);

// Shows the system text for a code in a message box captioned with the
// application title (warning icon unless the code is 0) and traces it.
void ShowSystemMessage(DWORD code);

// The calling thread's last error, read right after a call failed; 1627
// (function failed) when the call left none, so a failure never reads as
// success.
UINT LastErrorCode();
