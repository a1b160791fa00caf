#include "KwRegistryException.h"
#include "KwRegistryKey.h"
#include "OsInfo.h"
#include "ProductDescriptor.h"
#include "RegistrySetting.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A scratch key below HKEY_CURRENT_USER holding values of every kind the
// readers meet; removed after each test.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_subkey = "Software\\KwTests\\Registry" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &m_key, nullptr));
        SetString("Program path", REG_SZ, "C:\\Apps\\Melvaro\\");
        SetString("Expand", REG_EXPAND_SZ, "%SystemRoot%\\x");
        SetString("Empty", REG_SZ, "");
        SetString("Exactly259", REG_SZ, std::string(259, 'a'));
        SetString("TooLong", REG_SZ, std::string(300, 'b'));
        DWORD number = 7;
        RegSetValueExA(m_key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    void TearDown() override
    {
        RegCloseKey(m_key);
        RegDeleteKeyA(HKEY_CURRENT_USER, m_subkey.c_str());
    }
    void SetString(const char* name, DWORD type, const std::string& value)
    {
        RegSetValueExA(m_key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    std::string Path() const { return "HKEY_CURRENT_USER\\" + m_subkey; }

    std::string m_subkey;
    HKEY m_key = nullptr;
};

LONG CodeOf(KwRegistryException* e)
{
    std::unique_ptr<KwRegistryException> owned(e);
    return owned->GetCode();
}

} // namespace

TEST_F(RegistryTest, ReadsPlainStringsAndFallsBackToTheDefault)
{
    EXPECT_EQ("C:\\Apps\\Melvaro\\", ReadRegistrySetting(Path(), "Program path", "dflt"));
    EXPECT_EQ(std::string(259, 'a'), ReadRegistrySetting(Path(), "Exactly259", "dflt"));
    EXPECT_EQ("dflt", ReadRegistrySetting(Path(), "Missing", "dflt"));
    EXPECT_EQ("dflt", ReadRegistrySetting(Path(), "Empty", "dflt"));
    EXPECT_EQ("dflt", ReadRegistrySetting(Path(), "Expand", "dflt")) << "REG_EXPAND_SZ is not a plain string";
    EXPECT_EQ("dflt", ReadRegistrySetting(Path(), "TooLong", "dflt")) << "over 260 bytes reads as absent";
    EXPECT_EQ("dflt", ReadRegistrySetting(Path(), "Number", "dflt"));
    EXPECT_EQ("dflt", ReadRegistrySetting(Path() + "\\NoSuchKey", "Program path", "dflt"));
    EXPECT_EQ("dflt", ReadRegistrySetting("hkey_current_user\\" + m_subkey, "Program path", "dflt"));
    EXPECT_EQ("dflt", ReadRegistrySetting("HKEY_NOWHERE\\" + m_subkey, "Program path", "dflt"));
    EXPECT_EQ("", ReadRegistrySetting("HKEY_CURRENT_USER", "Program path", "dflt")) << "no backslash";
}

TEST_F(RegistryTest, NestedOpensNeedAsManyCloses)
{
    KwRegistryKey key(HKEY_CURRENT_USER, m_subkey);
    EXPECT_EQ(nullptr, key.GetHandle());
    HKEY first = key.Open(KEY_READ);
    HKEY second = key.Open(KEY_READ);
    EXPECT_EQ(first, second);
    EXPECT_EQ(2, key.GetOpenCount());

    key.Close();
    ASSERT_EQ(first, key.GetHandle());
    DWORD values = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key.GetHandle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              &values, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(6u, values);

    key.Close();
    EXPECT_EQ(nullptr, key.GetHandle());
    EXPECT_EQ(0, key.GetOpenCount());
    key.Close(); // closing a closed key does nothing
    EXPECT_EQ(0, key.GetOpenCount());
}

TEST_F(RegistryTest, FailuresAreThrownWithTheirCode)
{
    KwRegistryKey missing(HKEY_CURRENT_USER, m_subkey + "\\Absent");
    try {
        missing.Open(KEY_READ);
        FAIL() << "opening a missing key must throw";
    } catch (KwRegistryException* e) {
        std::unique_ptr<KwRegistryException> owned(e);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, e->GetCode());
        EXPECT_FALSE(e->GetMessageText().empty());
    }
    EXPECT_FALSE(missing.Exists());

    KwRegistryKey rootless(nullptr, m_subkey);
    try {
        rootless.Open(KEY_READ);
        FAIL() << "a null root must throw";
    } catch (KwRegistryException* e) {
        EXPECT_EQ(1016, CodeOf(e));
    }
    EXPECT_FALSE(rootless.Exists());
}

TEST_F(RegistryTest, MendedAStringQueryOfAnotherTypeThrowsDatatypeMismatch)
{
    KwRegistryKey key(HKEY_CURRENT_USER, m_subkey);
    std::string text = "stale";
    try {
        key.QueryString("Number", text);
        FAIL() << "a DWORD is not a string";
    } catch (KwRegistryException* e) {
        EXPECT_EQ(ERROR_DATATYPE_MISMATCH, CodeOf(e));
    }
    EXPECT_EQ("", text);
    EXPECT_EQ(0, key.GetOpenCount()) << "the key is closed again after a failed query";
}

TEST_F(RegistryTest, MendedAKeyLeftOpenIsClosedWithItsObject)
{
    HKEY handle = nullptr;
    {
        KwRegistryKey key(HKEY_CURRENT_USER, m_subkey);
        handle = key.Open(KEY_READ);
        ASSERT_NE(nullptr, handle);
    }
    DWORD values = 0;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     &values, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RegistryTest, ValuesAndTheirAbsence)
{
    KwRegistryKey key(HKEY_CURRENT_USER, m_subkey);
    EXPECT_TRUE(key.Exists());
    EXPECT_TRUE(key.HasValue("Program path"));
    EXPECT_TRUE(key.HasValue("Exactly259"));
    EXPECT_FALSE(key.HasValue("TooLong"));
    EXPECT_FALSE(key.HasValue("Missing"));

    std::string text = "stale";
    key.QueryString("Missing", text);
    EXPECT_EQ("", text);
    key.QueryString("Program path", text);
    EXPECT_EQ("C:\\Apps\\Melvaro\\", text);
    EXPECT_EQ(0, key.GetOpenCount());

    KwRegistryException noCode(0);
    EXPECT_EQ("", noCode.GetMessageText());
}

TEST(RegistryRoot, ExactNamesOnly)
{
    EXPECT_EQ(HKEY_CLASSES_ROOT, RegistryRootFromName("HKEY_CLASSES_ROOT"));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, RegistryRootFromName("HKEY_CURRENT_CONFIG"));
    EXPECT_EQ(HKEY_CURRENT_USER, RegistryRootFromName("HKEY_CURRENT_USER"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, RegistryRootFromName("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(HKEY_USERS, RegistryRootFromName("HKEY_USERS"));
    EXPECT_EQ(nullptr, RegistryRootFromName("hkey_local_machine"));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKLM"));
    EXPECT_EQ(nullptr, RegistryRootFromName(""));
}

TEST(RegistryRoot, LegacyRootsDependOnTheWindowsVersion)
{
    EXPECT_EQ(HKEY_DYN_DATA, RegistryRootFromName("HKEY_DYN_DATA", OsWindows95));
    EXPECT_EQ(HKEY_DYN_DATA, RegistryRootFromName("HKEY_DYN_DATA", OsWindowsMe));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKEY_DYN_DATA", OsWin32s));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKEY_DYN_DATA", OsWindows2000));
    EXPECT_EQ(HKEY_PERFORMANCE_DATA, RegistryRootFromName("HKEY_PERFORMANCE_DATA", OsWindowsNT4));
    EXPECT_EQ(HKEY_PERFORMANCE_DATA, RegistryRootFromName("HKEY_PERFORMANCE_DATA", OsWindowsXP));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKEY_PERFORMANCE_DATA", OsWindowsServer2003));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKEY_PERFORMANCE_DATA", OsWindowsVistaOrLater));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKEY_DYN_DATA")) << "this system is NT 6 or later";
}

TEST(RegistrySandbox, InstalledFolderComesFromTheProductKeyOrTheDefault)
{
    // Redirect HKEY_LOCAL_MACHINE to a scratch key so the product's fixed key
    // is read without touching the real one.
    std::string sandbox = "Software\\KwTests\\Machine" + std::to_string(GetCurrentProcessId());
    HKEY machine = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, sandbox.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &machine, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine));

    const ProductDescriptor& product = GetProductDescriptor();
    std::string read = ReadRegistrySetting(product.SetupRegistryKey, product.InstallDirValueName, "dflt");
    EXPECT_EQ("dflt", read);

    HKEY setup = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(machine, "Software\\Zentrel\\Melvaro 2012\\Setup", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &setup, nullptr));
    const char folder[] = "E:\\Melvaro\\";
    RegSetValueExA(setup, "Program path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder);
    RegCloseKey(setup);
    read = ReadRegistrySetting(product.SetupRegistryKey, product.InstallDirValueName, "dflt");

    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    RegDeleteTreeA(HKEY_CURRENT_USER, sandbox.c_str());
    EXPECT_EQ(folder, read);
}
