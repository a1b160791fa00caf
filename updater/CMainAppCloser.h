#pragma once

#include "KwHandle.h"

#include <windows.h>

#include <string>

// How long the closing step waits; tests shorten them.
struct ShutdownTimeouts {
    DWORD sendMs = 600000;   // for the main program to take the request
    DWORD answerMs = 120000; // for its answer through an event
};

// Asks the running main program to shut down and waits until it has ended.
// The main dialog owns one for its whole life: the two answer events live
// as long as it does.
class CMainAppCloser {
public:
    explicit CMainAppCloser(const std::string& updaterCode, const ShutdownTimeouts& timeouts = ShutdownTimeouts());
    CMainAppCloser(const CMainAppCloser&) = delete;
    CMainAppCloser& operator=(const CMainAppCloser&) = delete;

    // True when the installation may go on: the program at mainProgramPath
    // does not run, or it accepted and has ended. False when it refused, did
    // not answer, or the events could not be made. The dialog's window (or
    // null) is sent along with the request.
    bool CloseMainApplication(HWND dialog, const std::string& mainProgramPath);

    // Whether the last asked process took the request and accepted it; a
    // true result with nothing delivered means the program may still run
    // with only hidden windows, so the caller waits for its file.
    bool RequestDelivered() const { return m_delivered; }
    bool RequestAccepted() const { return m_accepted; }

private:
    struct Asking;
    static BOOL CALLBACK AskWindow(HWND window, LPARAM context);
    bool PrepareEvent(KwHandle& event, const std::string& name, const char* failure);
    void AskProcess(HWND dialog, DWORD processId, const std::string& mainProgramPath);
    void WaitForExit(DWORD processId);

    std::string m_updaterCode;
    ShutdownTimeouts m_timeouts;
    KwHandle m_acceptedEvent;
    KwHandle m_refusedEvent;
    bool m_delivered = false;
    bool m_accepted = false;
};
