#include "FuzzTargets.h"

#include "CIniFile.h"
#include "CKWInstallationData.h"
#include "CKWUpdateCatalog.h"
#include "CKWUpdaterApp.h"
#include "CSetupInstallationData.h"
#include "FuzzRandom.h"
#include "FuzzSandbox.h"
#include "InterfaceLanguage.h"
#include "IsPlainFileName.h"
#include "PrerequisiteRegistry.h"
#include "ProductDescriptor.h"
#include "ReadSetupIni.h"
#include "SetupCommandLine.h"
#include "SetupCore.h"
#include "Version.h"

#include <windows.h>

#include <algorithm>

namespace {

// Random choices of the feeding itself, apart from the input's own.
const int kFeedChoices = 8;

int SomeVersion(FuzzRandom& random)
{
    static const std::vector<std::string> kVersions = {"0", "1.0.0", "1.1.0", "1.3.1", "2.0.0", "255.255.65535"};
    return random.OneIn(10) ? static_cast<int>(random.Next()) : PackVersion(random.Pick(kVersions));
}

// What the engine's records must hold after the check and the resolution.
std::string CheckChosenUpdates(CKWUpdateCatalog& catalog)
{
    for (CUpdateItem* update : catalog.GetAllUpdates()) {
        if (!IsPlainFileName(update->GetFileName()))
            return "an update with the file name \"" + update->GetFileName() + "\" was offered";
        if (update->GetSelectionCount() <= 0)
            return "update " + update->GetId() + " is not selected after the resolution";
        if (update->Requires(update))
            return "update " + update->GetId() + " requires itself";
    }
    for (CUpdateItem* update : catalog.GetAllUpdates())
        update->Select(false);
    for (CUpdateItem* update : catalog.GetAllUpdates()) {
        if (update->GetSelectionCount() < 0)
            return "update " + update->GetId() + " has a negative selection count";
        update->Select(true);
    }
    CKWInstallationData::GetInstance().GetSelectedUpdates();
    return std::string();
}

std::string RunCheck(CKWUpdateCatalog& catalog, FuzzRandom& random, const FuzzSandbox& sandbox)
{
    const ProductDescriptor& descriptor = GetProductDescriptor();
    CKWInstallationData& data = CKWInstallationData::GetInstance();
    data.SetWorkingFolder(sandbox.Cache());
    data.AddInstalledProduct(descriptor.UpdaterCode, SomeVersion(random), false);
    data.AddInstalledProduct(descriptor.MainUpgradeCode, SomeVersion(random), false);
    std::vector<std::string> dependents;
    catalog.CollectDependentProducts(dependents);
    for (auto it = dependents.rbegin(); it != dependents.rend(); ++it) {
        std::string mnemonic = catalog.GetProductMnemonic(*it);
        if (!mnemonic.empty())
            data.AddDependentProduct(*it, mnemonic, false);
    }
    // The vendor's tool states further installed products.
    std::vector<std::string> ids;
    catalog.GetProductIds(ids);
    for (size_t i = 0; i < ids.size() && i < 20; ++i) {
        if (random.OneIn(2))
            data.AddInstalledProduct(ids[i], SomeVersion(random), false);
    }
    data.GetUpdateCount();
    catalog.ResolveDependencies();
    return CheckChosenUpdates(catalog);
}

} // namespace

std::string FeedCatalog(const std::string& text, uint64_t seed, uint64_t index, const FuzzSandbox& sandbox)
{
    FuzzRandom random = FuzzRandom::ForInput(seed, kFeedChoices, index);
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    catalog.SetIgnoreList(random.OneIn(4) ? std::vector<std::string>{"P2", "IE6", ""} : std::vector<std::string>());
    bool loaded;
    if (random.OneIn(20)) {
        std::string path = sandbox.Input(GetProductDescriptor().CatalogFileName);
        WriteFuzzFile(path, text);
        loaded = catalog.LoadFromUrl(path);
        DeleteFileA(path.c_str());
    } else {
        loaded = catalog.LoadXml(text);
    }
    std::string problem;
    if (!loaded && catalog.IsValid())
        problem = "a catalog that did not load counts as valid";
    std::vector<CKWUpdateCatalog::DroppedUpdate> dropped;
    catalog.FindDroppedUpdates(dropped);
    for (const CSourceItem* source = catalog.GetFirstSource(); source != nullptr; source = catalog.GetNextSource())
        source->GetLocation();
    if (problem.empty())
        problem = RunCheck(catalog, random, sandbox);
    // The records die with the installation data; the catalog must not keep
    // pointing at them.
    catalog.ForgetUpdates();
    CKWInstallationData::DestroyInstance();
    ClearPrerequisites();
    return problem;
}

std::string FeedSetupIni(const std::string& text, uint64_t index, const FuzzSandbox& sandbox)
{
    // A new name each time: the profile functions cache files by name.
    std::string path = sandbox.Input("setup" + std::to_string(index) + ".ini");
    WriteFuzzFile(path, text);
    std::string problem;
    {
        CIniFile ini;
        ini.SetFile(path);
        ReadSetupProperties(ini);
        int count = CountSetupPackages(ini);
        CSetupInstallationData data;
        ReadSetupPackages(ini, data);
        if (static_cast<int>(data.Packages.size()) != count)
            problem = "the package sections were counted as " + std::to_string(count) + " but " +
                      std::to_string(data.Packages.size()) + " were read";
        ParseSetupCommandLine(EffectiveCommandLine(ini, std::string()));
    }
    ClearPrerequisites();
    DeleteFileA(path.c_str());
    return problem;
}

std::string FeedCommandLine(const std::string& text)
{
    ParseSetupCommandLine(text);
    {
        CKWUpdaterApp app(nullptr);
        app.Attach(GetModuleHandleA(nullptr), text);
        app.ReadParameters();
    }
    CKWInstallationData::DestroyInstance();
    g_runKind = 0;
    g_adminInstallPoint.clear();
    g_language = kLanguageEnglish;
    return std::string();
}
