#include "SetupCore.h"

int g_runKind = 0;
std::string g_adminInstallPoint;

SetupCoreState& GetSetupCore()
{
    static SetupCoreState state;
    return state;
}
