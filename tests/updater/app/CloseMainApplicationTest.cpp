#include "CEnumProcess.h"
#include "CKWLogFile.h"
#include "CMainAppCloser.h"
#include "CoreTestSupport.h"
#include "MainProgramFile.h"
#include "ProductDescriptor.h"

#include <gtest/gtest.h>

namespace {

// A copy of the main program's stand-in running from a given path with a
// given answer, ended when the test is over.
class RunningStandIn {
public:
    RunningStandIn(const std::string& path, const std::string& answer, const std::string& log)
    {
        if (path != StandInBesideTests())
            CopyFileA(StandInBesideTests().c_str(), path.c_str(), FALSE);
        ScopedEnvironment answerSetting("KWMAIN_ANSWER", answer);
        ScopedEnvironment logSetting("KWMAIN_LOG", log);
        m_process = StartProgram("\"" + path + "\"");
        WaitUntilStarted(log);
    }
    ~RunningStandIn()
    {
        if (IsRunning()) {
            TerminateProcess(m_process.Get(), 1);
            WaitForSingleObject(m_process.Get(), 10000);
        }
    }

    bool IsRunning() const { return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }
    DWORD Id() const { return GetProcessId(m_process.Get()); }
    static std::string StandInBesideTests() { return TestProgramFolder() + "\\melvaro.exe"; }

private:
    // The stand-in logs its start once its window is made and shown.
    void WaitUntilStarted(const std::string& log)
    {
        for (int tries = 0; tries < 200 && IsRunning(); ++tries) {
            if (ReadWholeFile(log).find("started") != std::string::npos)
                return;
            Sleep(50);
        }
        ADD_FAILURE() << "the stand-in did not start";
    }

    KwHandle m_process;
};

class CloseMainApplication : public ::testing::Test {
protected:
    std::string MainProgram() const { return m_install.File("melvaro.exe"); }
    std::string LogPath() const { return m_logs.File("melvaro.txt"); }
    std::string StandInLog() const { return ReadWholeFile(LogPath()); }
    bool Close() { return m_closer.CloseMainApplication(nullptr, MainProgram()); }

    TestFolder m_install;
    TestFolder m_logs;
    CMainAppCloser m_closer{GetProductDescriptor().UpdaterCode, ShutdownTimeouts{30000, 10000}};
};

TEST_F(CloseMainApplication, AcceptingProgramGetsTheRequestAndHasEndedWhenTheStepReturns)
{
    RunningStandIn program(MainProgram(), "accept", LogPath());
    ASSERT_TRUE(program.IsRunning());

    EXPECT_TRUE(Close());
    EXPECT_TRUE(m_closer.RequestDelivered());
    EXPECT_TRUE(m_closer.RequestAccepted());
    EXPECT_FALSE(program.IsRunning());
    // The record reached the program field by field.
    std::string log = StandInLog();
    EXPECT_NE(std::string::npos, log.find("request code=" + GetProductDescriptor().UpdaterCode +
                                          " path=" + MainProgram() + " sender=none"))
        << log;
    EXPECT_NE(std::string::npos, log.find("accepted\r\n")) << log;
}

TEST_F(CloseMainApplication, RefusalStopsTheUpdateAndLeavesTheProgramRunning)
{
    RunningStandIn program(MainProgram(), "refuse", LogPath());

    EXPECT_FALSE(Close());
    EXPECT_TRUE(m_closer.RequestDelivered());
    EXPECT_FALSE(m_closer.RequestAccepted());
    EXPECT_TRUE(program.IsRunning());
    EXPECT_NE(std::string::npos, StandInLog().find("refused\r\n")) << StandInLog();
}

TEST_F(CloseMainApplication, ProgramThatNeverAnswersStopsTheUpdateAfterTheTimeLimit)
{
    CMainAppCloser closer(GetProductDescriptor().UpdaterCode, ShutdownTimeouts{30000, 1500});
    RunningStandIn program(MainProgram(), "silent", LogPath());

    DWORD start = GetTickCount();
    EXPECT_FALSE(closer.CloseMainApplication(nullptr, MainProgram()));
    EXPECT_GE(GetTickCount() - start, 1400u);
    EXPECT_TRUE(closer.RequestDelivered());
    EXPECT_FALSE(closer.RequestAccepted());
    EXPECT_TRUE(program.IsRunning());
}

TEST_F(CloseMainApplication, LateAnswerWithinTheTimeLimitCounts)
{
    RunningStandIn program(MainProgram(), "delay:1000", LogPath());

    EXPECT_TRUE(Close());
    EXPECT_TRUE(m_closer.RequestAccepted());
    EXPECT_FALSE(program.IsRunning());
}

TEST_F(CloseMainApplication, MendedProgramTooBusyToTakeTheRequestIsLoggedAsATimeOut)
{
    CMainAppCloser closer(GetProductDescriptor().UpdaterCode, ShutdownTimeouts{500, 10000});
    TestFolder logFolder;
    CKWLogFile log(logFolder.File("updater.txt"), false);
    CKWLogFile* savedLog = g_logFile;
    g_logFile = &log;
    RunningStandIn program(MainProgram(), "hang:3000", LogPath());

    // Not delivered: the installation start goes on to wait for the file.
    bool result = closer.CloseMainApplication(nullptr, MainProgram());
    g_logFile = savedLog;
    EXPECT_TRUE(result);
    EXPECT_FALSE(closer.RequestDelivered());
    std::string text = ReadWholeFile(log.GetPath());
    EXPECT_NE(std::string::npos, text.find("Shutdown request timed out (Delay = 500)")) << text;
}

TEST_F(CloseMainApplication, NothingToCloseWhenTheProgramIsNotRunningOrNotInstalled)
{
    EXPECT_TRUE(Close());
    EXPECT_FALSE(m_closer.RequestDelivered());

    CopyFileA(RunningStandIn::StandInBesideTests().c_str(), MainProgram().c_str(), FALSE);
    EXPECT_TRUE(Close());
    EXPECT_FALSE(m_closer.RequestDelivered());
}

TEST_F(CloseMainApplication, SameProgramRunningFromAnotherFolderIsLeftAlone)
{
    CopyFileA(RunningStandIn::StandInBesideTests().c_str(), MainProgram().c_str(), FALSE);
    RunningStandIn elsewhere(RunningStandIn::StandInBesideTests(), "accept", LogPath());

    EXPECT_TRUE(Close());
    EXPECT_FALSE(m_closer.RequestDelivered());
    EXPECT_TRUE(elsewhere.IsRunning());
    EXPECT_EQ(std::string::npos, StandInLog().find("request")) << StandInLog();
}

TEST_F(CloseMainApplication, ProgramWithOnlyHiddenWindowsGetsNoRequest)
{
    ScopedEnvironment hidden("KWMAIN_WINDOW", "hidden");
    RunningStandIn program(MainProgram(), "accept", LogPath());

    // Nothing delivered: the caller goes on to wait for the file instead.
    EXPECT_TRUE(Close());
    EXPECT_FALSE(m_closer.RequestDelivered());
    EXPECT_TRUE(program.IsRunning());
    EXPECT_EQ(std::string::npos, StandInLog().find("request")) << StandInLog();
}

TEST(MainProgramFile, MendedFolderWithoutFinalBackslashStillNamesTheProgram)
{
    EXPECT_EQ("C:\\Program Files\\Melvaro\\melvaro.exe", MainProgramFile("C:\\Program Files\\Melvaro"));
    EXPECT_EQ("C:\\Program Files\\Melvaro\\melvaro.exe", MainProgramFile("C:\\Program Files\\Melvaro\\"));
}

class EnumProcessMethod : public ::testing::TestWithParam<unsigned> {};

TEST_P(EnumProcessMethod, FindsARunningProgramAndItsFile)
{
    TestFolder folder;
    RunningStandIn program(folder.File("melvaro.exe"), "silent", folder.File("log.txt"));
    CEnumProcess processes(GetParam());
    ASSERT_EQ(GetParam(), processes.GetMethods());

    bool found = false;
    CEnumProcess::CProcessEntry process;
    for (bool more = processes.FirstProcess(process); more && !found; more = processes.NextProcess(process))
        found = process.processId == program.Id();
    ASSERT_TRUE(found);
    EXPECT_EQ(0u, process.taskId);
    std::string name = process.fileName.substr(process.fileName.find_last_of('\\') + 1);
    EXPECT_EQ(0, _stricmp("melvaro.exe", name.c_str())) << process.fileName;

    bool ownFile = false;
    CEnumProcess::CModuleEntry module;
    for (bool more = processes.FirstModule(program.Id(), module); more;
         more = processes.NextModule(program.Id(), module))
        ownFile = ownFile || _stricmp(module.fullPath.c_str(), folder.File("melvaro.exe").c_str()) == 0;
    EXPECT_TRUE(ownFile);
}

INSTANTIATE_TEST_SUITE_P(ToolHelpAndProcessStatus, EnumProcessMethod,
                         ::testing::Values(CEnumProcess::kToolHelp, CEnumProcess::kProcessStatus));

} // namespace
