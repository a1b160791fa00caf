#include "IInstallable.h"
#include "IPrerequisite.h"

#include <gtest/gtest.h>

namespace {

class FakePrerequisite : public IPrerequisite {
public:
    FakePrerequisite(int id, int kind, bool installed) : IPrerequisite(id), installed(installed), m_kind(kind) {}
    std::string GetBaseName() const override { return "Fake"; }
    int GetKind() const override { return m_kind; }

    bool installed;
    int detections = 0;

protected:
    bool Detect() override
    {
        ++detections;
        return installed;
    }

private:
    int m_kind;
};

class FakeInstallable : public IInstallable {
public:
    explicit FakeInstallable(bool wanted = false) : wanted(wanted) {}
    UINT Execute() override { return 0; }
    int GetInstallState() override { return 0; }
    bool IsWanted() override { return wanted; }

    bool wanted;
};

// An installer that is wanted when the prerequisite it installs is needed.
class FakeInstaller : public IInstallable {
public:
    explicit FakeInstaller(IPrerequisite& installs) : m_installs(installs) { installs.SetOwner(this); }
    UINT Execute() override { return 0; }
    int GetInstallState() override { return 0; }
    bool IsWanted() override { return m_installs.IsNeeded(); }

private:
    IPrerequisite& m_installs;
};

TEST(PrereqNames, EveryNameHasItsIdExactly)
{
    const char* names[] = {"Msi200",  "Msi301",        "IE4",     "IE501",   "IE55",    "IE6",
                           "IE7",     "IE8",           "Netfx10", "Netfx11", "Netfx20", "Netfx30",
                           "Netfx35", "Netfx40Client", "Netfx40", "Netfx45", "Soap30",  "VCRedist80"};
    for (int id = 0; id < 18; ++id)
        EXPECT_EQ(id, PrerequisiteFromName(names[id])) << names[id];

    EXPECT_EQ(-1, PrerequisiteFromName("ie6"));
    EXPECT_EQ(-1, PrerequisiteFromName("NETFX20"));
    EXPECT_EQ(-1, PrerequisiteFromName("IE6 "));
    EXPECT_EQ(-1, PrerequisiteFromName("Netfx40Clien"));
    EXPECT_EQ(-1, PrerequisiteFromName(""));
}

TEST(PrereqObject, KeepsTheFirstOwnerAndEachDependentOnce)
{
    FakePrerequisite prerequisite(kPrerequisiteIE6, kPrerequisiteKindIE, false);
    EXPECT_EQ(nullptr, prerequisite.GetOwner());
    EXPECT_EQ("", prerequisite.GetSupportAddress());
    FakeInstallable first, second;
    prerequisite.SetOwner(nullptr);
    prerequisite.SetOwner(&first);
    prerequisite.SetOwner(&second);
    EXPECT_EQ(&first, prerequisite.GetOwner());

    prerequisite.AddDependent(&first);
    prerequisite.AddDependent(nullptr);
    prerequisite.AddDependent(&second);
    prerequisite.AddDependent(&first);
    EXPECT_EQ((std::vector<IInstallable*>{&first, &second}), prerequisite.GetDependents());
}

TEST(PrereqObject, KeepsOnlyAPositiveDetection)
{
    FakePrerequisite prerequisite(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    EXPECT_FALSE(prerequisite.IsInstalled());
    EXPECT_FALSE(prerequisite.IsInstalled());
    EXPECT_EQ(2, prerequisite.detections);
    prerequisite.installed = true;
    EXPECT_TRUE(prerequisite.IsInstalled());
    prerequisite.installed = false;
    EXPECT_TRUE(prerequisite.IsInstalled());
    EXPECT_EQ(3, prerequisite.detections);
}

TEST(PrereqNeeded, NeededWhenADependentIsWanted)
{
    FakePrerequisite prerequisite(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    EXPECT_FALSE(prerequisite.IsNeeded());
    FakeInstallable unwanted(false), wanted(true);
    prerequisite.AddDependent(&unwanted);
    EXPECT_FALSE(prerequisite.IsNeeded());
    prerequisite.AddDependent(&wanted);
    EXPECT_TRUE(prerequisite.IsNeeded());
    wanted.wanted = false;
    EXPECT_FALSE(prerequisite.IsNeeded());
}

TEST(PrereqNeeded, InstallersThatNeedEachOthersPrerequisitesEndTheQuestion)
{
    FakePrerequisite netfx20(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    FakePrerequisite netfx35(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    FakeInstaller installs20(netfx20), installs35(netfx35);
    netfx20.AddDependent(&installs35);
    netfx35.AddDependent(&installs20);
    EXPECT_FALSE(netfx20.IsNeeded());

    FakeInstallable product(true);
    netfx35.AddDependent(&product);
    EXPECT_TRUE(netfx20.IsNeeded()) << "a wanted product needs 3.5, whose installer needs 2.0";
    EXPECT_TRUE(netfx35.IsNeeded());
}

TEST(PrereqCollect, FollowsOwnersAndSortsById)
{
    FakePrerequisite netfx35(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    FakePrerequisite netfx20(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    FakePrerequisite ie6(kPrerequisiteIE6, kPrerequisiteKindIE, true);
    FakePrerequisite msi(kPrerequisiteMsi301, kPrerequisiteKindMsi, false);
    FakeInstallable installer35;
    netfx35.SetOwner(&installer35);
    installer35.Prerequisites = {&netfx20, &ie6, &msi, nullptr};

    std::vector<int> ids;
    EXPECT_EQ(2u, CollectMissing(&netfx35, ids));
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), ids);

    EXPECT_EQ(2u, CollectMissing(&netfx20, ids)) << "an id already listed is not added again";
    EXPECT_EQ(2u, CollectMissing(&msi, ids)) << "the engine upgrade handles Windows Installer";
    EXPECT_EQ(2u, CollectMissing(&ie6, ids));

    std::vector<int> none;
    EXPECT_EQ(0u, CollectMissing(&msi, none));
    EXPECT_EQ(0u, CollectMissing(nullptr, none));
}

TEST(PrereqCollect, InstallersThatNeedEachOthersPrerequisitesEndTheWalk)
{
    FakePrerequisite netfx20(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    FakePrerequisite netfx35(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    FakeInstallable installs20, installs35;
    netfx20.SetOwner(&installs20);
    netfx35.SetOwner(&installs35);
    installs20.Prerequisites = {&netfx35};
    installs35.Prerequisites = {&netfx20, &netfx35};

    std::vector<int> ids;
    EXPECT_EQ(2u, CollectMissing(&netfx20, ids));
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), ids);

    std::vector<int> listed{kPrerequisiteNetfx35};
    EXPECT_EQ(2u, CollectMissing(&netfx35, listed)) << "a listed id still leads to its installer's needs";
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), listed);
}
} // namespace
