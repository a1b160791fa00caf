#pragma once

#include <string>

// Opens the setup log as g_logFile and writes its opening lines. Without a
// given path the log is "KW#SETUP.txt" in the user's temporary folder, and
// the previous one there is kept as "KW#SETUP.txt.bak". Returns the path
// logged to; empty when the log could not be started. A log already
// started is kept.
std::string StartSetupLog(const std::string& givenPath, const std::string& appTitle);

// The default log location: "KW#SETUP.txt" in the user's temporary folder.
std::string DefaultSetupLogPath();

// Writes the closing line and ends logging.
void EndSetupLog(const std::string& appTitle);
