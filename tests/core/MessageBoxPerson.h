#pragma once

#include <windows.h>

#include <string>

struct FoundBox {
    std::string caption;
    std::string text;
};

// Waits (up to 10 s) for a message box of this process with the given
// caption, reads its text and presses the button, as a person would. Run it
// on another thread than the one showing the box. An empty caption in the
// result means no box came.
FoundBox AnswerMessageBox(const std::string& caption, int button = IDOK);
