#include "CKWMsiDll.h"
#include "FakeMsi.h"

#include <gtest/gtest.h>

TEST(MsiBinding, BindsEveryEntryPointOfTheSystemEngine)
{
    EXPECT_TRUE(g_msi.IsBound()) << "the process-wide binding loads at start-up";
    EXPECT_NE(nullptr, g_msi.GetModule());
    EXPECT_EQ(0u, g_msi.EnsureLoaded());

    g_msi.Unload();
    EXPECT_FALSE(g_msi.IsBound());
    EXPECT_EQ(nullptr, g_msi.MsiInstallProductA);
    EXPECT_EQ(0u, g_msi.EnsureLoaded());
    EXPECT_TRUE(g_msi.IsBound());
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, g_msi.MsiQueryProductStateA("{00000000-0000-0000-0000-000000000000}"));
}

TEST(MsiBinding, LibraryComesFromTheRegisteredInstallerFolder)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Installer", 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    char saved[MAX_PATH] = "";
    DWORD savedSize = sizeof saved;
    bool hadValue = RegQueryValueExA(key, "InstallerLocation", nullptr, nullptr, reinterpret_cast<BYTE*>(saved),
                                     &savedSize) == ERROR_SUCCESS;

    const char folder[] = "C:\\windows\\system32";
    RegSetValueExA(key, "InstallerLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder);
    EXPECT_EQ("C:\\windows\\system32\\msi.dll", CKWMsiDll::LibraryPath());
    const char withSlash[] = "C:\\windows\\system32\\";
    RegSetValueExA(key, "InstallerLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(withSlash), sizeof withSlash);
    EXPECT_EQ("C:\\windows\\system32\\msi.dll", CKWMsiDll::LibraryPath());
    DWORD number = 1;
    RegSetValueExA(key, "InstallerLocation", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    EXPECT_EQ("msi.dll", CKWMsiDll::LibraryPath()) << "a value of another type loads by name";
    RegDeleteValueA(key, "InstallerLocation");
    EXPECT_EQ("msi.dll", CKWMsiDll::LibraryPath());

    if (hadValue)
        RegSetValueExA(key, "InstallerLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), savedSize);
    RegCloseKey(key);
}

TEST(MsiBinding, FakesTakeThePlaceOfTheEngineAndAreRemovedAgain)
{
    auto realInstall = g_msi.MsiInstallProductA;
    {
        FakeMsi fake;
        fake.installResult = 1603;
        EXPECT_EQ(1603u, g_msi.MsiInstallProductA("C:\\p.msi", "A=1"));
        EXPECT_EQ(std::vector<std::string>{"C:\\p.msi|A=1"}, fake.CallsTo("MsiInstallProductA"));
    }
    EXPECT_EQ(realInstall, g_msi.MsiInstallProductA);
}
