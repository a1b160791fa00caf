#include "AfterUpdateFlags.h"

int g_launchAfterUpdate = 0;
int g_restartAfterUpdate = 0;
