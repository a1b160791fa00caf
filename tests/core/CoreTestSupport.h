#pragma once

#include "Handle.h"
#include "SetupCore.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type;
};

// Saves the engine core's state and puts it back after the test. The core's
// message boxes are recorded and answered from a script (IDOK when the
// script is empty), and the traces the test caused can be taken.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The texts traced on this thread since the last call, in order.
    std::vector<std::string> TakeTraces();
    std::vector<ShownBox>& Boxes();
    std::deque<int>& Answers();

private:
    SetupCoreState m_saved;
};

// Sets an environment variable (inherited by started programs) for the
// lifetime of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
};

// The folder of the test program, where the stand-in programs are copied.
std::string TestProgramFolder();

// Starts a program; the handle is invalid when it could not be started.
KwHandle StartProgram(const std::string& commandLine);

// Runs a program to its end; its exit code, or ~0u when it could not be run.
DWORD RunProgram(const std::string& commandLine);

// The lines a file holds, without their CRLF ends; none when it is missing.
std::vector<std::string> ReadLines(const std::string& path);
