#pragma once

#include <windows.h>

#include <vector>

// A message-only window on the test's thread that keeps what workers post to
// it, as an owner dialog would receive it.
class RecordingOwner {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    RecordingOwner();
    ~RecordingOwner();
    RecordingOwner(const RecordingOwner&) = delete;
    RecordingOwner& operator=(const RecordingOwner&) = delete;

    HWND Get() const { return m_window; }
    // Takes every message posted so far. Action texts stay owned by the
    // caller, who frees them with TakeActionText.
    std::vector<Posted> Take();

private:
    HWND m_window;
};
