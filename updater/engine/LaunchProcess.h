#pragma once

#include <windows.h>

#include <string>

// How long LaunchProcess waits for the started process.
enum LaunchWait {
    kLaunchNoWait = 0,
    kLaunchWaitForExit = 1,
    kLaunchWaitForInputIdle = 2,
};

// Starts a command line in a new console of its own ("Pelmarin", 80 by 25
// cells), shown or hidden, with the given current folder (empty: this
// process's). True when the process was created; the wait's outcome does not
// change that. A program path, when given, is what runs, whatever the
// command line's first word would find in the current folder.
bool LaunchProcess(const std::string& commandLine, LaunchWait wait, bool hidden, const std::string& folder,
                   const std::string& program = std::string());
