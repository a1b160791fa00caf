#include "CoreTestSupport.h"
#include "RebootSystem.h"

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
        GetSetupCore().exitWindows = RecordRestart;
        GetSetupCore().initialised = true;
        GetSetupCore().IsWin9x = false;
        GetSetupCore().rebootNeeded = false;
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
    EXPECT_EQ((std::vector<std::pair<UINT, DWORD>>{{EWX_REBOOT, 0x84040002}}), g_restarts);
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
    EXPECT_EQ((std::vector<std::pair<UINT, DWORD>>{{EWX_REBOOT, 0}}), g_restarts);
}
