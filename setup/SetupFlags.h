#pragma once

#include <atomic>

// Set when the user cancels the wait dialog or confirms cancelling the
// wizard; every start-up step and every package loop stops on it. Atomic
// because the engine's progress handler reads it.
extern std::atomic<bool> g_cancelRequested;

// Set by the completion page when the user chose to restart now.
extern bool g_rebootScheduled;
