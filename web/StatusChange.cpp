#include "StatusChange.h"
#include <stdlib.h>
#include "../players/PlayerController.h"

// A reading is taken every quarter second or so; a busy machine may stretch
// that, so the position may drift by this much before it counts as a jump.
static const int POSITION_SLACK_SECONDS = 2;

static bool SameApps(const std::vector<MediaApp>& a, const std::vector<MediaApp>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
    {
        if (a[i].id != b[i].id || a[i].name != b[i].name || a[i].bDriven != b[i].bDriven)
            return false;
    }
    return true;
}

static bool SameMedia(const WebStatus& a, const WebStatus& b)
{
    const MediaDetails& m = a.media;
    const MediaDetails& n = b.media;
    return m.title == n.title && m.artist == n.artist && m.album == n.album &&
           m.appName == n.appName && a.art == b.art && m.bAppChosen == n.bAppChosen &&
           SameApps(m.apps, n.apps);
}

bool IsStateChange(const WatchedState& before, const WatchedState& now, unsigned nElapsedMs)
{
    const WebStatus& a = before.status;
    const WebStatus& b = now.status;
    if (before.nKind != now.nKind || a.nState != b.nState || a.nLength != b.nLength ||
        a.nShuffle != b.nShuffle || a.nRepeat != b.nRepeat || a.title != b.title ||
        a.nVolume != b.nVolume || !SameMedia(a, b))
        return true;
    // No position known (media keys, a session without a timeline): nothing moves.
    if (a.nPosition < 0 || b.nPosition < 0)
        return a.nPosition != b.nPosition;
    bool bPlaying = b.nState == PLAY_STATE_PLAYING;
    long long nExpected = a.nPosition + (bPlaying ? static_cast<long long>(nElapsedMs / 1000) : 0);
    return llabs(static_cast<long long>(b.nPosition) - nExpected) > POSITION_SLACK_SECONDS;
}
