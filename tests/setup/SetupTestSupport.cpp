#include "SetupTestSupport.h"

#include <gtest/gtest.h>

TestIni::TestIni(const std::string& content) : m_path(m_folder.File("setup.ini"))
{
    WriteWholeFile(m_path, content);
}

MachineSandbox::MachineSandbox() : m_subkey("Software\\KwTests\\SetupMachine" + std::to_string(GetCurrentProcessId()))
{
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &m_machine, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_machine));
}

MachineSandbox::~MachineSandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(m_machine);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_subkey.c_str());
}

void MachineSandbox::SetString(const std::string& key, const char* name, const std::string& value)
{
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueA(m_machine, key.c_str(), name, REG_SZ, value.c_str(),
                                             static_cast<DWORD>(value.size() + 1)));
}

void MachineSandbox::SetNumber(const std::string& key, const char* name, DWORD value)
{
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueA(m_machine, key.c_str(), name, REG_DWORD, &value, sizeof value));
}

void RecordingWizard::SetState(int state)
{
    calls.push_back("SetState|" + std::to_string(state));
}

void RecordingWizard::SetDestinationFolder(const std::string& folder)
{
    calls.push_back("SetDestinationFolder|" + folder);
}

void RecordingWizard::SetStatusText(int line, const std::string& text)
{
    calls.push_back("SetStatusText|" + std::to_string(line) + "|" + text);
}

void RecordingWizard::SetProgressRange(int bar, int minimum, int maximum)
{
    calls.push_back("SetProgressRange|" + std::to_string(bar) + "|" + std::to_string(minimum) + "|" +
                    std::to_string(maximum));
}
