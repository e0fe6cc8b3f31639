// Winamp 3's conventions that need no window: what its caption tells, the
// volume estimate and the play state the controller keeps for it.
// Plain C++, no platform calls.
#pragma once
#include <stddef.h>
#include "PlayerController.h"

// What a caption such as "Artist - Song (3:45) (playing)" tells the phone.
struct Winamp3CaptionStatus
{
    PlayState nState; // from the state word, else the tracked state
    int nLength;      // seconds from the time in brackets, else -1
    int nPosition;    // the elapsed count while it is below the length, else -1
    bool bHasTime;    // a time was read: it becomes the track length
};

// Reads the caption; the title (at most nTitleSize - 1 bytes, always terminated)
// keeps the space before the brackets and is empty when the caption does not
// follow the pattern.
Winamp3CaptionStatus ParseWinamp3Caption(const char* pszCaption, PlayState nTrackedState,
                                         int nElapsed, char* pszTitle, size_t nTitleSize);

// Moves the volume estimate one step of 10 toward nTarget. The first call
// (estimate below 0) only records the target. Returns +1 for two presses up,
// -1 for two presses down, 0 for none.
int StepWinamp3Volume(int* pEstimate, int nTarget);

// The tracked state after Play and after Pause. Play restarts the elapsed count
// whenever it leads to playing.
PlayState Winamp3StateAfterPlay(PlayState nState, bool* pRestartCount);
PlayState Winamp3StateAfterPause(PlayState nState);

// Whether a tick adds a second: only while playing and below the length.
bool Winamp3TickCounts(PlayState nState, int nElapsed, int nLength);
