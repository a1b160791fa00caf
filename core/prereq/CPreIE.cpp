#include "CPreIE.h"

#include "RegistryChecks.h"

bool CPreIE::Detect()
{
    struct Version {
        DWORD a, b, c, d;
    };
    // Indexed by id from IE4.
    static const Version kVersions[] = {
        {4, 0, 0, 0}, {5, 0, 2919, 6307}, {5, 5, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0}, {8, 0, 0, 0},
    };
    int index = GetId() - kPrerequisiteIE4;
    if (index < 0 || index > kPrerequisiteIE8 - kPrerequisiteIE4)
        return false;
    const Version& v = kVersions[index];
    return RegistryVersionAtLeast("Software\\Microsoft\\Internet Explorer", "Version", v.a, v.b, v.c, v.d);
}
