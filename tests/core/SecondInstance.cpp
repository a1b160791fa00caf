// A second program that initialises the engine core while the tests hold
// it: exits with what InitializeSetupCore returned.
#include "InitializeSetupCore.h"

int main()
{
    return static_cast<int>(InitializeSetupCore(GetModuleHandleA(nullptr), nullptr));
}
