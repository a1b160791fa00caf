#pragma once

#include <windows.h>

#include <string>

// Running Microsoft's engine redistributable, the steps of SetupMsiEngine
// that follow the user's consent. Versions are major * 100 + minor.

// Engine 3.01 has its own redistributable with its own options.
const unsigned kEngineVersion301 = 301;

// Finds the redistributable by its path relative to the program's folder
// and runs it; a result code, after telling the user about a failure.
UINT ResolveRedistributable(const std::string& programPath, const std::string& relativePath, unsigned minimum);

// Checks the redistributable's own version, runs it and reports the result.
UINT ExecuteUpgradeMsi(const std::string& path, unsigned minimum);

// Redistributable file versions are ten majors ahead of the engine they
// install: 12.0 installs 2.0, 13.1 installs 3.01.
bool IsRedistributableVersionOk(const std::string& path, unsigned minimum);

// Runs the redistributable with the options of its engine version, telling
// it not to restart Windows, and waits for it, keeping this thread's windows
// alive. Its exit code, or the
// Windows error when it could not be run.
UINT RunRedistributable(const std::string& path, unsigned minimum);
