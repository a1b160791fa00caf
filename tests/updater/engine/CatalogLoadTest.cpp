#include "BenchServer.h"
#include "CKWUpdateCatalog.h"
#include "CatalogXml.h"
#include "FormatText.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A catalog the size of a large real one: 100 products with 200 chained
// patches each, every patch with subjects and a release note in both
// languages.
std::string LargeCatalog()
{
    std::string products;
    for (int product = 0; product < 100; ++product) {
        std::string updates;
        for (int step = 0; step < 200; ++step) {
            std::string from = FormatText("1.%d.0", step);
            updates += UpdateXml(
                FormatText("p%d-%d", product, step), FormatText("1.%d.0", step + 1), from, from, "MSP", 1234567,
                FormatText("<filecrc>89abcdef</filecrc>"
                           "<subject lang=\"E\">Melvaro update %d.%d</subject>"
                           "<subject lang=\"F\">Mise a jour %d.%d de Melvaro</subject>"
                           "<releasedate>2012-06-30</releasedate><relnote><text lang=\"E\">Fixes the import of "
                           "older files.</text><text lang=\"F\">Corrige l'import des anciens fichiers.</text>"
                           "</relnote>",
                           product, step, product, step));
        }
        products += ProductXml(FormatText("{0D6C3E1B-5A47-4F92-8B3E-6C2D1A0F%04d}", product), "P", updates);
    }
    return CatalogXml(products + "<source priority=\"1\">http://dl.example.com/</source>");
}

} // namespace

TEST(CatalogLoadTest, MendedLookAlikeCharactersNeverTurnIntoMarkupOnTheReload)
{
    TestFolder folder;
    // Fullwidth < > " = in a source's text (UTF-8).
    const std::string lt = "\xEF\xBC\x9C", gt = "\xEF\xBC\x9E", quote = "\xEF\xBC\x82", equals = "\xEF\xBC\x9D";
    WriteWholeFile(folder.File("catalog.xml"),
                   CatalogXml("<source priority=\"1\">http://good.example/" + lt + "/source" + gt + lt +
                              "source priority" + equals + quote + "0" + quote + gt + "http://evil.example/</source>"));
    CKWUpdateCatalog catalog;
    ASSERT_TRUE(catalog.LoadFromUrl(folder.File("catalog.xml")));
    ASSERT_TRUE(catalog.IsValid());
    ASSERT_EQ(1u, catalog.GetSources().size());
    const CSourceItem& source = *catalog.GetSources().front();
    EXPECT_EQ(1, source.GetPriority());
    EXPECT_EQ(std::string::npos, source.GetLocation().find_first_of("<>\"=")) << source.GetLocation();
}

TEST(CatalogLoadTest, ALargeCatalogFitsTheSizeLimitAndLoadsFromTheServer)
{
    BenchServer server = GetBenchServer();
    ASSERT_FALSE(server.url.empty()) << "runs beside the bench's HTTP server";
    const std::string catalog = LargeCatalog();
    EXPECT_LT(catalog.size() * 3, CXmlDocument::kMaxDocumentBytes) << catalog.size();
    WriteWholeFile(server.root + "\\large.xml", catalog);
    CKWUpdateCatalog loaded;
    ASSERT_TRUE(loaded.LoadFromUrl(server.url + "large.xml")) << loaded.GetLoadError();
    EXPECT_TRUE(loaded.IsValid());
    std::vector<std::string> ids;
    EXPECT_TRUE(loaded.GetProductIds(ids));
    EXPECT_EQ(100u, ids.size());
}
