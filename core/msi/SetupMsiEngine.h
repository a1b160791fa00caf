#pragma once

#include <windows.h>

// Makes sure the installed Windows Installer engine is at least the version
// in the core property "minimum engine version", running the redistributable
// named by the core properties when it is older and the user agrees. Returns
// a Windows result code; a restart the redistributable asks for sets the
// reboot-needed flag and counts as success.
UINT SetupMsiEngine();

// Engine versions here are major * 100 + minor: 150 is 1.50, 301 is 3.01.
bool IsEngineUpgradeRequired(unsigned minimum);

// Engine 3 and later need NT, and Windows 2000 at least with Service Pack 3.
// Checks a version record (readable says whether it could be read at all):
// 0, or 1603 after telling the user.
UINT CheckPlatformForMsi3(bool readable, const OSVERSIONINFOEXA& version, bool extended);
