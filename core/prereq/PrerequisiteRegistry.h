#pragma once

#include "IPrerequisite.h"

#include <vector>

class IInstallable;

// The process-wide prerequisites: one object per id, created on first use and
// kept until the process ends.

// The prerequisite of the id, created with its class on first use; null for
// ids without an object (outside 0 to 16).
IPrerequisite* GetPrerequisite(int id);
// The prerequisite of the id if one was created; never creates.
IPrerequisite* FindPrerequisite(int id);
// Destroys every prerequisite, before the installables they refer to go.
void ClearPrerequisites();
// Every created prerequisite, by increasing id.
std::vector<IPrerequisite*> RegisteredPrerequisites();

// What an executable installable answers through the prerequisite it installs
// (the first by id that names it as owner): 1 installed, 0 missing, -2 when it
// installs no prerequisite.
int InstallStateThroughPrerequisite(const IInstallable* installable);
// Whether the prerequisite it installs is needed; false when there is none.
bool IsWantedThroughPrerequisite(const IInstallable* installable);
