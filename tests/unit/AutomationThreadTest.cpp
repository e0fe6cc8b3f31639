// The apartment thread of the slide-show controllers: an operation whose caller
// stopped waiting before its turn is dropped, not run late; one running finishes.
#include <gtest/gtest.h>
#include <atomic>
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
