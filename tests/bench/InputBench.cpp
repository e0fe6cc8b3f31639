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

static const int MOVES = 10000;

static void Print(const char* pszWhat, std::vector<double>& times)
{
    std::sort(times.begin(), times.end());
    printf("input: %s over %d moves: p50 %.1f us, p99 %.1f us, max %.0f us\n", pszWhat, MOVES,
           times[MOVES / 2], times[MOVES * 99 / 100], times.back());
}

static std::string MoveMessage(int i)
{
    // Back and forth by a pixel, so the pointer stays clear of the edges.
    return std::string("{\"op\":\"input\",\"events\":[{\"t\":\"move\",\"dx\":") +
           (i % 2 ? "-1" : "1") + ",\"dy\":0}]}";
}

int main()
{
    SetCursorPos(300, 300);
    CInputInjector injector;
    std::vector<double> times;
    times.reserve(MOVES);
    for (int i = 0; i < MOVES; i++)
    {
        std::string message = MoveMessage(i);
        double fStart = Now();
        std::vector<InputEvent> events;
        std::string error;
        if (!ReadInputMessage(message, &events, &error) || !injector.Play(events))
        {
            printf("move %d failed: %s\n", i, error.c_str());
            return 1;
        }
        times.push_back((Now() - fStart) * 1e6);
    }
    Print("message to SendInput returned", times);
    times.clear();
    CInputTracker tracker;
    for (int i = 0; i < MOVES; i++)
    {
        std::string message = MoveMessage(i);
        double fStart = Now();
        std::vector<InputEvent> events;
        std::vector<InputStep> steps;
        std::string error;
        ReadInputMessage(message, &events, &error);
        tracker.Plan(events[0], &steps);
        times.push_back((Now() - fStart) * 1e6);
    }
    Print("message read and planned, without SendInput", times);
    return 0;
}
