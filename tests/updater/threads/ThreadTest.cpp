#include "CThreadException.h"
#include "CWaiterThread.h"
#include "CWorkerThread.h"
#include "RecordingOwner.h"
#include "RegisteredMessages.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// A worker whose step waits until released, and counts how many steps of
// all such workers run at the same moment.
class GateWorker : public CWorkerThread {
public:
    explicit GateWorker(HWND owner = nullptr) : CWorkerThread(owner) {}
    ~GateWorker() override
    {
        release = true;
        DWORD code = 0;
        Stop(code, kNoTimeLimit);
    }

    std::atomic<bool> release{false};
    std::atomic<int> steps{0};
    static std::atomic<int> running;
    static std::atomic<int> mostAtOnce;

protected:
    int DoWork() override
    {
        int now = ++running;
        if (now > mostAtOnce)
            mostAtOnce = now;
        while (!release && PeekCommand() == kCommandNone)
            Sleep(5);
        Sleep(20);
        --running;
        ++steps;
        return release ? 1 : 0;
    }
};
std::atomic<int> GateWorker::running{0};
std::atomic<int> GateWorker::mostAtOnce{0};

TEST(WorkerThread, StartingARunningThreadThrowsAndLeavesItRunning)
{
    GateWorker worker;
    worker.Start();
    try {
        worker.Start();
        FAIL() << "a second start must throw";
    } catch (CThreadException* e) {
        EXPECT_EQ("Thread is already started!", e->GetMessageText());
        EXPECT_EQ(CThreadException::kAlreadyStarted, e->GetCode());
        delete e;
    }
    EXPECT_TRUE(worker.IsRunning());
    worker.release = true;
    EXPECT_TRUE(worker.WaitForActivityStatus(CThread::kIdle, 50));
    DWORD code = 1;
    EXPECT_TRUE(worker.Stop(code, kNoTimeLimit));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(1, worker.steps);
    // Stopping an ended worker only collects its exit code again.
    code = 1;
    EXPECT_TRUE(worker.Stop(code, 0));
    EXPECT_EQ(0u, code);
}

TEST(WorkerThread, StopEndsAWorkerWaitingForCommandsAndQueuesStopOnce)
{
    GateWorker worker;
    worker.Start();
    std::string error;
    // Stop while the step waits: the step returns 0 and the loop takes the
    // stop command, queued once although posted twice.
    EXPECT_TRUE(worker.PostCommand(kCommandStop, error));
    EXPECT_TRUE(worker.PostCommand(kCommandStop, error));
    EXPECT_TRUE(error.empty());
    DWORD code = 1;
    EXPECT_TRUE(worker.Stop(code, 50));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(CThread::kIdle, worker.GetActivityStatus());
    EXPECT_FALSE(worker.IsRunning());
}

TEST(WorkerThread, WorkersSharingTheKeyNeverWorkAtTheSameTime)
{
    GateWorker::running = 0;
    GateWorker::mostAtOnce = 0;
    {
        GateWorker first, second, third;
        first.release = second.release = third.release = true;
        first.Start();
        second.Start();
        third.Start();
        for (GateWorker* worker : {&first, &second, &third})
            EXPECT_TRUE(worker->WaitForActivityStatus(CThread::kIdle, 100));
    }
    EXPECT_EQ(1, GateWorker::mostAtOnce);
    // The key's lock went with the last worker; a new one starts afresh.
    GateWorker again;
    again.release = true;
    again.Start();
    EXPECT_TRUE(again.WaitForActivityStatus(CThread::kIdle, 50));
    EXPECT_EQ(1, again.steps);
}

TEST(WaiterThread, AFreeFileStartsNothingAndABusyOneIsReportedWhenReleased)
{
    TestFolder folder;
    const std::string path = folder.File("program.exe");
    WriteWholeFile(path, "main program");
    RecordingOwner owner;

    CWaiterThread idle;
    idle.WaitForFile(path, owner.Get(), THREAD_PRIORITY_NORMAL);
    EXPECT_FALSE(idle.IsRunning());
    EXPECT_TRUE(owner.Take().empty());

    HANDLE busy = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    CWaiterThread waiter;
    waiter.WaitForFile(path, owner.Get(), THREAD_PRIORITY_NORMAL);
    ASSERT_TRUE(waiter.IsRunning());
    Sleep(300);
    EXPECT_TRUE(owner.Take().empty());
    CloseHandle(busy);
    EXPECT_TRUE(waiter.WaitForActivityStatus(CThread::kIdle, 50));
    std::vector<RecordingOwner::Posted> posted = owner.Take();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(GetRegisteredMessages().waitCompleted, posted[0].message);
}

TEST(RegisteredMessages, EveryNameIsRegisteredOnceWithTheSystemsId)
{
    const RegisteredMessages& ids = GetRegisteredMessages();
    ASSERT_EQ(29u, kRegisteredMessageCount);
    for (size_t i = 0; i < kRegisteredMessageCount; ++i) {
        const RegisteredMessageName& entry = kRegisteredMessageNames[i];
        EXPECT_EQ(RegisterWindowMessageA(entry.name), ids.*entry.id) << entry.name;
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(ids.*kRegisteredMessageNames[j].id, ids.*entry.id) << entry.name;
    }
}

} // namespace
