#include "InterfaceLanguage.h"

unsigned short g_language = kLanguageEnglish;
