#pragma once

#include <atomic>

// Set by the dialogs when the user confirms cancelling; the workers poll
// them between steps and inside transfers and installations.
extern std::atomic<bool> g_downloadCancelled;
extern std::atomic<bool> g_installCancelled;
