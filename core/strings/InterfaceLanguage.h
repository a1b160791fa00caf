#pragma once

// The interface language of the whole program, as a primary language id:
// 12 selects French, any other value English. The string tables, the
// engine's messages and boxes and the installation's transform all follow it.
extern unsigned short g_language;

const unsigned short kLanguageEnglish = 9;
const unsigned short kLanguageFrench = 12;
