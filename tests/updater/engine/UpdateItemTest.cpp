#include "CKWExePackage.h"
#include "CKWMsiInstaller.h"
#include "CKWMsiPatch.h"
#include "CUpdateItem.h"
#include "TestFolder.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<CUpdateItem> MakeUpdate(const std::string& id)
{
    return std::make_unique<CUpdateItem>(id, "{P}", PackVersion("1.1"), PackVersion("1.0"), PackVersion("1.0"));
}

} // namespace

TEST(UpdateItem, EachFormatGetsItsInstallableForTheFileInTheCurrentFolder)
{
    TestFolder cache;
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(cache.Path().c_str()));
    auto make = [](const char* format) {
        auto update = MakeUpdate("u");
        update->SetFileName("u.bin");
        update->SetParameters("REBOOT=ReallySuppress");
        EXPECT_TRUE(update->SetFormat(format)) << format;
        return update;
    };
    auto patch = make("msp");
    auto package = make("Msi");
    auto executable = make("EXE");
    auto full = make("FMC");
    auto updater = make("upd");
    SetCurrentDirectoryA(previous);

    EXPECT_EQ(kFormatPatch, patch->GetFormat());
    auto* msp = dynamic_cast<CKWMsiPatch*>(patch->GetInstallable());
    ASSERT_NE(nullptr, msp);
    EXPECT_EQ(cache.File("u.bin"), msp->GetPath());
    EXPECT_EQ("ReallySuppress", msp->GetProperty("REBOOT", true, false));

    EXPECT_EQ(kFormatPackage, package->GetFormat());
    auto* msi = dynamic_cast<CKWMsiInstaller*>(package->GetInstallable());
    ASSERT_NE(nullptr, msi);
    EXPECT_EQ(cache.File("u.bin"), msi->GetPath());
    EXPECT_EQ("ReallySuppress", msi->GetProperty("REBOOT", true, false));
    EXPECT_EQ(5, msi->GetProductState(false)) << "the package counts as wanted";

    EXPECT_EQ(kFormatExecutable, executable->GetFormat());
    auto* exe = dynamic_cast<CKWExePackage*>(executable->GetInstallable());
    ASSERT_NE(nullptr, exe);
    EXPECT_EQ(cache.File("u.bin"), exe->GetPath());
    EXPECT_EQ("REBOOT=ReallySuppress", exe->GetParameters());

    EXPECT_EQ(kFormatFullPackage, full->GetFormat());
    EXPECT_EQ(nullptr, full->GetInstallable());
    EXPECT_EQ(kFormatUpdaterUpdate, updater->GetFormat());
    EXPECT_EQ(nullptr, updater->GetInstallable());

    EXPECT_FALSE(patch->SetFormat("ZIP"));
    EXPECT_EQ(kFormatNone, patch->GetFormat());
    EXPECT_EQ(nullptr, patch->GetInstallable());
}

TEST(UpdateItem, SelectionCountsFollowTwoLevelsOfPrerequisites)
{
    auto update = MakeUpdate("update");
    auto prerequisite = MakeUpdate("prerequisite");
    auto deeper = MakeUpdate("deeper");
    ASSERT_TRUE(update->AddPrerequisite(prerequisite.get()));
    ASSERT_TRUE(prerequisite->AddPrerequisite(deeper.get()));
    auto counts = [&] {
        return std::vector<int>{update->GetSelectionCount(), prerequisite->GetSelectionCount(),
                                deeper->GetSelectionCount()};
    };

    update->Select(true);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), counts());
    update->Select(false);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), counts()) << "what was pulled in stays selected";
    update->Select(true);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), counts()) << "a selected prerequisite is counted once more";
}

// Each update requires the one before it and, as a "dependent", the one two
// steps back: the paths to the first update grow like Fibonacci numbers.
std::vector<std::unique_ptr<CUpdateItem>> Ladder(int length)
{
    std::vector<std::unique_ptr<CUpdateItem>> updates;
    for (int i = 0; i < length; ++i) {
        updates.push_back(MakeUpdate("U" + std::to_string(i)));
        for (int back : {1, 2}) {
            if (i >= back)
                updates[i]->AddPrerequisite(updates[i - back].get());
        }
    }
    for (const auto& update : updates)
        update->Select(true);
    return updates;
}

TEST(UpdateItem, MendedSelectingALadderOfDependentsCountsEveryPathWithoutWalkingThem)
{
    std::vector<std::unique_ptr<CUpdateItem>> small = Ladder(12);
    EXPECT_EQ(376, small[0]->GetSelectionCount());
    EXPECT_EQ(4, small[9]->GetSelectionCount());
    small[11]->Select(false);
    EXPECT_EQ(232, small[0]->GetSelectionCount());
    EXPECT_EQ(0, small[11]->GetSelectionCount());

    // Walking each path took hours at this length and overflowed the counts.
    std::vector<std::unique_ptr<CUpdateItem>> large = Ladder(200);
    EXPECT_TRUE(large[199]->Requires(large[0].get()));
    for (auto it = large.rbegin(); it != large.rend(); ++it)
        (*it)->Select(false);
    EXPECT_GT(large[0]->GetSelectionCount(), 0) << "a count at its ceiling keeps the update selected";
    EXPECT_EQ(0, large[199]->GetSelectionCount());
}

TEST(UpdateItem, MendedAPrerequisiteThatWouldRequireTheUpdateIsRefused)
{
    auto a = MakeUpdate("a");
    auto b = MakeUpdate("b");
    auto c = MakeUpdate("c");
    EXPECT_FALSE(a->AddPrerequisite(a.get()));
    ASSERT_TRUE(a->AddPrerequisite(b.get()));
    ASSERT_TRUE(b->AddPrerequisite(c.get()));
    EXPECT_FALSE(c->AddPrerequisite(a.get())) << "c would require itself through a and b";
    EXPECT_TRUE(c->GetPrerequisites().empty());
    a->Select(true);
    EXPECT_EQ(3, c->GetSelectionCount());

    a->RemovePrerequisites({b.get()});
    EXPECT_TRUE(a->GetPrerequisites().empty());
    EXPECT_TRUE(c->AddPrerequisite(a.get()));
}
