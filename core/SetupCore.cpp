#include "SetupCore.h"

int g_runKind = 0;

SetupCoreState& GetSetupCore()
{
    static SetupCoreState state;
    return state;
}
