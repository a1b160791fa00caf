#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The WM_COPYDATA record that asks the running main program to shut down.
// Both fields are zero-filled 8-bit texts that need not end in a zero when
// full.
struct ShutdownRequest {
    char updaterCode[40];
    char mainProgramPath[260];
};
static_assert(sizeof(ShutdownRequest) == 300, "the main program reads exactly 300 bytes");
static_assert(offsetof(ShutdownRequest, mainProgramPath) == 40, "the path follows the code");

// The COPYDATASTRUCT data identifier of the request.
const ULONG_PTR kShutdownRequestId = 2308;

ShutdownRequest MakeShutdownRequest(const std::string& updaterCode, const std::string& mainProgramPath);

// Names of the events the main program signals to answer.
std::string ShutdownAcceptedEventName(const std::string& updaterCode);
std::string ShutdownRefusedEventName(const std::string& updaterCode);
