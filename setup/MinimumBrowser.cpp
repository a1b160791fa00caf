#include "MinimumBrowser.h"

#include "CIniFile.h"
#include "CResString.h"
#include "PrerequisiteRegistry.h"

bool CheckMinimumBrowser(const CIniFile& ini, std::string& message)
{
    message.clear();
    int id = PrerequisiteFromName(ini.GetString("Properties", "MINIMUM_IE", "IE4"));
    IPrerequisite* browser = GetPrerequisite(id < 0 ? kPrerequisiteIE4 : id);
    if (browser == nullptr)
        return false;
    if (browser->IsInstalled())
        return true;
    LoadFormatted(message, 201, browser->GetDisplayName().c_str());
    return false;
}
