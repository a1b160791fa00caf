#include "CancelFlags.h"

std::atomic<bool> g_downloadCancelled{false};
std::atomic<bool> g_installCancelled{false};
