#pragma once

#include <windows.h>

#include <atomic>
#include <string>

// Message boxes of the engine's errors and warnings; a seam so tests can
// answer them without a person.
using InstallUIMessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language);

// The handler's process-wide state. The progress fields are re-initialised
// by every reset record the engine sends.
struct InstallUIState {
    int total = 0;
    int start = 0;
    bool forward = true;
    bool scriptInProgress = false;
    bool actionDataStepping = false;
    std::string actionName;
    std::string actionDescription;

    // The program's cancel flag; progress records are answered with cancel
    // while it is set. None: never cancelled.
    const std::atomic<bool>* cancelFlag = nullptr;
    InstallUIMessageBoxFunction messageBox = MessageBoxExA;
};

InstallUIState& GetInstallUIState();

// The engine's external user-interface handler. The context is the window
// that shows the current package's progress; every progress message goes to
// it synchronously, with the first parameter kProgressTargetCurrent.
INT WINAPI InstallUIHandler(LPVOID context, UINT messageType, LPCSTR message);

// Installs the handler on the bound engine for every message type, with the
// window as context and a fresh progress state. The cancel flag is the
// program's own (setup: g_cancelRequested, updater: g_installCancelled).
// False when the engine is not bound.
bool SetInstallUIHandler(HWND context, const std::atomic<bool>* cancelFlag);
