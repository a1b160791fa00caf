#include "CKWLogFile.h"
#include "FolderTree.h"
#include "TestFolder.h"
#include "TraceMessage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& content)
{
    std::vector<std::string> lines;
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// True when the line has the time-stamped log form; body receives the text.
// (std::regex recurses per character, so long bodies are cut off first.)
bool ParseLine(const std::string& line, std::string& body)
{
    static const std::regex stamp(R"(~D=\d\d/\d\d/\d\d-\d\d:\d\d:\d\d   ~M=)");
    const size_t prefix = 26;
    if (line.size() < prefix || !std::regex_match(line.substr(0, prefix), stamp))
        return false;
    body = line.substr(prefix);
    return true;
}

// Installs a log for the length of a test and turns logging off afterwards.
class ScopedLog {
public:
    ScopedLog(const std::string& path, bool append) : m_log(new CKWLogFile(path, append)) { g_logFile = m_log.get(); }
    ~ScopedLog() { g_logFile = nullptr; }

private:
    std::unique_ptr<CKWLogFile> m_log;
};

} // namespace

TEST(LogLine, HasTimeStampMarkersAndExactlyOneLineFeed)
{
    SYSTEMTIME time = {};
    time.wYear = 2008;
    time.wMonth = 3;
    time.wDay = 15;
    time.wHour = 14;
    time.wMinute = 22;
    time.wSecond = 5;
    EXPECT_EQ("~D=08/03/15-14:22:05   ~M=hello\n", FormatLogLine(time, "hello"));
    EXPECT_EQ("~D=08/03/15-14:22:05   ~M=hello\n", FormatLogLine(time, "hello\n"));
    EXPECT_EQ("~D=08/03/15-14:22:05   ~M=\n", FormatLogLine(time, ""));
}

TEST(LogFile, QuotedPathInMissingFolderChainOpensTheUnquotedFile)
{
    TestFolder folder;
    std::string path = folder.Path() + "\\a\\b\\c\\KW#SETUP.txt";
    {
        ScopedLog log("\"" + path + "\"", false);
        EXPECT_EQ(path, g_logFile->GetPath());
        LogMessage("first %d", 1);
    }
    std::vector<std::string> lines = Lines(ReadWholeFile(path));
    ASSERT_EQ(1u, lines.size());
    std::string body;
    ASSERT_TRUE(ParseLine(lines[0], body)) << lines[0];
    EXPECT_EQ("first 1", body);
}

TEST(LogFile, AppendKeepsAndFreshLogEmptiesAnExistingFile)
{
    TestFolder folder;
    std::string path = folder.File("log.txt");
    WriteWholeFile(path, "older line\n");
    {
        CKWLogFile kept(path, true);
    }
    EXPECT_EQ("older line\n", ReadWholeFile(path));
    {
        CKWLogFile fresh(path, false);
    }
    EXPECT_EQ("", ReadWholeFile(path));
}

TEST(LogFile, EmptyPathIsDeliberatelyRefusedByThrowing)
{
    EXPECT_THROW(CKWLogFile("", true), std::invalid_argument);
    EXPECT_THROW(CKWLogFile("\"\"", true), std::invalid_argument);
}

TEST(LogFile, LongTextsAndPercentSignsAreLoggedWhole)
{
    TestFolder folder;
    std::string path = folder.File("log.txt");
    std::string longText(5000, 'x');
    longText += "END";
    {
        ScopedLog log(path, false);
        EXPECT_EQ(static_cast<int>(longText.size()), LogMessage("%s", longText.c_str()));
        std::string exactly511(511, 'y');
        LogMessage("%s", exactly511.c_str());
        LogMessage("100%% done, %s", "50% left");
        LogMessage("%s", "already ended\n");
    }
    std::vector<std::string> lines = Lines(ReadWholeFile(path));
    ASSERT_EQ(4u, lines.size());
    std::string body;
    ASSERT_TRUE(ParseLine(lines[0], body));
    EXPECT_EQ(longText, body);
    ASSERT_TRUE(ParseLine(lines[1], body));
    EXPECT_EQ(std::string(511, 'y'), body);
    ASSERT_TRUE(ParseLine(lines[2], body));
    EXPECT_EQ("100% done, 50% left", body);
    ASSERT_TRUE(ParseLine(lines[3], body));
    EXPECT_EQ("already ended", body);
}

TEST(LogFile, LoggingOffWritesNothing)
{
    ASSERT_EQ(nullptr, g_logFile);
    EXPECT_EQ(0, LogMessage("nobody hears %s", "this"));
}

TEST(LogFile, ConcurrentWritersNeverInterleaveOrLoseLines)
{
    TestFolder folder;
    std::string path = folder.File("log.txt");
    const int kLinesPerThread = 1500;
    const int kThreads = 3;
    {
        ScopedLog log(path, false);
        std::vector<std::thread> writers;
        for (int t = 0; t < kThreads; ++t) {
            writers.emplace_back([t] {
                std::string padding(t * 200 + 50, static_cast<char>('a' + t));
                for (int i = 0; i < kLinesPerThread; ++i)
                    LogMessage("thread %d line %d %s", t, i, padding.c_str());
            });
        }
        for (std::thread& writer : writers)
            writer.join();
    }
    std::vector<std::string> lines = Lines(ReadWholeFile(path));
    ASSERT_EQ(static_cast<size_t>(kLinesPerThread * kThreads), lines.size());
    std::vector<int> next(kThreads, 0);
    for (const std::string& line : lines) {
        std::string text;
        ASSERT_TRUE(ParseLine(line, text)) << line;
        int t = -1, i = -1, consumed = 0;
        ASSERT_EQ(2, std::sscanf(text.c_str(), "thread %d line %d %n", &t, &i, &consumed)) << text;
        ASSERT_TRUE(t >= 0 && t < kThreads) << text;
        EXPECT_EQ(next[t], i) << "lines of one thread keep their order";
        EXPECT_EQ(std::string(t * 200 + 50, static_cast<char>('a' + t)), text.substr(consumed));
        next[t]++;
    }
}

TEST(LogFile, RotationKeepsExactlyOnePreviousGeneration)
{
    TestFolder folder;
    std::string path = folder.File("KW#SETUP.txt");
    WriteWholeFile(path + ".bak", "oldest\n");
    WriteWholeFile(path, "previous\n");
    RotateToBackup(path);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ("previous\n", ReadWholeFile(path + ".bak"));
}

TEST(LogFile, MendedRotationKeepsTheBackupWhenThereIsNothingToRotate)
{
    TestFolder folder;
    std::string path = folder.File("KW#SETUP.txt");
    WriteWholeFile(path + ".bak", "previous\n");
    RotateToBackup(path);
    EXPECT_EQ("previous\n", ReadWholeFile(path + ".bak"));
}

TEST(TraceMessage, PostsTheFormattedTextToTheCallingThread)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // gives this thread a queue
    ASSERT_EQ(1, TraceMessage("[Info] MsiQueryProductState returned %d\n", 5));
    ASSERT_EQ(1, TraceMessage("%s", "50% of 100%"));

    UINT id = WriteToLogMessageId();
    EXPECT_EQ(RegisterWindowMessageA("WindowsMessageWriteToLog"), id);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, id, id, PM_REMOVE));
    EXPECT_EQ(nullptr, msg.hwnd);
    EXPECT_EQ(0, msg.lParam);
    EXPECT_EQ("[Info] MsiQueryProductState returned 5\n", TakeTracedText(msg.wParam));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, id, id, PM_REMOVE));
    EXPECT_EQ("50% of 100%", TakeTracedText(msg.wParam));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, id, id, PM_REMOVE));
}

TEST(TraceMessage, LongTextsArePostedWhole)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    std::string text(3000, 'z');
    TraceMessage("%s!", text.c_str());
    UINT id = WriteToLogMessageId();
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, id, id, PM_REMOVE));
    EXPECT_EQ(text + "!", TakeTracedText(msg.wParam));
}

TEST(FolderTree, CreatesEveryMissingParent)
{
    TestFolder folder;
    std::string deep = folder.Path() + "\\one\\two\\three";
    EXPECT_TRUE(CreateFolderTree(deep, nullptr));
    DWORD attributes = GetFileAttributesA(deep.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(CreateFolderTree(deep, nullptr)) << "an existing folder counts as created";
    EXPECT_TRUE(CreateFolderTree(folder.Path() + "\\four\\five\\", nullptr)) << "trailing separator";
    EXPECT_TRUE(CreateFolderTree("", nullptr));
}

TEST(FolderTree, FailsBelowAFile)
{
    TestFolder folder;
    WriteWholeFile(folder.File("plain"), "x");
    EXPECT_FALSE(CreateFolderTree(folder.File("plain") + "\\child", nullptr));
}
