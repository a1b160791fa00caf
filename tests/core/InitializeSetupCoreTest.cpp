#include "CoreTestSupport.h"
#include "InitializeSetupCore.h"
#include "IsAdministrator.h"
#include "IsTerminalServer.h"

namespace {

// A core that was never initialised; the run kind comes back after the test.
class CoreInitialisation : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        GetSetupCore() = SetupCoreState();
        m_savedRunKind = g_runKind;
        g_runKind = 0;
    }
    void TearDown() override
    {
        g_runKind = m_savedRunKind;
        CoreTest::TearDown();
    }

    bool MutexExists()
    {
        return KwHandle(OpenMutexA(SYNCHRONIZE, FALSE, "Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}"))
            .IsValid();
    }

    int m_savedRunKind = 0;
};

} // namespace

TEST_F(CoreInitialisation, InitialisesOnceAndHoldsTheInstallationMutex)
{
    HWND owner = GetDesktopWindow();
    ASSERT_EQ(0u, InitializeSetupCore(GetModuleHandleA(nullptr), owner));
    const SetupCoreState& core = GetSetupCore();
    EXPECT_TRUE(core.initialised && !core.IsWin9x && core.administrator);
    EXPECT_GE(core.windowsMajor, 5u);
    EXPECT_EQ(TestProgramFolder() + "\\core_tests.exe", core.programPath);
    EXPECT_EQ("100", core.CoreProperties.at(kCorePropertyMinimumMsi));
    EXPECT_TRUE(MutexExists());
    EXPECT_EQ(0u, InitializeSetupCore(nullptr, nullptr)) << "already initialised";
    EXPECT_EQ(owner, core.owner);

    std::string second = "\"" + TestProgramFolder() + "\\core_second_instance.exe\"";
    EXPECT_EQ(1618u, RunProgram(second));
    GetSetupCore().singleInstanceMutex.reset();
    EXPECT_FALSE(MutexExists());
    EXPECT_EQ(0u, RunProgram(second));
}

TEST_F(CoreInitialisation, MendedAFailedStartLeavesNothingBehind)
{
    g_runKind = kRunKindUsage;
    EXPECT_EQ(160u, InitializeSetupCore(GetModuleHandleA(nullptr), nullptr));
    g_runKind = 0;
    // No module has this handle, so the program path cannot be read.
    EXPECT_NE(0u, InitializeSetupCore(reinterpret_cast<HINSTANCE>(0x10), nullptr));
    EXPECT_FALSE(GetSetupCore().initialised);
    EXPECT_FALSE(MutexExists());
    EXPECT_EQ(0u, InitializeSetupCore(GetModuleHandleA(nullptr), nullptr));
}

TEST(Platform, AdministratorsAndTerminalServer)
{
    // Wine runs programs as a member of the Administrators group.
    EXPECT_TRUE(IsAdministratorByTokenGroups());
    EXPECT_TRUE(IsAdministratorByMembership());
    EXPECT_FALSE(IsTerminalServer());

    auto list = [](const char* text, size_t size) {
        return std::vector<char>(text, text + size);
    };
    EXPECT_TRUE(MultiStringContains(list("Small Business\0Terminal Server\0", 32), "Terminal Server"));
    EXPECT_TRUE(MultiStringContains(list("Terminal Server", 15), "Terminal Server")) << "without the final null";
    EXPECT_FALSE(MultiStringContains(list("Terminal Server Edition\0", 25), "Terminal Server"));
    EXPECT_FALSE(MultiStringContains(list("Terminal\0Server\0", 17), "Terminal Server"));
    EXPECT_FALSE(MultiStringContains(list("\0Terminal Server\0", 18), "Terminal Server")) << "ends at an empty entry";
}
