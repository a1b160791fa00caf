#pragma once

#include "ISetupWizard.h"
#include "TestFolder.h"

#include <windows.h>

#include <string>
#include <vector>

// A setup.ini written into a fresh folder.
class TestIni {
public:
    explicit TestIni(const std::string& content);
    const std::string& Path() const { return m_path; }

private:
    TestFolder m_folder;
    std::string m_path;
};

// HKEY_LOCAL_MACHINE redirected to a scratch key while it lives.
class MachineSandbox {
public:
    MachineSandbox();
    ~MachineSandbox();
    MachineSandbox(const MachineSandbox&) = delete;
    MachineSandbox& operator=(const MachineSandbox&) = delete;

    void SetString(const std::string& key, const char* name, const std::string& value);
    void SetNumber(const std::string& key, const char* name, DWORD value);

private:
    std::string m_subkey;
    HKEY m_machine = nullptr;
};

// Records what the work asks of the wizard, as "Call|arg|arg".
class RecordingWizard : public ISetupWizard {
public:
    void SetState(int state) override;
    void SetDestinationFolder(const std::string& folder) override;
    void SetStatusText(int line, const std::string& text) override;
    void SetProgressRange(int bar, int minimum, int maximum) override;

    std::vector<std::string> calls;
};
