#include "CKWExePackage.h"
#include "CKWMsiDll.h"
#include "CShEx.h"
#include "CoreTestSupport.h"
#include "ExpandEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ExpandEnvironment, ExpandsReferencesAndKeepsPlainTexts)
{
    SetEnvironmentVariableA("KW_TEST_FOLDER", "C:\\Program Files\\Zentrel");
    std::string text = "%KW_TEST_FOLDER%\\setup.exe /q";
    ExpandEnvironment(text);
    EXPECT_EQ("C:\\Program Files\\Zentrel\\setup.exe /q", text);

    std::string unknown = "%KW_NO_SUCH_VARIABLE%\\x";
    ExpandEnvironment(unknown);
    EXPECT_EQ("%KW_NO_SUCH_VARIABLE%\\x", unknown);

    std::string longValue(3000, 'v');
    SetEnvironmentVariableA("KW_TEST_LONG", longValue.c_str());
    std::string grows = "%KW_TEST_LONG%";
    ExpandEnvironment(grows);
    EXPECT_EQ(longValue, grows) << "the buffer grows to what the system asks for";

    std::string empty;
    ExpandEnvironment(empty);
    EXPECT_EQ("", empty);
}

TEST(ShellLauncher, SplitsProgramFolderAndParameters)
{
    CShEx quoted("\"C:\\Program Files\\Melvaro 2012\\melvaro.exe\" /LF  ", CShEx::kNoWait);
    EXPECT_EQ("\"C:\\Program Files\\Melvaro 2012\\melvaro.exe\"", quoted.GetFile());
    EXPECT_EQ("/LF", quoted.GetParameters());
    EXPECT_EQ("\"C:\\Program Files\\Melvaro 2012\\\"", quoted.GetFolder());

    CShEx readme("notepad.exe \"C:\\Program Files\\Melvaro 2012\\lisezmoi.txt\"", CShEx::kNoWait);
    EXPECT_EQ("notepad.exe", readme.GetFile());
    EXPECT_EQ("\"C:\\Program Files\\Melvaro 2012\\lisezmoi.txt\"", readme.GetParameters());

    CShEx bare("C:\\tools\\run.exe", CShEx::kWaitForExit);
    EXPECT_EQ("C:\\tools\\run.exe", bare.GetFile());
    EXPECT_EQ("", bare.GetParameters());
    EXPECT_EQ("C:\\tools\\", bare.GetFolder());
}

TEST(ExePackage, ExpandsAndCompletesItsPathAtConstruction)
{
    SetEnvironmentVariableA("KW_TEST_FOLDER", "C:\\Program Files\\Zentrel");
    CKWExePackage package("%KW_TEST_FOLDER%\\dotnetfx.exe", "/q /norestart %KW_TEST_FOLDER%");
    EXPECT_EQ("C:\\Program Files\\Zentrel\\dotnetfx.exe", package.GetPath());
    EXPECT_EQ("/q /norestart C:\\Program Files\\Zentrel", package.GetParameters());

    CKWExePackage none("", "%KW_TEST_FOLDER%");
    EXPECT_EQ("%KW_TEST_FOLDER%", none.GetParameters()) << "nothing is expanded without a path";
    EXPECT_EQ(2u, none.Execute());
    EXPECT_EQ(2u, CKWExePackage("C:\\no\\such\\installer.exe", "").Execute());
}

namespace {

// Runs the stand-in installer as an executable package; the engine binding
// that the package releases is bound again afterwards for the other tests.
class ExeRun : public CoreTest {
protected:
    void TearDown() override
    {
        g_msi.EnsureLoaded();
        CoreTest::TearDown();
    }
    // A copy of the stand-in under a folder whose names hold spaces.
    std::string SpacedCopy()
    {
        std::string folder = m_folder.File("Program Files");
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string copy = folder + "\\kw stub.exe";
        CopyFileA((TestProgramFolder() + "\\kwstub.exe").c_str(), copy.c_str(), FALSE);
        return copy;
    }

    StubLog m_log;
    TestFolder m_folder;
};

} // namespace

TEST_F(ExeRun, ExitCodesBecomeResultsAndARestartIsRemembered)
{
    std::string stub = TestProgramFolder() + "\\kwstub.exe";
    {
        ScopedEnvironment exit("KWSTUB_EXIT", "0");
        EXPECT_EQ(0u, CKWExePackage(stub, "/q /norestart").Execute());
    }
    EXPECT_FALSE(g_msi.IsBound()) << "the engine is released while an installer runs";
    EXPECT_NE(std::string::npos, m_log.Text().find("/q /norestart"));
    {
        ScopedEnvironment exit("KWSTUB_EXIT", "1603");
        EXPECT_EQ(1603u, CKWExePackage(stub, "").Execute());
        EXPECT_FALSE(GetSetupCore().rebootNeeded);
    }
    {
        ScopedEnvironment exit("KWSTUB_EXIT", "3010");
        EXPECT_EQ(0u, CKWExePackage(stub, "").Execute());
        EXPECT_TRUE(GetSetupCore().rebootNeeded);
    }
    std::vector<std::string> traces = TakeTraces();
    EXPECT_NE(traces.end(), std::find(traces.begin(), traces.end(), "ShellExecuteEx: Success, exit code: 3010\n"));
}

TEST_F(ExeRun, PathsWithSpacesAndVariablesAreStartedAsGiven)
{
    std::string copy = SpacedCopy();
    ScopedEnvironment folder("KW_STUB_FOLDER", copy.substr(0, copy.rfind('\\')));
    CKWExePackage package("%KW_STUB_FOLDER%\\kw stub.exe", "/p");
    EXPECT_EQ(copy, package.GetPath());
    EXPECT_EQ(0u, package.Execute());
    std::string launched = m_log.Text();
    EXPECT_EQ(0u, launched.find("\"" + copy + "\"")) << launched;
    EXPECT_EQ(std::string::npos, launched.find("\"\"")) << "quoted exactly once";

    std::vector<std::string> traces = TakeTraces();
    EXPECT_NE(traces.end(), std::find(traces.begin(), traces.end(), "ShellExecuteEx(\"" + copy + "\" /p)"));
}

TEST_F(ExeRun, ShellLauncherStartsProgramsInSpacedFolders)
{
    std::string copy = SpacedCopy();
    ScopedEnvironment exit("KWSTUB_EXIT", "7");
    CShEx waited("\"" + copy + "\" /LF", CShEx::kWaitForExit);
    EXPECT_EQ(0u, waited.Launch());
    EXPECT_EQ(7u, waited.GetExitCode());
    EXPECT_NE(std::string::npos, m_log.Text().find("/LF"));

    EXPECT_EQ(0u, RunCommandLine("\"" + copy + "\" /second", CShEx::kWaitForIdle));
    EXPECT_NE(ERROR_SUCCESS, RunCommandLine("\"" + m_folder.File("missing.exe") + "\"", CShEx::kNoWait));
}
