#include "MessageBoxPerson.h"
#include "ProductDescriptor.h"
#include "SystemMessage.h"
#include "TraceMessage.h"

#include <gtest/gtest.h>

#include <thread>

TEST(SystemMessage, FetchesTheSystemText)
{
    EXPECT_FALSE(GetSystemErrorText(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_FALSE(GetSystemErrorText(0).empty());
}

TEST(SystemMessage, ShowsTheTextUnderTheApplicationTitleAndTracesIt)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    std::string expected = GetSystemErrorText(ERROR_ACCESS_DENIED);
    FoundBox found;
    std::thread person([&found] {
        found = AnswerMessageBox(GetProductDescriptor().AppTitle);
    });
    ShowSystemMessage(ERROR_ACCESS_DENIED);
    person.join();
    EXPECT_EQ(GetProductDescriptor().AppTitle, found.caption);
    // The box may trim the trailing line break of the system text.
    EXPECT_EQ(0u, expected.find(found.text.substr(0, 10))) << found.text;

    UINT id = WriteToLogMessageId();
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, id, id, PM_REMOVE));
    EXPECT_EQ("System message: 5 - " + expected, TakeTracedText(msg.wParam));
}

TEST(TraceMessage, MendedDebugMessagesAreShownInABoxBeforeTheTextIsPosted)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    g_showDebugMessages = true;
    FoundBox found;
    std::thread person([&found] {
        found = AnswerMessageBox("DebugMsg");
    });
    TraceMessage("[Info] shown %d%%", 100);
    person.join();
    g_showDebugMessages = false;
    EXPECT_EQ("[Info] shown 100%", found.text);

    UINT id = WriteToLogMessageId();
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, id, id, PM_REMOVE));
    EXPECT_EQ("[Info] shown 100%", TakeTracedText(msg.wParam));
}
