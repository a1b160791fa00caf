#include "CoreTestSupport.h"
#include "EngineMessage.h"
#include "SetupCore.h"
#include "ShowInstallerError.h"

#include <gtest/gtest.h>

// The installer error boxes, recorded as the core shows them.
using CoreBoxes = CoreTest;

TEST_F(CoreBoxes, SilentCodesShowNothing)
{
    for (UINT code : {1602u, 1603u, 1604u, 1641u, 3010u, 1259u})
        ShowInstallerError(code);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(CoreBoxes, FileErrorsAreShownAsAPackageThatCannotBeOpened)
{
    std::string expected = InstallerErrorText(1619);
    ASSERT_FALSE(expected.empty());
    for (UINT code : {2u, 3u, 123u})
        EXPECT_EQ(expected, InstallerErrorText(code)) << code;
    ShowInstallerError(2);
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ(expected, Boxes()[0].text);
    EXPECT_EQ("Melvaro 2012", Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), Boxes()[0].type);
}

TEST_F(CoreBoxes, CodesWithoutEngineTextUseTheCoreMessage)
{
    // The engine has no text of its own for an arbitrary code.
    EXPECT_EQ("An error occurred installing the package. Windows Installer returned '4242'.", InstallerErrorText(4242));
    g_language = kLanguageFrench;
    EXPECT_EQ("Une erreur est survenue durant l'installation du progiciel. Windows Installer a g\xE9n\xE9r\xE9 '4242'.",
              InstallerErrorText(4242));
}

TEST_F(CoreBoxes, EngineMessagesInBothLanguagesWithTheirIcons)
{
    EXPECT_EQ("Setup cancelled", LoadEngineMessage(kMsgSetupCancelled));
    EXPECT_EQ("The path 'C:\\x y' is invalid.", InsertPath(LoadEngineMessage(kMsgInvalidPath), "C:\\x y"));
    g_language = kLanguageFrench;
    EXPECT_EQ("Montage annul\xE9", LoadEngineMessage(kMsgSetupCancelled));

    ShowEngineMessage(kMsgSetupCancelled, "a");
    ShowEngineMessage(kMsgAdministratorRequired, "b");
    ShowEngineMessage(kMsgUpgradeQuestion, "c");
    ShowEngineMessage(kMsgUpgradeFailed, "d");
    ASSERT_EQ(4u, Boxes().size());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), Boxes()[0].type);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), Boxes()[1].type);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), Boxes()[2].type);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), Boxes()[3].type);
}
