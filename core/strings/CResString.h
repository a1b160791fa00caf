#pragma once

#include "InterfaceLanguage.h"

#include <string>

class CStringINIResource;

// Loads both string tables of this program once per process. A program
// without a French table answers French lookups in English.
void EnsureStringTablesLoaded();

// Loads a pair of tables by resource id, with the same fallback.
void LoadStringTablePair(CStringINIResource& english, CStringINIResource& french, int englishId, int frenchId);

// A localized text looked up by section and key in the current language's
// table, or by number in the section "strings".
class CResString {
public:
    CResString();
    CResString(const std::string& section, const std::string& key, const std::string& defaultValue);
    explicit CResString(int number);
    virtual ~CResString() = default;

    const std::string& Lookup(const std::string& section, const std::string& key, const std::string& defaultValue);

    const std::string& GetText() const { return m_text; }
    const char* c_str() const { return m_text.c_str(); }
    operator const std::string&() const { return m_text; }

private:
    std::string m_text;
};

// Formats message number "number" of "strings" with printf-style arguments,
// then applies the French elision.
void LoadFormatted(std::string& target, int number, ...);
// The same for a section and key (no default).
void LoadFormattedByKey(std::string& target, const char* section, const char* key, ...);
