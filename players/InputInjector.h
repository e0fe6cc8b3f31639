// The web remote's touchpad and keyboard on this PC: events played with
// SendInput, the buttons and modifiers they hold let go of when asked and at
// the end, so that a browser that goes away never leaves a key down.
#pragma once
#include <windows.h>
#include <mutex>
#include <vector>
#include "InputPlan.h"
#include "../framework/ScopedHandle.h"
#include "../framework/WorkerThread.h"

class CInputInjector
{
public:
    CInputInjector();
    ~CInputInjector();

    // Plays the events in order. Events that another thread hands in while these
    // are played wait, and their moves are merged, so that a busy PC makes one
    // move of many instead of falling behind. False when SendInput took fewer
    // events than it was given (a window it may not reach, a locked PC).
    bool Play(const std::vector<InputEvent>& events);
    // The same on the injector's own thread, returning at once: a channel's reader
    // never waits for SendInput, and the moves that arrive while it runs are
    // merged into one.
    void Submit(const std::vector<InputEvent>& events);
    // Lets go of every button and modifier this injector holds.
    void ReleaseAll();
    // For good: the own thread ended, what waits dropped, everything let go of;
    // later events are ignored.
    void Stop();
    bool IsHoldingAnything();

private:
    CInputInjector(const CInputInjector&);
    CInputInjector& operator=(const CInputInjector&);

    static void WorkerBody(CWorkerThread& thread, void* pParam);
    // Plays what waits until nothing does; false when SendInput fell short.
    bool Drain();
    bool Inject(const std::vector<InputStep>& steps);
    bool PointerNow(POINT* pAt, POINT* pSaid);

    std::mutex m_queueLock;            // guards the next three
    std::vector<InputEvent> m_pending; // handed in while another thread plays
    bool m_bPlaying;
    bool m_bStopped;
    CScopedHandle m_wake; // auto-reset: events wait for the own thread
    CWorkerThread m_worker;
    std::mutex m_trackerLock; // one thread plans and sends at a time, and guards:
    CInputTracker m_tracker;
    bool m_bMoved;       // the last batch moved the pointer ...
    POINT m_seenBefore;  // ... from where the system said it was
    POINT m_sentTo;      // ... to here
};
