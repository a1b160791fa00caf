#pragma once

#include <windows.h>

#include <string>

// Which display a progress message is meant for (first message parameter).
enum ProgressTarget {
    kProgressTargetCheck = 0,
    kProgressTargetList = 1,
    kProgressTargetCurrent = 2,
};

// Which button "wm_SHOW_BUTTON_..." shows or hides (first message parameter).
enum ProgressButton {
    kProgressButtonBack = -1,
    kProgressButtonCancel = 0,
    kProgressButtonNext = 1,
};

// The registered ids of the messages that move a progress display. The
// second parameter carries the value; for the action text a heap text the
// receiver takes with TakeActionText, in every case, also when it ignores
// the message.
struct ProgressMessages {
    UINT setMin;
    UINT setMax;
    UINT setPos;
    UINT offsetPos;
    UINT setStep;
    UINT stepIt;
    UINT setActionText;
    UINT showButton;
};

// Registered once per process, on first use.
const ProgressMessages& GetProgressMessages();

// The second parameter of an action-text message; 0 when memory ran out, and
// then nothing may be sent.
LPARAM NewActionText(const std::string& text);

// Takes ownership of the text of an action-text message and frees it.
std::string TakeActionText(LPARAM text);
