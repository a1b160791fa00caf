#pragma once

#include <string>

class CIniFile;

// What the command line asks for beyond the process-wide values it sets.
struct SetupCommandLine {
    bool valid = true;
    bool loggingRequested = false;
    // An existing, writable file named with "log:"; empty for the default.
    std::string logPath;
    bool languageGiven = false;
};

// [Startup] "CmdLine", one blank, then the program's arguments.
std::string EffectiveCommandLine(const CIniFile& ini, const std::string& arguments);

// Parses the options "?", "a[:path]", "l:1033|3084" and "log[:path]", with or
// without a leading slash. Sets g_runKind (usage when the line is invalid),
// g_adminInstallPoint and, for a valid "l", g_language.
SetupCommandLine ParseSetupCommandLine(const std::string& commandLine);
