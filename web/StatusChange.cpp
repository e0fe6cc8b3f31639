#include "StatusChange.h"
#include <stdlib.h>
#include "../players/PlayerController.h"

// A reading is taken every quarter second or so; a busy machine may stretch
// that, so the position may drift by this much before it counts as a jump.
static const int POSITION_SLACK_SECONDS = 2;

bool IsStateChange(const WatchedState& before, const WatchedState& now, unsigned nElapsedMs)
{
    const WebStatus& a = before.status;
    const WebStatus& b = now.status;
    if (before.nKind != now.nKind || a.nState != b.nState || a.nLength != b.nLength ||
        a.nShuffle != b.nShuffle || a.nRepeat != b.nRepeat || a.title != b.title ||
        a.nVolume != b.nVolume)
        return true;
    // No position known (media keys, a session without a timeline): nothing moves.
    if (a.nPosition < 0 || b.nPosition < 0)
        return a.nPosition != b.nPosition;
    bool bPlaying = b.nState == PLAY_STATE_PLAYING;
    long long nExpected = a.nPosition + (bPlaying ? static_cast<long long>(nElapsedMs / 1000) : 0);
    return llabs(static_cast<long long>(b.nPosition) - nExpected) > POSITION_SLACK_SECONDS;
}
