#include "MediaSessionRules.h"
#include "PlayerController.h"
#include <limits.h>

static bool EndsWithExe(const std::wstring& name)
{
    static const wchar_t EXE[] = L".exe";
    if (name.size() < 4)
        return false;
    for (size_t i = 0; i < 4; i++)
    {
        wchar_t c = name[name.size() - 4 + i];
        if ((c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c) != EXE[i])
            return false;
    }
    return true;
}

std::wstring AppNameOfId(const std::wstring& appId)
{
    // A packaged app's id is "<package family>!<app>"; a desktop app's is often its exe's path.
    std::wstring name = appId.substr(appId.find_last_of(L'!') + 1);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    if (EndsWithExe(name))
        name.resize(name.size() - 4);
    name = name.substr(name.find_last_of(L'.') + 1);
    if (!name.empty() && name[0] >= L'a' && name[0] <= L'z')
        name[0] = static_cast<wchar_t>(name[0] - (L'a' - L'A'));
    return name;
}

std::wstring PhoneTitle(const std::wstring& artist, const std::wstring& title)
{
    if (artist.empty())
        return title;
    if (title.empty())
        return artist;
    return artist + L" - " + title;
}

unsigned char PlayStateOfStatus(int nStatus)
{
    if (nStatus == SESSION_PLAYING)
        return PLAY_STATE_PLAYING;
    return nStatus == SESSION_PAUSED ? PLAY_STATE_PAUSED : PLAY_STATE_STOPPED;
}

long long DurationMs(const SessionTimeline& timeline)
{
    if (timeline.nEnd <= timeline.nStart)
        return -1;
    return (timeline.nEnd - timeline.nStart) / TICKS_PER_MS;
}

long long LivePositionMs(const SessionTimeline& timeline, double fRate, long long nNow)
{
    if (timeline.nEnd <= timeline.nStart)
        return -1;
    long long nLength = timeline.nEnd - timeline.nStart;
    double fPosition = static_cast<double>(timeline.nPosition - timeline.nStart);
    // Players tell the position every few seconds at most, some never again.
    if (timeline.nUpdatedAt > 0 && nNow > timeline.nUpdatedAt)
        fPosition += static_cast<double>(nNow - timeline.nUpdatedAt) * fRate;
    if (fPosition > static_cast<double>(nLength))
        return nLength / TICKS_PER_MS;
    return fPosition < 0 ? 0 : static_cast<long long>(fPosition) / TICKS_PER_MS;
}

int PhoneSeconds(long long nMs)
{
    if (nMs < 0)
        return -1;
    long long nSeconds = nMs / 1000;
    return nSeconds > INT_MAX ? INT_MAX : static_cast<int>(nSeconds);
}

long long SeekTicks(int nSeconds, const SessionTimeline& timeline)
{
    long long nOffset = nSeconds > 0 ? nSeconds * TICKS_PER_SECOND : 0;
    if (timeline.nEnd > timeline.nStart && nOffset > timeline.nEnd - timeline.nStart)
        return timeline.nEnd;
    return timeline.nStart + nOffset;
}
