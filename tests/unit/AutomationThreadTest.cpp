// The apartment thread of the slide-show controllers: an operation whose caller
// stopped waiting before its turn is dropped, not run late; one running finishes.
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <vector>
#include "framework/WorkerThread.h"
#include "players/AutomationThread.h"

namespace
{
const int HELD = 1, LATE = 2, LAST = 3;

struct Owner
{
    HANDLE hRelease;
    std::atomic<bool> bHeldRunning;
    std::vector<int> ran, dropped; // both on the apartment thread
};

void Operation(void* pOwner, int nOperation, const char*, AutomationOutcome&)
{
    Owner& owner = *static_cast<Owner*>(pOwner);
    if (nOperation == HELD)
    {
        owner.bHeldRunning = true;
        WaitForSingleObject(owner.hRelease, INFINITE);
    }
    owner.ran.push_back(nOperation);
}

void Dropped(void* pOwner, int nOperation)
{
    static_cast<Owner*>(pOwner)->dropped.push_back(nOperation);
}

struct Call
{
    CAutomationThread* pApartment;
    int nOperation;
};

void RunCall(CWorkerThread&, void* pCall)
{
    AutomationOutcome outcome;
    static_cast<Call*>(pCall)->pApartment->Run(static_cast<Call*>(pCall)->nOperation, NULL,
                                               outcome);
}
} // namespace

TEST(AutomationThread, AnOperationWhoseCallerStoppedWaitingIsDroppedNotRunLate)
{
    Owner owner;
    owner.hRelease = CreateEventA(NULL, TRUE, FALSE, NULL);
    owner.bHeldRunning = false;
    CAutomationThread apartment(Operation, Dropped, &owner);
    Call held = {&apartment, HELD}, late = {&apartment, LATE};
    CWorkerThread heldCaller, lateCaller;
    ASSERT_TRUE(heldCaller.Start(RunCall, &held));
    while (!owner.bHeldRunning)
        Sleep(5);
    // The late caller queues behind the held operation, then its link is stopped.
    ASSERT_TRUE(lateCaller.Start(RunCall, &late));
    lateCaller.RequestStop();
    lateCaller.Join(INFINITE);
    SetEvent(owner.hRelease);
    heldCaller.Join(INFINITE);
    apartment.Finish(LAST, INFINITE);
    EXPECT_EQ(std::vector<int>({HELD, LAST}), owner.ran);
    EXPECT_EQ(std::vector<int>({LATE}), owner.dropped);
    CloseHandle(owner.hRelease);
}

namespace
{
struct Lines : public CControllerLog
{
    void LogControllerLine(const char* pszLine) override { lines.push_back(pszLine); }
    std::vector<std::string> lines;
};
} // namespace

TEST(AutomationThread, AFinishThatTakesLongIsLoggedAndWaitedFor)
{
    Owner owner;
    owner.hRelease = CreateEventA(NULL, TRUE, FALSE, NULL);
    owner.bHeldRunning = false;
    CAutomationThread apartment(Operation, Dropped, &owner);
    Call held = {&apartment, HELD};
    CWorkerThread heldCaller;
    ASSERT_TRUE(heldCaller.Start(RunCall, &held));
    while (!owner.bHeldRunning)
        Sleep(5);
    CWorkerThread releaser;
    ASSERT_TRUE(releaser.Start(
        [](CWorkerThread&, void* pEvent)
        {
            Sleep(500);
            SetEvent(static_cast<HANDLE>(pEvent));
        },
        owner.hRelease));
    Lines log;
    apartment.Finish(LAST, 50, &log, "The show");
    EXPECT_EQ(std::vector<std::string>({"The show's automation thread is late to end; waiting "
                                        "for it\r\n"}),
              log.lines);
    EXPECT_EQ(std::vector<int>({HELD, LAST}), owner.ran) << "the thread was cut off";
    heldCaller.Join(INFINITE);
    releaser.Join(INFINITE);
    CloseHandle(owner.hRelease);
}
