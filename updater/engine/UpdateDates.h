#pragma once

#include <string>

// Records today's local date ("%d/%m/%Y") as a text value under the
// per-user updates state key, creating the key when missing. A registry
// failure is logged and gives false.
bool WriteUpdateDate(const std::string& valueName);

// The value names the check and the installation record.
extern const char* const kDateLastCheck;
extern const char* const kDateLast;
