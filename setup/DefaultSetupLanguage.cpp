#include "DefaultSetupLanguage.h"

#include "InterfaceLanguage.h"

#include <windows.h>

unsigned short DefaultSetupLanguage()
{
    return PRIMARYLANGID(GetUserDefaultLangID()) == LANG_FRENCH ? kLanguageFrench : kLanguageEnglish;
}
