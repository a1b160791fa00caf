#include "CKWExePackage.h"
#include "CShEx.h"
#include "ExpandEnvironment.h"

#include <gtest/gtest.h>

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
