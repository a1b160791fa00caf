#pragma once

#include "CKWLogFile.h"
#include "TestFolder.h"

#include <windows.h>

#include <memory>
#include <string>

// What a test of the updater's workers runs in: the current user's hive
// redirected to a scratch key, a fresh log, and fresh process-wide catalog
// and installation data whose working folder is a scratch folder.
class UpdaterSandbox {
public:
    UpdaterSandbox();
    ~UpdaterSandbox();
    UpdaterSandbox(const UpdaterSandbox&) = delete;
    UpdaterSandbox& operator=(const UpdaterSandbox&) = delete;

    // A text value at a path below HKEY_CURRENT_USER (with or without the
    // root's name in front); empty when absent.
    void SetUserValue(const std::string& keyPath, const std::string& name, const std::string& value);
    std::string UserValue(const std::string& keyPath, const std::string& name);
    // The log's lines so far, without the time stamps.
    std::string LogText() const;
    const std::string& WorkingFolder() const { return m_workingFolder; }

private:
    TestFolder m_folder;
    std::string m_sandboxKey;
    HKEY m_user = nullptr;
    std::unique_ptr<CKWLogFile> m_log;
    std::string m_workingFolder;
};
