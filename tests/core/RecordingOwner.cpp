#include "RecordingOwner.h"

namespace {

const char kClassName[] = "KwRecordingOwner";

} // namespace

RecordingOwner::RecordingOwner()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    m_window = CreateWindowA(kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
}

RecordingOwner::~RecordingOwner()
{
    DestroyWindow(m_window);
}

std::vector<RecordingOwner::Posted> RecordingOwner::Take()
{
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE))
        posted.push_back({msg.message, msg.wParam, msg.lParam});
    return posted;
}
