#include "CResString.h"

#include "ApplyElision.h"
#include "CStringINIResource.h"
#include "FormatText.h"

#include <windows.h>

#include <cstdarg>

namespace {

bool HasStringTable(int id)
{
    return FindResourceA(GetModuleHandleA(nullptr), ("#" + std::to_string(id)).c_str(), "STRINGINI") != nullptr;
}

} // namespace

void LoadStringTablePair(CStringINIResource& english, CStringINIResource& french, int englishId, int frenchId)
{
    english.Load(englishId);
    french.Load(frenchId);
    if (french.GetText().empty())
        french.TakeOver(english);
}

void EnsureStringTablesLoaded()
{
    // Each program carries its tables under its own ids; whichever pair the
    // module holds is the one to use.
    static const bool loaded = [] {
        if (HasStringTable(kSetupEnglishTableId))
            LoadStringTablePair(EnglishStringTable(), FrenchStringTable(), kSetupEnglishTableId, kSetupFrenchTableId);
        else
            LoadStringTablePair(EnglishStringTable(), FrenchStringTable(), kUpdaterEnglishTableId,
                                kUpdaterFrenchTableId);
        return true;
    }();
    (void)loaded;
}

CResString::CResString()
{
    EnsureStringTablesLoaded();
}

CResString::CResString(const std::string& section, const std::string& key, const std::string& defaultValue)
{
    Lookup(section, key, defaultValue);
}

CResString::CResString(int number)
{
    Lookup("strings", std::to_string(number), std::string());
}

const std::string& CResString::Lookup(const std::string& section, const std::string& key,
                                      const std::string& defaultValue)
{
    EnsureStringTablesLoaded();
    const CStringINIResource& table = g_language == kLanguageFrench ? FrenchStringTable() : EnglishStringTable();
    m_text = table.Lookup(section, key, defaultValue);
    return m_text;
}

void LoadFormatted(std::string& target, int number, ...)
{
    CResString format(number);
    va_list args;
    va_start(args, number);
    target = FormatTextV(format.c_str(), args);
    va_end(args);
    ApplyElision(target);
}

void LoadFormattedByKey(std::string& target, const char* section, const char* key, ...)
{
    CResString format(section, key, std::string());
    va_list args;
    va_start(args, key);
    target = FormatTextV(format.c_str(), args);
    va_end(args);
    ApplyElision(target);
}
