#include "SetupFlags.h"

std::atomic<bool> g_cancelRequested{false};
bool g_rebootScheduled = false;
