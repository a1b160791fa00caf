#pragma once

#include "InterfaceLanguage.h"
#include "KwHandle.h"
#include "SetupCore.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type;
};

// Saves the engine core's state (with the run kind, the interface language
// and the administrative install point) and puts it back after the test. The core's
// message boxes are recorded and answered from a script (IDOK when it is
// empty); the traces the test caused can be taken.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::string> TakeTraces();
    // The texts of the boxes shown since the last call.
    std::vector<std::string> TakeBoxTexts();
    std::vector<ShownBox>& Boxes();
    std::deque<int>& Answers();

private:
    SetupCoreState m_saved;
    int m_savedRunKind = 0;
    unsigned short m_savedLanguage = 0;
};

// Sets an environment variable, which started programs inherit, while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
};

// Where the stand-in programs started while it lives write their command lines.
class StubLog {
public:
    std::string Text() const { return ReadWholeFile(m_folder.File("launched.txt")); }

private:
    TestFolder m_folder;
    ScopedEnvironment m_variable{"KWSTUB_LOG", m_folder.File("launched.txt")};
};

// The first or last text of a list, or "<none>" when it is empty: a missing
// trace or call then fails its check instead of ending the test program.
std::string FirstOf(const std::vector<std::string>& texts);
std::string LastOf(const std::vector<std::string>& texts);

// The test program's folder, where the stand-in programs are copied.
std::string TestProgramFolder();

// Starts a program; the handle is invalid when it could not be started.
KwHandle StartProgram(const std::string& commandLine);

// Runs a program to its end: its exit code, or ~0u when it did not run.
DWORD RunProgram(const std::string& commandLine);
