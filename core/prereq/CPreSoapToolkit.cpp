#include "CPreSoapToolkit.h"

#include "RegistryChecks.h"

bool CPreSoapToolkit::Detect()
{
    return GetId() == kPrerequisiteSoap30 &&
           RegistryVersionAtLeast("Software\\Microsoft\\MSSOAP\\30", "Version Number", 3, 0, 0, 0);
}
