#pragma once

#include "CIniFile.h"
#include "ISetupWizard.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A setup.ini written into a fresh folder.
struct TestIni : CIniFile {
    explicit TestIni(const std::string& content)
    {
        WriteWholeFile(folder.File("setup.ini"), content);
        SetFile(folder.File("setup.ini"));
    }
    TestFolder folder;
};

// HKEY_LOCAL_MACHINE redirected to a scratch key while it lives.
struct MachineSandbox {
    MachineSandbox()
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &machine, nullptr);
        EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine));
    }
    ~MachineSandbox()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(machine);
        RegDeleteTreeA(HKEY_CURRENT_USER, subkey.c_str());
    }
    void Set(const std::string& key, const char* name, const std::string& text)
    {
        RegSetKeyValueA(machine, key.c_str(), name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    void Set(const std::string& key, const char* name, DWORD number)
    {
        RegSetKeyValueA(machine, key.c_str(), name, REG_DWORD, &number, sizeof number);
    }
    std::string subkey = "Software\\KwTests\\SetupMachine" + std::to_string(GetCurrentProcessId());
    HKEY machine = nullptr;
};

// Records what the work asks of the wizard, as "Call|arg|arg".
struct RecordingWizard : ISetupWizard {
    void SetState(int state) override { calls.push_back("SetState|" + std::to_string(state)); }
    void SetDestinationFolder(const std::string& folder) override { calls.push_back("SetDestinationFolder|" + folder); }
    void SetStatusText(int line, const std::string& text) override
    {
        calls.push_back("SetStatusText|" + std::to_string(line) + "|" + text);
    }
    void SetProgressRange(int bar, int, int high) override
    {
        calls.push_back("SetProgressRange|" + std::to_string(bar) + "|" + std::to_string(high));
    }
    void Finish(bool success, bool restart) override
    {
        calls.push_back(std::string("Finish|") + (success ? "1" : "0") + "|" + (restart ? "1" : "0"));
    }
    void SetProgressPos(int bar, int position) override
    {
        calls.push_back("SetProgressPos|" + std::to_string(bar) + "|" + std::to_string(position));
    }
    void SetProgressStep(int bar, int step) override
    {
        calls.push_back("SetProgressStep|" + std::to_string(bar) + "|" + std::to_string(step));
    }
    void StepProgress(int bar) override { calls.push_back("StepProgress|" + std::to_string(bar)); }
    HWND GetWindow() const override { return nullptr; }
    std::vector<std::string> calls;
};
