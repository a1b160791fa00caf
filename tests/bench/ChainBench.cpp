// Resolving the dependencies of long patch chains, against reading and
// choosing the same updates from the catalog.
#include "Bench.h"
#include "CKWUpdateCatalog.h"
#include "CatalogXml.h"
#include "Version.h"

#include <string>
#include <vector>

namespace {

// Products "{P<n>}", each with a chain of patches 1.0.0 -> 1.0.1 -> ...
std::string ChainedCatalog(int products, int patches)
{
    std::string body;
    for (int p = 0; p < products; ++p) {
        std::string updates;
        for (int i = 0; i < patches; ++i)
            updates += UpdateXml("P" + std::to_string(p) + "-" + std::to_string(i + 1), "1.0." + std::to_string(i + 1),
                                 "1.0." + std::to_string(i), "1.0." + std::to_string(i));
        body += ProductXml("{P" + std::to_string(p) + "}", "P" + std::to_string(p), updates);
    }
    return CatalogXml(body);
}

// Best of three: the seconds to load the catalog and choose every product's
// chain, and the seconds to resolve the chosen updates.
void Measure(int products, int patches, double& chooseSeconds, double& resolveSeconds)
{
    const std::string text = ChainedCatalog(products, patches);
    for (int run = 0; run < 3; ++run) {
        CKWUpdateCatalog catalog;
        catalog.SetIgnoreList({});
        std::vector<CKWUpdateCatalog::UpdateList> chosen(products);
        std::vector<CUpdateItem*> all;
        double choose = BestSeconds(1, [&] {
            catalog.LoadXml(text);
            for (int p = 0; p < products; ++p)
                catalog.SelectUpdates("{P" + std::to_string(p) + "}", PackVersion("1.0.0"), chosen[p]);
        });
        for (const auto& list : chosen) {
            for (const auto& update : list)
                all.push_back(update.get());
        }
        double resolve = BestSeconds(1, [&] {
            catalog.ResolveDependencies(all, "{P0}");
        });
        if (run == 0 || choose < chooseSeconds)
            chooseSeconds = choose;
        if (run == 0 || resolve < resolveSeconds)
            resolveSeconds = resolve;
    }
}

} // namespace

KW_BENCH(ChainResolution)
{
    double chooseShort = 0, resolveShort = 0, chooseLong = 0, resolveLong = 0, chooseOne = 0, resolveOne = 0;
    Measure(1, 200, chooseOne, resolveOne);
    Measure(100, 2, chooseShort, resolveShort);
    Measure(100, 200, chooseLong, resolveLong);
    PrintRow("resolve 1 x 200 chained patches", resolveOne, "load and choose them", chooseOne);
    PrintRow("resolve 100 x 200 chained patches", resolveLong, "load and choose them", chooseLong);
    PrintRow("resolve 100 x 200 chained patches", resolveLong, "resolve 100 x 2", resolveShort);
}
