#pragma once

#include <windows.h>

#include <string>

// When on, every traced text is also shown in a message box.
extern bool g_showDebugMessages;

// The installer core's diagnostic channel: the text goes to the debugger
// output and is posted to the calling thread as the registered message
// "WindowsMessageWriteToLog" (wParam: heap text owned by the receiver,
// lParam: 0). A thread without a message queue gets nothing posted. Returns
// 0 when the text could not be allocated, else 1.
int TraceMessage(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// The registered id of "WindowsMessageWriteToLog".
UINT WriteToLogMessageId();

// Takes ownership of the text carried by a "WindowsMessageWriteToLog"
// message and frees it; message loops without a receiver call it too, so no
// traced text leaks.
std::string TakeTracedText(WPARAM text);
