#pragma once

// True on Windows 9x; on NT, true when the process's token belongs to the
// built-in Administrators group.
bool IsAdministrator();

// How NT older than 5.0 answers (the token's group list) and how later
// versions answer (CheckTokenMembership); both work on any NT, so both are
// tested on the machine at hand.
bool IsAdministratorByTokenGroups();
bool IsAdministratorByMembership();
