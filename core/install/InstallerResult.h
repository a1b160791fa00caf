#pragma once

#include <windows.h>

// The result of an installer call as callers see it: 3010 (restart
// required) becomes 0 and a pending restart; any other error is shown to the
// user once.
UINT ConcludeInstallerResult(UINT result);
