#pragma once

// French when the user's default language is French, else English.
unsigned short DefaultSetupLanguage();
