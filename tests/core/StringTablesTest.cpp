#include "ApplyElision.h"
#include "CResString.h"
#include "CStringINIResource.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace {

// Switches the interface language for one test.
class LanguageScope {
public:
    explicit LanguageScope(unsigned short language) : m_saved(g_language) { g_language = language; }
    ~LanguageScope() { g_language = m_saved; }

private:
    unsigned short m_saved;
};

// Section -> keys in table order, parsed from the raw table text.
std::map<std::string, std::vector<std::string>> Keys(const std::string& text)
{
    std::map<std::string, std::vector<std::string>> keys;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            keys[section];
        } else {
            keys[section].push_back(line.substr(0, line.find('=')));
        }
    }
    return keys;
}

} // namespace

TEST(StringTables, NumberedMessagesInEachLanguage)
{
    {
        LanguageScope english(kLanguageEnglish);
        EXPECT_EQ("Cancel", CResString(107).GetText());
        EXPECT_EQ("< Back", CResString(101).GetText());
        EXPECT_EQ("The name of a file or directory cannot have any of the following characters: \\/*?\"<>|",
                  CResString(205).GetText());
        EXPECT_EQ("", CResString(999).GetText()) << "a missing number gives an empty text";
    }
    {
        LanguageScope french(kLanguageFrench);
        EXPECT_EQ("Annuler", CResString(107).GetText());
        EXPECT_EQ("R\xE9parer", CResString(104).GetText()) << "tables are Windows-1252";
    }
    {
        LanguageScope other(7);
        EXPECT_EQ("Cancel", CResString(107).GetText()) << "any language but French reads English";
    }
}

TEST(StringTables, DialogKeysFallBackToTheCallersDefault)
{
    LanguageScope french(kLanguageFrench);
    EXPECT_EQ("dflt", CResString("IDD_UPDCOMPLETE", "no_such_key", "dflt").GetText());
    EXPECT_EQ("dflt", CResString("IDD_NOWHERE", "caption", "dflt").GetText());
    EXPECT_NE("dflt", CResString("IDD_UPDCOMPLETE", "caption", "dflt").GetText());
    g_language = kLanguageEnglish;
    EXPECT_NE("dflt", CResString("IDD_UPDCOMPLETE", "intro_error1", "dflt").GetText());
}

TEST(StringTables, LookupRemembersItsRequest)
{
    LanguageScope english(kLanguageEnglish);
    CResString text;
    EXPECT_EQ("Next >", text.Lookup("strings", "102", "x"));
    g_language = kLanguageFrench;
    EXPECT_EQ("Suivant >", text.Lookup("strings", "102", "x")) << "the language is read at each lookup";
}

TEST(StringTables, FormattedMessagesGetTheElision)
{
    std::string text;
    {
        LanguageScope english(kLanguageEnglish);
        LoadFormatted(text, 222, "Melvaro 2012");
        EXPECT_EQ("Your copy of Melvaro 2012 is fully up-to-date.", text);
        LoadFormatted(text, 230, "Installation failed", 1603);
        EXPECT_EQ("Installation failed (Err=1603).", text);
        LoadFormattedByKey(text, "IDD_CHECKPROGRESS", "message", "Melvaro 2012");
        EXPECT_EQ("Please wait while Melvaro 2012 is establishing a connection with the server.", text);
    }
    LanguageScope french(kLanguageFrench);
    LoadFormatted(text, 222, "Melvaro 2012");
    EXPECT_EQ("Votre copie de Melvaro 2012 est enti\xE8rement \xE0 jour.", text);
    LoadFormatted(text, 222, "Orvane");
    EXPECT_EQ("Votre copie d'Orvane est enti\xE8rement \xE0 jour.", text);
}

TEST(Elision, VowelsElideOthersKeepTheWord)
{
    auto elide = [](std::string text) {
        ApplyElision(text);
        return text;
    };
    EXPECT_EQ("Installation de Melvaro 2012", elide("Installation +de+ Melvaro 2012"));
    EXPECT_EQ("Installation d'Orvane", elide("Installation +de+ Orvane"));
    EXPECT_EQ("qu'installe", elide("+que+ installe"));
    EXPECT_EQ("que Melvaro", elide("+que+ Melvaro"));
    EXPECT_EQ("QU'UN", elide("+QUE+ UN"));
    EXPECT_EQ("Qu'y", elide("+Que+ y"));
    EXPECT_EQ("D'Alpha et d'ici", elide("+De+ Alpha et +de+ ici"));
    EXPECT_EQ("DE \xC9T\xC9", elide("+DE+ \xC9T\xC9")) << "accented letters are not in the vowel list";
    EXPECT_EQ("fin de ", elide("fin +de+ ")) << "a marker at the very end";
    EXPECT_EQ("a + b", elide("a + b"));
    EXPECT_EQ("no markers", elide("no markers"));
    EXPECT_EQ("", elide(""));
    EXPECT_EQ("d'a +de+ b", elide("+de+ a +de+ b")) << "only the first occurrence is handled";
}

TEST(StringTables, DeliberatelyBothLanguagesHaveTheSameSectionsAndKeys)
{
    EnsureStringTablesLoaded();
    auto english = Keys(EnglishStringTable().GetText());
    auto french = Keys(FrenchStringTable().GetText());
    ASSERT_FALSE(english.empty());
    for (const char* section : {"strings",
                                "IDD_CHANGE_FOLDER",
                                "IDD_USAGE",
                                "IDD_SPLASH",
                                "IDD_SPLASH_WAIT",
                                "IDD_PAGE_CUSTOMSETUP",
                                "IDD_PAGE_COMPLETE",
                                "IDD_PAGE_DESTINATION",
                                "IDD_PAGE_LICENSE",
                                "IDD_PAGE_MAINTENANCETYPE",
                                "IDD_PAGE_MISSPREREQ",
                                "IDD_PAGE_PROGRESS",
                                "IDD_PAGE_READY",
                                "IDD_PAGE_SETUPTYPE",
                                "IDD_PAGE_WELCOME",
                                "IDR_CUSTOMSETUPMENU",
                                "IDD_UPDATER_USAGE",
                                "IDD_UPDATER",
                                "IDD_UPDCOMPLETE",
                                "IDD_CHECKPROGRESS",
                                "IDD_MUSTCLOSE",
                                "IDD_UPDMINGUI"})
        EXPECT_EQ(1u, english.count(section)) << section;
    // French also has the texts of an interrupted update.
    EXPECT_EQ(english, french);
}

TEST(StringTables, MissingFrenchTableAnswersInEnglish)
{
    CStringINIResource english, french;
    LoadStringTablePair(english, french, kUpdaterEnglishTableId, 9999);
    EXPECT_EQ("Cancel", french.Lookup("strings", "107", ""));
    EXPECT_EQ(english.GetTempFilePath(), french.GetTempFilePath());
    EXPECT_EQ("dflt", french.Lookup("IDD_UPDATER", "no_such_key", "dflt"));
}

TEST(StringTables, TemporaryFileHoldsTheTableUntilDestruction)
{
    std::string path;
    {
        CStringINIResource table;
        ASSERT_TRUE(table.Load(kUpdaterEnglishTableId));
        path = table.GetTempFilePath();
        ASSERT_TRUE(table.Load(kUpdaterEnglishTableId));
        EXPECT_EQ(path, table.GetTempFilePath());
    }
    EXPECT_FALSE(FileExists(path));
}

TEST(StringTables, MendedTheTemporaryFileKeepsTheTablesLineEnds)
{
    CStringINIResource table;
    ASSERT_TRUE(table.Load(kUpdaterEnglishTableId));
    ASSERT_NE(std::string::npos, table.GetText().find("\r\n"));
    EXPECT_EQ(table.GetText(), ReadWholeFile(table.GetTempFilePath())) << "byte for byte, no CR CR LF";
}

TEST(StringTables, ATableThatCannotBeWrittenAnswersTheCallersDefault)
{
    // A temporary folder that does not exist makes the table's file fail.
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", saved, sizeof saved);
    SetEnvironmentVariableA("TMP", "C:\\no\\such\\folder");
    CStringINIResource table;
    bool loaded = table.Load(kUpdaterEnglishTableId);
    SetEnvironmentVariableA("TMP", saved[0] != '\0' ? saved : nullptr);
    ASSERT_FALSE(loaded);
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_EQ("Choose", table.Lookup("IDD_UPDATER", "caption_c", "Choose"));
    EXPECT_EQ("", table.Lookup("strings", "107", "")) << "numbered messages have no default";
}
