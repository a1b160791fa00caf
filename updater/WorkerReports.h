#pragma once

#include <windows.h>

class CDialog;

// What the updater's progress windows do with a worker's failure reports,
// shown in a box owned by the dialog.

// The server's own message when the catalog holds one (it explains a failure
// better than ours), else the text of "strings" the worker named, with the
// worker's box style; nothing for 0.
void ShowTaskInterrupted(const CDialog& dialog, int stringId, UINT boxFlags);

// The server's message, else the system's text for the code in the interface
// language (US English when it has none), with the code.
void ShowTaskInterruptedWinErr(const CDialog& dialog, DWORD code);

// Frees the action texts a worker posted that no handler will take, once the
// dialog has ended.
void DiscardPendingActionTexts(HWND dialog);
