// When the state a page shows has changed enough to wake the pages that wait for
// it. Plain C++. The position moves by itself while a track plays, and the page
// moves its bar on its own; only a jump (a seek, a new track) counts. A volume
// set by a phone or on the PC counts, and so does anything an app's media
// session tells besides.
#pragma once
#include "WebJson.h"

struct WatchedState
{
    WebStatus status;
    int nKind; // the active application
};

// nElapsedMs: the time between the two readings.
bool IsStateChange(const WatchedState& before, const WatchedState& now, unsigned nElapsedMs);
