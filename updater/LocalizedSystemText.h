#pragma once

#include <windows.h>

#include <string>

// The system's text for a Windows error in the interface language, else in
// US English, without the line break the system ends it with; empty when the
// system has none.
std::string LocalizedSystemText(DWORD code);

// The line a window shows for a failed operation: "%s (Err=%d)." with the
// text, or "Operation failed. System error: %d." when there is no text.
std::string FailureWithCode(const std::string& text, DWORD code);
