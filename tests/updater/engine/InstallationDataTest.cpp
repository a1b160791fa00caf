#include "CKWInstallationData.h"
#include "CKWInstalledPrerequisite.h"
#include "CKWMsiPackage.h"
#include "CKWUpdateCatalog.h"
#include "CatalogXml.h"
#include "ProductDescriptor.h"
#include "TestFolder.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Codes(const CKWInstallationData& data)
{
    std::vector<std::string> codes;
    for (const auto& product : data.GetProducts())
        codes.push_back(product->GetProductCode());
    return codes;
}

std::vector<std::string> Ids(const std::vector<CUpdateItem*>& updates)
{
    std::vector<std::string> ids;
    for (const CUpdateItem* update : updates)
        ids.push_back(update->GetId() + ":" + std::to_string(update->GetSelectionCount()));
    return ids;
}

std::string CurrentFolder()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

} // namespace

TEST(InstallationData, AnExclusiveAdditionReplacesEveryRecordAndLocksOutTheOthers)
{
    CKWInstallationData data;
    CKWInstalledProduct* a = data.AddInstalledProduct("{A}", PackVersion("1.2.3"), false);
    ASSERT_NE(nullptr, a);
    EXPECT_TRUE(a->IsInstalled());
    EXPECT_EQ(PackVersion("1.2.3"), a->GetVersion());
    EXPECT_EQ(a, data.AddInstalledProduct("{A}", false)) << "an existing record is returned";
    ASSERT_NE(nullptr, data.AddInstalledProduct("{B}", 0, false));
    ASSERT_NE(nullptr, data.AddDependentProduct("{D}", "NotAPrerequisite", false));
    EXPECT_EQ((std::vector<std::string>{"{D}", "{A}", "{B}"}), Codes(data)) << "dependent products go first";

    EXPECT_EQ(a, data.AddInstalledProduct("{A}", true)) << "an existing record is returned without any change";
    EXPECT_EQ(3u, data.GetProductCount());
    ASSERT_NE(nullptr, data.AddInstalledProduct("{C}", PackVersion("2.0"), true));
    EXPECT_EQ(std::vector<std::string>{"{C}"}, Codes(data));
    EXPECT_EQ(nullptr, data.AddInstalledProduct("{E}", 0, false));
    EXPECT_EQ(nullptr, data.AddDependentProduct("{F}", "Soap30", false));
    ASSERT_NE(nullptr, data.AddDependentProduct("{F}", "Soap30", true));
    EXPECT_EQ((std::vector<std::string>{"{F}", "{C}"}), Codes(data));
}

TEST(InstallationData, AnEmptyWorkingFolderDeliberatelyStaysEmptyNotTheDriveRoot)
{
    CKWInstallationData data;
    data.SetWorkingFolder("C:\\cache");
    EXPECT_EQ("C:\\cache\\", data.GetWorkingFolder());
    data.SetWorkingFolder("");
    EXPECT_EQ("", data.GetWorkingFolder());
}

TEST(InstallationData, APrerequisiteProductIsOfferedUpdatesOnlyWhileItIsMissing)
{
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    catalog.SetIgnoreList({});
    ASSERT_TRUE(catalog.LoadXml("<updates/>"));
    CKWInstalledProduct early("{S}", 0);
    EXPECT_TRUE(early.GetUpdates().empty());
    EXPECT_FALSE(early.IsComputed()) << "nothing is decided while the catalog is invalid";

    ASSERT_TRUE(catalog.LoadXml(CatalogXml(ProductXml("{S}", "Soap30", UpdateXml("s1", "3.0", "0.0", "0.0", "EXE")) +
                                           ProductXml("{N}", "NoSuch", UpdateXml("n1", "1.0", "0.0", "0.0", "EXE")))));
    EXPECT_EQ(1u, early.GetUpdates().size());

    // Detection reads only a scratch machine hive; the catalog's COM objects
    // exist already.
    std::string sandbox = "Software\\KwTests\\Machine" + std::to_string(GetCurrentProcessId());
    HKEY machine = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, sandbox.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &machine, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine));
    CKWInstalledPrerequisite missing("{S}", "Soap30");
    CKWInstalledPrerequisite unknown("{N}", "NoSuch");
    HKEY soap = nullptr;
    RegCreateKeyExA(machine, "Software\\Microsoft\\MSSOAP\\30", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &soap, nullptr);
    const char version[] = "3.0.0.0";
    RegSetValueExA(soap, "Version Number", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
    RegCloseKey(soap);
    CKWInstalledPrerequisite present("{S}", "Soap30");
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    RegDeleteTreeA(HKEY_CURRENT_USER, sandbox.c_str());

    EXPECT_FALSE(missing.IsInstalled());
    EXPECT_EQ("Soap Toolkit v.3.0", missing.GetProductName());
    EXPECT_EQ("Soap30", missing.GetPrerequisiteName());
    ASSERT_EQ(1u, missing.GetUpdates().size());
    EXPECT_EQ(0, missing.GetVersion());
    EXPECT_EQ("s1", missing.GetUpdates()[0]->GetId());
    EXPECT_TRUE(present.IsInstalled());
    EXPECT_TRUE(present.GetUpdates().empty());
    EXPECT_TRUE(present.IsComputed());
    EXPECT_FALSE(unknown.IsInstalled());
    EXPECT_TRUE(unknown.GetUpdates().empty()) << "a mnemonic that names no prerequisite gets nothing";
    EXPECT_TRUE(unknown.IsComputed());
}

// The process-wide records as the updater uses them after a check: choose
// the updates with the cache folder current, link and select them, then keep
// only the updater's own.
TEST(InstallationData, TheUpdaterFlowOverTheProcessWideRecordsDeliberatelyLeavesNoDanglingReference)
{
    const ProductDescriptor& product = GetProductDescriptor();
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    catalog.SetIgnoreList({});
    ASSERT_TRUE(catalog.LoadXml(CatalogXml(
        ProductXml(product.MainUpgradeCode, "MEL",
                   UpdateXml("m1", "1.1", "1.0", "1.0", "MSP", 10, DependentXml("m1")) +
                       UpdateXml("m2", "1.2", "1.1", "1.1", "MSP", 20)) +
        ProductXml(product.UpdaterCode, "UPD", UpdateXml("u1", "1.0.1", "1.0", "1.0", "UPD", 5, DependentXml("m2"))) +
        ProductXml("{D}", "DEP",
                   UpdateXml("d1", "1.1", "0.0", "0.0", "EXE", 7, DependentXml(product.MainUpgradeCode))))));

    CKWInstallationData& data = CKWInstallationData::GetInstance();
    ASSERT_EQ(0u, data.GetProductCount());
    TestFolder cache;
    data.SetWorkingFolder(cache.Path());
    data.AddInstalledProduct(product.UpdaterCode, PackVersion("1.0"), false);
    data.AddInstalledProduct(product.MainUpgradeCode, PackVersion("1.0"), false);
    data.AddInstalledProduct("{D}", 0, false);
    std::string before = CurrentFolder();
    EXPECT_EQ(4u, data.GetUpdateCount());
    EXPECT_EQ(before, CurrentFolder());
    CUpdateItem* m1 = catalog.FindUpdateById("m1");
    ASSERT_NE(nullptr, m1);
    auto* patch = dynamic_cast<CKWMsiPackage*>(m1->GetInstallable());
    ASSERT_NE(nullptr, patch);
    EXPECT_EQ(cache.File("m1.bin"), patch->GetPath()) << "the installables point into the cache";

    catalog.ResolveDependencies();
    auto prerequisites = [&catalog](const char* id) {
        const CUpdateItem* found = catalog.FindUpdateById(id);
        if (found == nullptr)
            return std::vector<std::string>{"<no update " + std::string(id) + ">"};
        std::vector<std::string> ids;
        for (const CUpdateItem* update : found->GetPrerequisites())
            ids.push_back(update->GetId());
        return ids;
    };
    EXPECT_EQ(std::vector<std::string>{"m2"}, prerequisites("u1")) << "named by id";
    EXPECT_EQ(std::vector<std::string>{}, prerequisites("m1")) << "an update naming itself";
    EXPECT_EQ(std::vector<std::string>{"m1"}, prerequisites("m2")) << "the product's earlier update";
    EXPECT_EQ(std::vector<std::string>{"m1"}, prerequisites("d1")) << "the main product's update for that version";
    EXPECT_EQ((std::vector<std::string>{"u1:1", "m1:6", "m2:3", "d1:1"}), Ids(data.GetSelectedUpdates()));
    EXPECT_TRUE(data.HasUpdates(product.MainUpgradeCode));
    EXPECT_FALSE(data.HasUpdates("{D}")) << "not installed";
    EXPECT_FALSE(data.HasUpdates("{nothing}"));
    EXPECT_EQ(catalog.FindUpdateById("m1"), catalog.FindUpdateForVersion(product.MainUpgradeCode, PackVersion("1.0")));
    EXPECT_EQ(catalog.FindUpdateById("m2"), catalog.FindUpdateForVersion(product.MainUpgradeCode, PackVersion("1.2")));
    EXPECT_EQ(nullptr, catalog.FindUpdateForVersion(product.MainUpgradeCode, PackVersion("1.3")));

    data.KeepOnlyUpdater();
    EXPECT_EQ(std::vector<std::string>{product.UpdaterCode}, Codes(data));
    EXPECT_EQ(std::vector<std::string>{"u1:1"}, Ids(catalog.GetAllUpdates()));
    EXPECT_EQ(std::vector<std::string>{}, prerequisites("u1")) << "no reference to a destroyed update remains";
    EXPECT_EQ(std::vector<std::string>{"u1:1"}, Ids(data.GetSelectedUpdates()));
}
