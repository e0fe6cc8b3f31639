// Stopping workers from outside: never cut off inside a section that must not be,
// and left to end by themselves when they stay in one.
#include <gtest/gtest.h>
#include <atomic>
#include <thread>
#include "framework/WorkerThread.h"

namespace
{
struct Body
{
    bool bHangAfter; // outside the section, hang rather than return
    std::atomic<bool> bInSection;
    std::atomic<bool> bLeaveSection; // set by the test
    std::atomic<bool> bEnded;        // set by the body as it returns
};

// Stays in a section until told to leave it, then hangs or returns.
void StayInSection(CWorkerThread&, void* pParam)
{
    Body& body = *static_cast<Body*>(pParam);
    {
        CWorkerThread::CNoTerminate section;
        body.bInSection = true;
        while (!body.bLeaveSection)
            Sleep(5);
        body.bInSection = false;
    }
    while (body.bHangAfter)
        Sleep(1000);
    body.bEnded = true;
}

void WaitFor(const std::atomic<bool>& bFlag)
{
    while (!bFlag)
        Sleep(5);
}
} // namespace

TEST(WorkerThread, AThreadInASectionIsTerminatedOnlyOnceOutOfIt)
{
    Body body = {true, {false}, {false}, {false}};
    CWorkerThread thread;
    ASSERT_TRUE(thread.Start(StayInSection, &body));
    WaitFor(body.bInSection);
    std::thread releaser(
        [&]
        {
            Sleep(300);
            body.bLeaveSection = true;
        });
    thread.RequestStop();
    EXPECT_TRUE(thread.WaitOrTerminate(0));
    EXPECT_TRUE(body.bLeaveSection) << "terminated inside its section";
    EXPECT_FALSE(body.bInSection);
    releaser.join();
}

TEST(WorkerThread, AThreadThatStaysInASectionIsLeftAndDeletesItsObject)
{
    Body body = {false, {false}, {false}, {false}};
    CWorkerThread* pThread = new CWorkerThread(true);
    ASSERT_TRUE(pThread->Start(StayInSection, &body));
    WaitFor(body.bInSection);
    pThread->RequestStop();
    EXPECT_FALSE(pThread->WaitOrTerminate(0)) << "left running";
    body.bLeaveSection = true; // the object is the thread's now; it ends and deletes it
    WaitFor(body.bEnded);
}
