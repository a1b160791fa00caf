#include "CoreTestSupport.h"
#include "TraceMessage.h"
#include "WaitPumping.h"

#include <gmock/gmock.h>

namespace {

int g_dispatched = 0;

LRESULT CALLBACK CountApp(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_dispatched += message == WM_APP ? 1 : 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

using PumpingWait = CoreTest;

TEST_F(PumpingWait, EveryQueuedWindowMessageIsDispatchedAndTracesAreDeliberatelyKept)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountApp;
    windowClass.lpszClassName = "KwCountApp";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    HWND window = CreateWindowA("KwCountApp", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    g_dispatched = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(window, WM_APP, 0, 0);
    TraceMessage("before the wait\n");

    ScopedEnvironment wait("KWSTUB_WAIT", "500");
    KwHandle process = StartProgram("\"" + TestProgramFolder() + "\\kwstub.exe\"");
    EXPECT_EQ(0u, WaitPumping(process.Get()));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 0));
    EXPECT_EQ(3, g_dispatched);
    EXPECT_THAT(TakeTraces(), ::testing::ElementsAre("before the wait\n"));
    EXPECT_EQ(static_cast<UINT>(ERROR_INVALID_HANDLE), WaitPumping(nullptr));

    DestroyWindow(window);
    UnregisterClassA("KwCountApp", nullptr);
}
