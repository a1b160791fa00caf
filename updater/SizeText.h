#pragma once

#include <windows.h>

#include <string>

// A file size for people, in the largest unit that keeps it above one:
// "1024 bytes", "1 Kb", "1.5 Mb", "3 Gb" (units from the localized table).
std::string FormatSize(DWORD bytes);
