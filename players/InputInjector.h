// The web remote's touchpad and keyboard on this PC: events played with
// SendInput, the buttons and modifiers they hold let go of when asked and at
// the end, so that a browser that goes away never leaves a key down.
#pragma once
#include <windows.h>
#include <mutex>
#include <vector>
#include "InputPlan.h"

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
    // Lets go of every button and modifier this injector holds.
    void ReleaseAll();
    bool IsHoldingAnything();

private:
    CInputInjector(const CInputInjector&);
    CInputInjector& operator=(const CInputInjector&);

    bool Inject(const std::vector<InputStep>& steps);

    std::mutex m_queueLock;            // guards m_pending and m_bPlaying
    std::vector<InputEvent> m_pending; // handed in while another thread plays
    bool m_bPlaying;
    std::mutex m_trackerLock; // one thread plans and sends at a time
    CInputTracker m_tracker;
};
