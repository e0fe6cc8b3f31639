// Stopping workers: asked through the stop event and joined; a thread late to
// end is waited for, never killed, and what it does still happens.
#include <gtest/gtest.h>
#include <atomic>
#include "framework/WorkerThread.h"

namespace
{
struct Body
{
    DWORD nBusyMs; // work that ignores the stop request this long
    std::atomic<bool> bStarted;
    std::atomic<bool> bFinished; // set by the body as its last act
};

void BusyThenReturn(CWorkerThread& thread, void* pParam)
{
    Body& body = *static_cast<Body*>(pParam);
    body.bStarted = true;
    Sleep(body.nBusyMs);
    thread.PauseUnlessStopped(INFINITE);
    body.bFinished = true;
}
} // namespace

TEST(WorkerThread, ALateThreadIsWaitedForNotKilled)
{
    Body body = {1500, {false}, {false}};
    CWorkerThread thread;
    ASSERT_TRUE(thread.Start(BusyThenReturn, &body));
    while (!body.bStarted)
        Sleep(5);
    thread.RequestStop();
    EXPECT_FALSE(thread.Join(100)) << "a busy body cannot have returned yet";
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_TRUE(thread.Join(INFINITE));
    EXPECT_TRUE(body.bFinished) << "cut off before its last act";
}
