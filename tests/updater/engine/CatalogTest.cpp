#include "BenchServer.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "CatalogXml.h"
#include "ProductDescriptor.h"
#include "TestFolder.h"
#include "Version.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

const char kProduct[] = "{0D6C3E1B-5A47-4F92-8B3E-6C2D1A0F9E87}";

// Sets the interface language for the length of a test.
class Language {
public:
    explicit Language(unsigned short language) : m_previous(g_language) { g_language = language; }
    ~Language() { g_language = m_previous; }
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

private:
    unsigned short m_previous;
};

class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override { m_catalog.SetIgnoreList({}); }

    void Load(const std::string& body) { ASSERT_TRUE(m_catalog.LoadXml(CatalogXml(body))); }
    // The ids SelectUpdates chooses for the installed version, in order.
    std::string Chosen(const std::string& productId, const std::string& installed)
    {
        CKWUpdateCatalog::UpdateList updates;
        bool any = m_catalog.SelectUpdates(productId, PackVersion(installed), updates);
        std::string ids;
        for (const auto& update : updates)
            ids += (ids.empty() ? "" : " ") + update->GetId();
        EXPECT_EQ(any, !ids.empty());
        return ids;
    }
    std::string ChosenFromMain(const std::string& updates, const std::string& installed = "1.0.0")
    {
        Load(ProductXml(kProduct, "MEL", updates));
        return Chosen(kProduct, installed);
    }

    CKWUpdateCatalog m_catalog;
};

} // namespace

TEST_F(CatalogTest, TheApplicationNameMustMatchExactly)
{
    Load(ProductXml(kProduct, "MEL", UpdateXml("p1", "1.1", "1.0", "1.0")) + "<source>http://a</source>");
    EXPECT_TRUE(m_catalog.IsValid());
    EXPECT_EQ("bench", m_catalog.GetServerName());
    EXPECT_EQ(1u, m_catalog.GetSources().size());

    ASSERT_TRUE(m_catalog.LoadXml(CatalogXml("<source>http://a</source>", "melvaro 2012")));
    EXPECT_FALSE(m_catalog.IsValid()) << "the name differs only in case";
    EXPECT_EQ(CKWUpdateCatalog::kAppNameDifferent, m_catalog.GetValidity());
    EXPECT_TRUE(m_catalog.GetSources().empty()) << "an invalid catalog offers no sources";
    EXPECT_EQ("", Chosen(kProduct, "1.0"));

    ASSERT_TRUE(m_catalog.LoadXml("<updates servername=\"x\"/>"));
    EXPECT_EQ(CKWUpdateCatalog::kAppNameMissing, m_catalog.GetValidity());
    ASSERT_TRUE(m_catalog.LoadXml("<catalog appname=\"Melvaro 2012\"/>"));
    EXPECT_EQ(CKWUpdateCatalog::kNoUpdatesRoot, m_catalog.GetValidity());
    EXPECT_EQ(nullptr, m_catalog.GetServerStatus());
    EXPECT_FALSE(m_catalog.LoadXml("<updates appname=\"Melvaro 2012\">"));
    EXPECT_EQ(CKWUpdateCatalog::kNotLoaded, m_catalog.GetValidity());
}

TEST_F(CatalogTest, ServerStatusDocumentsSpeakTheInterfaceLanguage)
{
    const std::string status = "<updateserverstatus id=\"503\"><text lang=\"E\">Closed for maintenance</text>"
                               "<text lang=\"F\">Ferm\xE9 pour maintenance</text></updateserverstatus>";
    {
        Language english(kLanguageEnglish);
        ASSERT_TRUE(m_catalog.LoadXml(status));
        EXPECT_FALSE(m_catalog.IsValid());
        EXPECT_EQ(CKWUpdateCatalog::kServerStatusDocument, m_catalog.GetValidity());
        ASSERT_NE(nullptr, m_catalog.GetServerStatus());
        EXPECT_EQ(503, m_catalog.GetServerStatus()->GetCode());
        EXPECT_EQ("Closed for maintenance", m_catalog.GetServerStatus()->GetMessageText());
    }
    {
        Language french(kLanguageFrench);
        ASSERT_TRUE(m_catalog.LoadXml(status));
        ASSERT_NE(nullptr, m_catalog.GetServerStatus());
        EXPECT_EQ("Ferm\xE9 pour maintenance", m_catalog.GetServerStatus()->GetMessageText());
    }
}

TEST_F(CatalogTest, MendedAServerStatusIsKeptOnlyUntilTheNextLoad)
{
    const std::string status = "<updateserverstatus id=\"503\"><text lang=\"E\">Closed</text></updateserverstatus>";
    ASSERT_TRUE(m_catalog.LoadXml(status));
    ASSERT_NE(nullptr, m_catalog.GetServerStatus());
    // A later load must not report the old message for its own outcome.
    Load("");
    EXPECT_EQ(nullptr, m_catalog.GetServerStatus());
    ASSERT_TRUE(m_catalog.LoadXml(status));
    EXPECT_FALSE(m_catalog.LoadFromUrl("Z:\\no\\such\\catalog.xml"));
    EXPECT_EQ(nullptr, m_catalog.GetServerStatus());
}

TEST_F(CatalogTest, SourcesAreTriedByPriorityAndEndWithTheirSeparator)
{
    Load("<source priority=\"2\">http://two.example.com/files</source>"
         "<source priority=\"1\">HTTP://ONE.example.com/files/</source>"
         "<source priority=\"first\">\\\\server\\share</source>"
         "<source priority=\"3\">C:\\updates\\</source>"
         "<source priority=\"5\"></source>");
    std::vector<std::string> order;
    for (CSourceItem* source = m_catalog.GetFirstSource(); source != nullptr; source = m_catalog.GetNextSource())
        order.push_back(std::to_string(source->GetPriority()) + (source->IsHttp() ? " http " : " folder ") +
                        source->GetLocation());
    EXPECT_EQ(
        (std::vector<std::string>{"0 folder \\\\server\\share\\", "1 http HTTP://ONE.example.com/files/",
                                  "2 http http://two.example.com/files/", "3 folder C:\\updates\\", "5 folder \\"}),
        order);
    EXPECT_EQ(nullptr, m_catalog.GetNextSource());
    CSourceItem* first = m_catalog.GetFirstSource();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("\\\\server\\share\\", first->GetLocation()) << "asking again starts over";
    CSourceItem* second = m_catalog.GetNextSource();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ("HTTP://ONE.example.com/files/", second->GetLocation());
}

TEST_F(CatalogTest, HttpsSourcesAreDeliberatelyHttpSources)
{
    Load("<source>hTtPs://secure.example.com/files</source>");
    CSourceItem* source = m_catalog.GetFirstSource();
    ASSERT_NE(nullptr, source);
    EXPECT_TRUE(source->IsHttp());
    EXPECT_EQ("hTtPs://secure.example.com/files/", source->GetLocation());
}

TEST_F(CatalogTest, UpdatesTheRulesRefuseAreDroppedAndDeliberatelyReported)
{
    Load(ProductXml(kProduct, "MEL",
                    UpdateXml("", "1.1", "1.0", "1.0") + UpdateXml("minAboveMax", "1.3", "1.2", "1.1") +
                        UpdateXml("versionAtMax", "1.1", "1.0", "1.1") +
                        UpdateXml("versionBelowMin", "1.0", "1.1", "1.2") +
                        UpdateXml("zip", "1.1", "1.0", "1.0", "ZIP") + UpdateXml("ok", "1.1", "1.0", "1.0", "msp")));
    std::vector<CKWUpdateCatalog::DroppedUpdate> dropped;
    m_catalog.FindDroppedUpdates(dropped);
    std::vector<std::string> seen;
    for (const auto& update : dropped)
        seen.push_back(std::to_string(update.position) + " " + update.updateId + " " + std::to_string(update.reason));
    EXPECT_EQ(
        (std::vector<std::string>{"1  1", "2 minAboveMax 2", "3 versionAtMax 2", "4 versionBelowMin 2", "5 zip 3"}),
        seen);
    EXPECT_EQ("ok", Chosen(kProduct, "1.0")) << "the format is read in any case";
}

TEST_F(CatalogTest, UpdatesWhoseFileNameLeadsOutOfTheCacheAreDeliberatelyDropped)
{
    auto named = [](const std::string& id, const std::string& fileName) {
        return "<update id=\"" + id +
               "\"><version>1.1</version><targetversionmin>1.0</targetversionmin><targetversionmax>1.0"
               "</targetversionmax><filename>" +
               fileName + "</filename><format>EXE</format></update>";
    };
    Load(ProductXml(kProduct, "MEL",
                    named("up", "..\\..\\Windows\\up.exe") + named("drive", "C:up.exe") + named("device", "nul.exe") +
                        named("none", "") + named("plain", "plain.exe")));
    std::vector<CKWUpdateCatalog::DroppedUpdate> dropped;
    m_catalog.FindDroppedUpdates(dropped);
    std::vector<std::string> seen;
    for (const auto& update : dropped)
        seen.push_back(update.updateId + " " + std::to_string(update.reason));
    EXPECT_EQ((std::vector<std::string>{"up 4", "drive 4", "device 4", "none 4"}), seen);
    EXPECT_EQ("plain", Chosen(kProduct, "1.0"));
}

TEST_F(CatalogTest, UpdateFieldsComeInTheInterfaceLanguage)
{
    Language french(kLanguageFrench);
    Load(ProductXml("{Lower}", "MEL",
                    "<update id=\"p1\"><version>1.1</version><targetversionmin>1.0</targetversionmin>"
                    "<targetversionmax>1.0</targetversionmax><filename>p1.msp</filename>"
                    "<parameters>REBOOT=ReallySuppress</parameters><format>MSP</format>"
                    "<filecrc>CBF43926</filecrc><filesize>4294967295</filesize>"
                    "<subject lang=\"E\">Fix</subject><subject lang=\"F\">Correctif</subject>"
                    "<releasedate>12/05/2012</releasedate>"
                    "<relnote><text lang=\"E\">one</text><text lang=\"F\">un</text></relnote>"
                    "<relnote><text lang=\"F\"></text><text lang=\"F\">deux</text></relnote></update>"));
    CKWUpdateCatalog::UpdateList updates;
    ASSERT_TRUE(m_catalog.SelectUpdates("{LOWER}", PackVersion("1.0"), updates)) << "product ids ignore case";
    const CUpdateItem& update = *updates.at(0);
    EXPECT_EQ("{LOWER}", update.GetProductId());
    EXPECT_EQ("MEL", update.GetMnemonic());
    EXPECT_EQ("p1.msp", update.GetFileName());
    EXPECT_EQ("REBOOT=ReallySuppress", update.GetParameters());
    EXPECT_EQ(0xCBF43926u, update.GetFileCrc());
    EXPECT_EQ(4294967295u, update.GetFileSize());
    EXPECT_EQ("Correctif", update.GetSubject());
    EXPECT_EQ("12/05/2012", update.GetReleaseDate());
    EXPECT_EQ((std::vector<std::string>{"un", "deux"}), update.GetReleaseNotes());
    EXPECT_EQ(0, update.GetSelectionCount());

    EXPECT_EQ("MEL", m_catalog.GetProductMnemonic("{lower}"));
    EXPECT_EQ("", m_catalog.GetProductMnemonic("{other}"));
}

TEST_F(CatalogTest, ChainsFollowTheVersionsAndStopAtAGap)
{
    EXPECT_EQ("p1 p2", ChosenFromMain(UpdateXml("p2", "1.2", "1.1", "1.1") + UpdateXml("p0", "1.0", "0.9", "0.9") +
                                      UpdateXml("p1", "1.1", "1.0", "1.0")))
        << "an update below the installed version is never offered; the chain comes sorted";
    EXPECT_EQ("p1", ChosenFromMain(UpdateXml("p1", "1.1", "1.0", "1.0") + UpdateXml("p3", "1.3", "1.2", "1.2")));
    EXPECT_EQ("wide p3", ChosenFromMain(UpdateXml("p1", "1.1", "1.0", "1.0") + UpdateXml("wide", "1.2", "0.5", "1.1") +
                                        UpdateXml("p3", "1.3", "1.2", "1.2")))
        << "the update with the highest range that applies is taken";
    EXPECT_EQ("", ChosenFromMain(UpdateXml("p3", "1.3", "1.2", "1.2")));
    EXPECT_EQ("u1 u2", ChosenFromMain(UpdateXml("u2", "1.0.2", "1.0.1", "1.0.1", "UPD") +
                                      UpdateXml("u1", "1.0.1", "1.0.0", "1.0.0", "UPD")))
        << "the updater's own patches chain like patches";
    EXPECT_EQ("", Chosen("{not in the catalog}", "1.0"));
}

TEST_F(CatalogTest, AFullPackageCompetesWithThePatchChain)
{
    // Installed 1.00: two patches to 1.02 (sizes 100 each) or one full
    // package from anything up to 1.01 to 1.02.
    const std::string patches = UpdateXml("p1", "1.1", "1.0", "1.0") + UpdateXml("p2", "1.2", "1.1", "1.1");
    auto full = [](unsigned size, const char* version = "1.2") {
        return UpdateXml("full", version, "0.0", "1.1", "FMC", size);
    };
    EXPECT_EQ("full", ChosenFromMain(patches + full(150))) << "the smaller download wins";
    EXPECT_EQ("p1 p2", ChosenFromMain(patches + full(250)));
    EXPECT_EQ("full", ChosenFromMain(patches + full(200))) << "equal sizes: the patch chain is not shorter";
    EXPECT_EQ("full", ChosenFromMain(patches + full(5000, "1.3"))) << "the higher final version wins whatever the size";
    const std::string p3 = UpdateXml("p3", "1.3", "1.2", "1.2");
    EXPECT_EQ("full p3", ChosenFromMain(patches + p3 + full(10))) << "a patch may follow the full package";
    EXPECT_EQ("p1 p2 p3", ChosenFromMain(patches + p3 + full(10, "1.2.5")))
        << "the patches go further than the full package and what follows it";

    // One patch straight to 1.02 (100) against the full package to 1.01
    // (40) and a patch from there (60): equal sizes, and the patch chain
    // is strictly shorter.
    EXPECT_EQ("direct", ChosenFromMain(UpdateXml("direct", "1.2", "1.0", "1.0", "MSP", 100) +
                                       UpdateXml("full", "1.1", "1.0", "1.0.5", "FMC", 40) +
                                       UpdateXml("after", "1.2", "1.1", "1.1", "MSP", 60)));
    EXPECT_EQ("full", ChosenFromMain(UpdateXml("direct", "1.2", "1.0", "1.0", "MSP", 100) +
                                     UpdateXml("full", "1.2", "0.0", "1.0.5", "FMC", 100)))
        << "chains alike in version, size and length: the full package";

    EXPECT_EQ("full2", ChosenFromMain(UpdateXml("full1", "1.3", "0.0", "1.1", "FMC", 10) +
                                      UpdateXml("full2", "1.2", "0.0", "1.1", "MSI", 500)))
        << "only the last full package counts";
    EXPECT_EQ("exe", ChosenFromMain(UpdateXml("exe", "2.0", "0.0", "1.9", "EXE")));
}

TEST_F(CatalogTest, MendedChainSizesAreSummedWithoutWrappingRound)
{
    // Two patches of 4 GiB - 1 each would sum to 4 GiB - 2 in 32 bits and
    // look smaller than the full package.
    const unsigned huge = 0xFFFFFFFFu;
    EXPECT_EQ("full", ChosenFromMain(UpdateXml("p1", "1.1", "1.0", "1.0", "MSP", huge) +
                                     UpdateXml("p2", "1.2", "1.1", "1.1", "MSP", huge) +
                                     UpdateXml("full", "1.2", "0.0", "1.1", "FMC", huge)));
}

TEST_F(CatalogTest, ALoneFullPackageIgnoresItsRange)
{
    EXPECT_EQ("full", ChosenFromMain(UpdateXml("full", "1.2", "1.0", "1.1", "FMC"), "0"))
        << "a product that is not installed receives its full package";
}

TEST_F(CatalogTest, MendedBesidePatchesThatDoNotApplyAFullPackageMustApplyToo)
{
    EXPECT_EQ(
        "", ChosenFromMain(UpdateXml("p1", "1.1", "1.0", "1.0") + UpdateXml("full", "1.2", "1.0", "1.1", "FMC"), "0.5"))
        << "neither the patch nor the full package applies to 0.5";
}

TEST_F(CatalogTest, IgnoredProductsGetNoUpdates)
{
    // The bench's prefix holds no ignore list of its own.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, GetProductDescriptor().UpdatesStateKey.c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const char ignore[] = "  OLD   MEL ";
    RegSetValueExA(key, "Ignore", 0, REG_SZ, reinterpret_cast<const BYTE*>(ignore), sizeof ignore);
    CKWUpdateCatalog catalog;
    RegDeleteValueA(key, "Ignore");
    RegCloseKey(key);
    EXPECT_EQ((std::vector<std::string>{"OLD", "MEL"}), catalog.GetIgnoreList());
    ASSERT_TRUE(catalog.LoadXml(CatalogXml(ProductXml("{A}", "MEL", UpdateXml("a1", "1.1", "1.0", "1.0")) +
                                           ProductXml("{B}", "mel", UpdateXml("b1", "1.1", "1.0", "1.0")))));
    CKWUpdateCatalog::UpdateList list;
    EXPECT_FALSE(catalog.SelectUpdates("{A}", PackVersion("1.0"), list));
    EXPECT_TRUE(catalog.SelectUpdates("{B}", PackVersion("1.0"), list)) << "mnemonics are compared exactly";
    catalog.SetIgnoreList({"mel"});
    EXPECT_FALSE(catalog.SelectUpdates("{B}", PackVersion("1.0"), list));
    EXPECT_TRUE(list.empty());
}

TEST_F(CatalogTest, DependentProductsComeBeforeThoseThatNameThemAndMendedCyclesEnd)
{
    const std::string& main = GetProductDescriptor().MainUpgradeCode;
    // {A} and {C} name each other, {C} names the main product back; "u9"
    // names no product; {B} is named twice.
    Load(ProductXml(main, "MEL",
                    UpdateXml("m1", "1.1", "1.0", "1.0", "MSP", 1, DependentXml("{A}") + DependentXml("{B}")) +
                        UpdateXml("m2", "1.2", "1.1", "1.1", "MSP", 1, DependentXml("u9") + DependentXml("{B}"))) +
         ProductXml("{a}", "A", UpdateXml("a1", "1.1", "1.0", "1.0", "MSP", 1, DependentXml("{C}"))) +
         ProductXml("{B}", "B", "") +
         ProductXml("{C}", "C",
                    UpdateXml("c1", "1.1", "1.0", "1.0", "MSP", 1, DependentXml("{A}") + DependentXml(main))));
    std::vector<std::string> ids;
    EXPECT_TRUE(m_catalog.CollectDependentProducts(ids));
    EXPECT_EQ((std::vector<std::string>{"{A}", "{C}", "{B}", "u9"}), ids)
        << "{C} names {A}, which is being visited: collected, not followed again";

    std::string lowerMain = main;
    for (char& c : lowerMain)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Load(ProductXml(main, "MEL", UpdateXml("m1", "1.1", "1.0", "1.0", "MSP", 1, DependentXml(lowerMain))));
    EXPECT_TRUE(m_catalog.CollectDependentProducts(ids));
    EXPECT_EQ(std::vector<std::string>{lowerMain}, ids) << "only the main product's exact code is left out";

    Load(ProductXml("{other}", "X", ""));
    EXPECT_FALSE(m_catalog.CollectDependentProducts(ids));
    EXPECT_TRUE(ids.empty());
}

TEST_F(CatalogTest, AWindows1252CatalogKeepsItsAccents)
{
    ASSERT_TRUE(m_catalog.LoadFromUrl(WinePath(KW_TEST_DATA_DIR "/accents-1252.xml")));
    ASSERT_TRUE(m_catalog.IsValid());
    auto texts = [this]() {
        CKWUpdateCatalog::UpdateList updates;
        m_catalog.SelectUpdates(GetProductDescriptor().MainUpgradeCode, PackVersion("1.0"), updates);
        if (updates.empty())
            return std::make_pair(std::string("no update"), std::vector<std::string>());
        return std::make_pair(updates[0]->GetSubject(), updates[0]->GetReleaseNotes());
    };
    {
        Language english(kLanguageEnglish);
        EXPECT_EQ(std::make_pair(std::string("Caf\xE9 menu \xAB fix \xBB"),
                                 std::vector<std::string>{"Fixes the na\xEFve r\xE9sum\xE9 import."}),
                  texts());
    }
    {
        Language french(kLanguageFrench);
        EXPECT_EQ(std::make_pair(std::string("Mise \xE0 jour d\xE9j\xE0 pr\xEAte \x96 \x9Cuvre"),
                                 std::vector<std::string>{"Corrige l'import na\xEF"
                                                          "f.",
                                                          "\xC9l\xE8ves \x80"}),
                  texts());
    }
}

TEST_F(CatalogTest, LoadsFromTheServerWithTheCheckQueryString)
{
    BenchServer server = GetBenchServer();
    ASSERT_FALSE(server.url.empty()) << "runs beside the bench's HTTP server";
    WriteWholeFile(server.root + "\\qrzupd.asp", ReadWholeFile(WinePath(KW_TEST_DATA_DIR "/accents-1252.xml")));
    const std::string query = "qrzupd.asp?CompanyName=2012-&Year=2012&Language=F";

    // A cached copy of the catalog file goes once a valid catalog arrives;
    // other entries stay.
    const std::string cachedCatalog = server.url + "redirected/" + GetProductDescriptor().CatalogFileName;
    const std::string cachedOther = server.url + "redirected/other.xml";
    for (const std::string& url : {cachedCatalog, cachedOther}) {
        char file[MAX_PATH] = "";
        ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, "xml", file, 0));
        WriteWholeFile(file, "<cached/>");
        FILETIME never = {0, 0};
        ASSERT_TRUE(
            CommitUrlCacheEntryA(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr));
    }
    auto cached = [](const std::string& url) {
        DWORD size = 0;
        GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size);
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    };
    ASSERT_TRUE(cached(cachedCatalog));

    WriteWholeFile(server.root + "\\status.asp", "<updateserverstatus id=\"1\"/>");
    ASSERT_TRUE(m_catalog.LoadFromUrl(server.url + "status.asp"));
    EXPECT_FALSE(m_catalog.IsValid());
    EXPECT_TRUE(cached(cachedCatalog)) << "only a valid catalog clears the cache";

    ASSERT_TRUE(m_catalog.LoadFromUrl(server.url + query));
    EXPECT_TRUE(m_catalog.IsValid());
    EXPECT_EQ("", m_catalog.GetSource()) << "the catalog is held as its own text, not as the server's copy";
    EXPECT_FALSE(cached(cachedCatalog));
    EXPECT_TRUE(cached(cachedOther));
    DeleteUrlCacheEntryA(cachedOther.c_str());

    Language french(kLanguageFrench);
    CKWUpdateCatalog::UpdateList updates;
    ASSERT_TRUE(m_catalog.SelectUpdates(GetProductDescriptor().MainUpgradeCode, PackVersion("1.0"), updates));
    EXPECT_EQ("Mise \xE0 jour d\xE9j\xE0 pr\xEAte \x96 \x9Cuvre", updates.at(0)->GetSubject());
    EXPECT_NE(std::string::npos, ReadWholeFile(server.log).find("GET /" + query + " "));
}

TEST_F(CatalogTest, MendedLongChainsKeepSaneCountsAndPeelFromTheTop)
{
    const int length = 200;
    std::string patches;
    for (int i = 0; i < length; ++i)
        patches += UpdateXml("p" + std::to_string(i + 1), "1.0." + std::to_string(i + 1), "1.0." + std::to_string(i),
                             "1.0." + std::to_string(i));
    Load(ProductXml(kProduct, "MEL", patches));
    CKWUpdateCatalog::UpdateList updates;
    ASSERT_TRUE(m_catalog.SelectUpdates(kProduct, PackVersion("1.0.0"), updates));
    ASSERT_EQ(size_t(length), updates.size());
    std::vector<CUpdateItem*> chain;
    for (const auto& update : updates)
        chain.push_back(update.get());
    m_catalog.ResolveDependencies(chain, kProduct);

    auto counts = [&chain] {
        std::vector<int> counts;
        for (const CUpdateItem* update : chain)
            counts.push_back(update->GetSelectionCount());
        return counts;
    };
    // The first patch is needed by all 200, the last by itself only.
    std::vector<int> descending;
    for (int i = 0; i < length; ++i)
        descending.push_back(length - i);
    EXPECT_EQ(descending, counts());
    EXPECT_EQ(std::vector<CUpdateItem*>{chain[length - 2]}, chain.back()->GetPrerequisites());

    // Unchecking the top unlocks the one below it, and so on to the bottom.
    for (int i = length - 1; i >= 0; --i) {
        ASSERT_EQ(1, chain[i]->GetSelectionCount()) << "p" << i + 1 << " is checked and unlocked";
        chain[i]->Select(false);
    }
    EXPECT_EQ(std::vector<int>(length, 0), counts());
    chain.back()->Select(true);
    EXPECT_EQ(descending, counts()) << "checking the top again pulls in the whole chain, locked";
}
