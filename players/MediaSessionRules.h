// The media sessions' rules that need no platform: the app's readable name, the
// title the phone shows, the play state and the times in the units each side
// speaks. Times are the system's 100-ns ticks; DateTimes count from 1601, as a
// FILETIME does. Plain C++.
#pragma once
#include <string>

// A session's playback status and repeat mode, as the system numbers them.
enum SessionPlaybackStatus
{
    SESSION_CLOSED = 0,
    SESSION_OPENED = 1,
    SESSION_CHANGING = 2,
    SESSION_STOPPED = 3,
    SESSION_PLAYING = 4,
    SESSION_PAUSED = 5
};
enum SessionRepeatMode
{
    SESSION_REPEAT_NONE = 0,
    SESSION_REPEAT_TRACK = 1,
    SESSION_REPEAT_LIST = 2
};

const long long TICKS_PER_MS = 10000;
const long long TICKS_PER_SECOND = 1000 * TICKS_PER_MS;

// What a session's timeline says, in ticks: its start and end, the position it
// last told and when it told it (0: never).
struct SessionTimeline
{
    long long nStart;
    long long nEnd;
    long long nPosition;
    long long nUpdatedAt;
};

// "Spotify.exe" gives "Spotify", "Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic"
// "ZuneMusic", "chrome" "Chrome": the app within its package, its file name
// without ".exe", the last part of a dotted name, a capital first letter.
std::wstring AppNameOfId(const std::wstring& appId);

// "Artist - Title", or whichever of them is not empty.
std::wstring PhoneTitle(const std::wstring& artist, const std::wstring& title);

// The phone's play state byte: 1 playing, 3 paused, 0 for anything else.
unsigned char PlayStateOfStatus(int nStatus);

// The length in ms, or -1 when the timeline tells none (its end is not after its start).
long long DurationMs(const SessionTimeline& timeline);
// The position in ms from the start, -1 with no length. It moves on from the
// last one told at fRate (the playback rate while playing, else 0), up to the end.
long long LivePositionMs(const SessionTimeline& timeline, double fRate, long long nNow);
// Whole seconds of ms, as the phone counts them; -1 stays -1.
int PhoneSeconds(long long nMs);
// The position to ask for, in ticks on the session's timeline: before the start
// is the start, and past a known end (one after the start) is the end.
long long SeekTicks(int nSeconds, const SessionTimeline& timeline);
