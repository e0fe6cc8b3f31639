// Benchmark: the PC's time from an input message's text (as the channel has
// opened it) to SendInput returning, over 10,000 one-move messages; p50 and p99.
// Then the same without SendInput: what reading and planning cost alone.
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "players/InputInjector.h"
#include "web/InputEvents.h"

static void Run(const char* pszWhat, bool bSend)
{
    const int MOVES = 10000;
    CInputInjector injector;
    CInputTracker tracker;
    std::vector<double> times;
    for (int i = 0; i < MOVES; i++)
    {
        // Back and forth by a pixel, so the pointer stays clear of the edges.
        std::string message = std::string("{\"op\":\"input\",\"events\":[{\"t\":\"move\",\"dx\":") +
                              (i % 2 ? "-1" : "1") + "}]}";
        double fStart = Now();
        std::vector<InputEvent> events;
        std::vector<InputStep> steps;
        std::string error;
        bool bDone = ReadInputMessage(message, &events, &error) &&
                     (bSend ? injector.Play(events) : (tracker.Plan(events[0], &steps), true));
        times.push_back(bDone ? (Now() - fStart) * 1e6 : 1e9);
    }
    std::sort(times.begin(), times.end());
    printf("input: %s over %d moves: p50 %.1f us, p99 %.1f us, max %.0f us\n", pszWhat, MOVES,
           times[MOVES / 2], times[MOVES * 99 / 100], times.back());
}

int main()
{
    SetCursorPos(300, 300);
    Run("message to SendInput returned", true);
    Run("message read and planned, without SendInput", false);
    return 0;
}
