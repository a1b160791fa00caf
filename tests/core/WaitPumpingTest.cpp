#include "CoreTestSupport.h"
#include "TraceMessage.h"
#include "WaitPumping.h"

#include <gmock/gmock.h>

namespace {

int g_dispatched = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++g_dispatched;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of this thread that counts the WM_APP messages it receives.
class CountingWindow {
public:
    CountingWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CountingProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KwCountingWindow";
        RegisterClassA(&windowClass);
        m_window = CreateWindowA("KwCountingWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        g_dispatched = 0;
    }
    ~CountingWindow()
    {
        DestroyWindow(m_window);
        UnregisterClassA("KwCountingWindow", GetModuleHandleA(nullptr));
    }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

} // namespace

using PumpingWait = CoreTest;

TEST_F(PumpingWait, EveryQueuedWindowMessageIsDispatchedAndTracesAreKept)
{
    CountingWindow window;
    ASSERT_NE(nullptr, window.Get());
    for (int i = 0; i < 3; ++i)
        PostMessageA(window.Get(), WM_APP, 0, 0);
    TraceMessage("before the wait\n");

    ScopedEnvironment wait("KWSTUB_WAIT", "500");
    KwHandle process = StartProgram("\"" + TestProgramFolder() + "\\kwstub.exe\"");
    ASSERT_TRUE(process.IsValid());
    EXPECT_EQ(0u, WaitPumping(process.Get()));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 0));
    EXPECT_EQ(3, g_dispatched);
    EXPECT_THAT(TakeTraces(), ::testing::ElementsAre("before the wait\n"));
}

TEST_F(PumpingWait, AnInvalidHandleIsAnError)
{
    EXPECT_EQ(static_cast<UINT>(ERROR_INVALID_HANDLE), WaitPumping(nullptr));
}
