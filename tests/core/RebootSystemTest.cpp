#include "CoreTestSupport.h"
#include "RebootSystem.h"
#include "TestFolder.h"

#include <utility>

namespace {

std::vector<std::pair<UINT, DWORD>> g_restarts;

BOOL RecordRestart(UINT flags, DWORD reason)
{
    g_restarts.emplace_back(flags, reason);
    return TRUE;
}

const char kWinInit[] = "C:\\Windows\\WinInit.Ini";

// An initialised core on NT with no restart pending; restarts are recorded.
class Reboot : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        g_restarts.clear();
        SetupCoreState& core = GetSetupCore();
        core.exitWindows = RecordRestart;
        core.initialised = true;
        core.IsWin9x = false;
        core.rebootNeeded = false;
    }
    void TearDown() override
    {
        DeleteFileA(kWinInit);
        CoreTest::TearDown();
    }
};

} // namespace

TEST_F(Reboot, OnlyAPendingRestartOfAnInitialisedCoreHappens)
{
    EXPECT_FALSE(RebootSystem());
    GetSetupCore().rebootNeeded = true;
    GetSetupCore().initialised = false;
    EXPECT_FALSE(RebootSystem());
    EXPECT_TRUE(g_restarts.empty());

    GetSetupCore().initialised = true;
    EXPECT_TRUE(RebootSystem());
    ASSERT_EQ(1u, g_restarts.size());
    EXPECT_EQ(static_cast<UINT>(EWX_REBOOT), g_restarts[0].first);
    EXPECT_EQ(0x84040002u, g_restarts[0].second);
}

TEST_F(Reboot, Windows9xRenameListKeepsARestartPending)
{
    WriteWholeFile(kWinInit, "[rename]\r\n");
    EXPECT_FALSE(IsRebootPending()) << "NT does not use WinInit.Ini";
    GetSetupCore().IsWin9x = true;
    EXPECT_TRUE(IsRebootPending());
    DeleteFileA(kWinInit);
    EXPECT_TRUE(IsRebootPending());
    EXPECT_TRUE(RebootSystem());
    ASSERT_EQ(1u, g_restarts.size());
    EXPECT_EQ(static_cast<UINT>(EWX_REBOOT), g_restarts[0].first);
    EXPECT_EQ(0u, g_restarts[0].second);
}
