#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Which top-level window a command works on: by title (whole or leading
// part) and/or window class.
struct WindowQuery {
    std::string title;
    bool titlePrefix = false;
    std::string className;

    bool Matches(HWND window) const;
    // The first visible top-level window that matches, or null.
    HWND Find() const;
    // Polls until a matching window shows or the time is up.
    HWND WaitFor(DWORD timeoutMs) const;
};

// Sends a message to another program's window, giving up on a hung one.
LRESULT AskWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::string WindowText(HWND window);
std::string WindowClass(HWND window);
std::vector<HWND> ChildWindows(HWND parent);
// The child control of a dialog with this id, searched at any depth.
HWND ChildById(HWND parent, int id);
// The button whose text, without its mnemonic ampersands, is this text.
HWND ButtonByText(HWND parent, const std::string& text);
