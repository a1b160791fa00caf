#pragma once

#include <string>
#include <vector>

// True on NT when Terminal Services run in multi-user (application server)
// mode; always false on Windows 9x.
bool IsTerminalServer();

// True when a registry multi-string list holds the entry exactly.
bool MultiStringContains(const std::vector<char>& multiString, const std::string& entry);
