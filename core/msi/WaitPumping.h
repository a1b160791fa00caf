#pragma once

#include <windows.h>

// Waits until a process ends while this thread's windows stay alive: every
// wake on input removes one message and dispatches it. Messages posted to the
// thread itself (such as traces) have no window to go to; they are kept and
// posted again once the wait is over, for the thread's own loop. 0 when the
// process ended, else the Windows error.
UINT WaitPumping(HANDLE process);
