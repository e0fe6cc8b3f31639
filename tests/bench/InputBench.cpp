// Benchmark: the PC's time from an input message's text (as the channel has
// opened it) to SendInput returning, over 10,000 one-move messages; p50 and p99.
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "players/InputInjector.h"
#include "web/InputEvents.h"

int main()
{
    const int MOVES = 10000;
    SetCursorPos(300, 300);
    CInputInjector injector;
    std::vector<double> times;
    times.reserve(MOVES);
    for (int i = 0; i < MOVES; i++)
    {
        // Back and forth by a pixel, so the pointer stays clear of the edges.
        std::string message = std::string("{\"op\":\"input\",\"events\":[{\"t\":\"move\",\"dx\":") +
                              (i % 2 ? "-1" : "1") + ",\"dy\":0}]}";
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
    std::sort(times.begin(), times.end());
    printf("input: message to SendInput returned over %d moves: p50 %.0f us, p99 %.0f us, max %.0f us\n",
           MOVES, times[MOVES / 2], times[MOVES * 99 / 100], times.back());
    return 0;
}
