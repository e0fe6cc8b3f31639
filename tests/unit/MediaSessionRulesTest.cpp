#include <gtest/gtest.h>
#include <limits.h>
#include "players/MediaSessionRules.h"

TEST(MediaSessionRules, AppIdsGiveReadableNames)
{
    const wchar_t* const cases[][2] = {
        {L"Spotify.exe", L"Spotify"},
        {L"Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic", L"ZuneMusic"},
        {L"SpotifyAB.SpotifyMusic_zpdnekdrzrea0!Spotify", L"Spotify"},
        {L"chrome", L"Chrome"},
        {L"C:\\Program Files\\VideoLAN\\VLC\\vlc.EXE", L"Vlc"},
        {L"308046B0AF4A39CB", L"308046B0AF4A39CB"},
        {L"", L""}};
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(c[1]), AppNameOfId(c[0]));
}

TEST(MediaSessionRules, ThePhoneSeesArtistDashTitleOrWhicheverThereIs)
{
    EXPECT_EQ(L"Ana - Song", PhoneTitle(L"Ana", L"Song"));
    EXPECT_EQ(L"Song", PhoneTitle(L"", L"Song"));
    EXPECT_EQ(L"Ana", PhoneTitle(L"Ana", L""));
}

TEST(MediaSessionRules, TimesAreWholeSecondsFromTheStartAndMoveOnAtTheRateWhilePlaying)
{
    const long long S = TICKS_PER_SECOND;
    const SessionTimeline track = {0, 215 * S, 61 * S, 1000 * S};
    // Never told when (0), from a start of 10 s: no moving on.
    const SessionTimeline late = {10 * S, 70 * S, 40 * S + 9999999, 0};
    const struct
    {
        SessionTimeline timeline;
        double fRate; // 0: not playing
        long long nNow;
        int nPosition, nLength;
    } cases[] = {{track, 0, 1010 * S, 61, 215},       {track, 1, 1010 * S, 71, 215},
                 {track, 1.5, 1010 * S, 76, 215},     {track, 1, 2000 * S, 215, 215},
                 {track, 1, 900 * S, 61, 215},        {late, 1, 2000 * S, 30, 60},
                 {{5 * S, 5 * S, 0, 0}, 1, 0, -1, -1}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.nPosition, PhoneSeconds(LivePositionMs(c.timeline, c.fRate, c.nNow)));
        EXPECT_EQ(c.nLength, PhoneSeconds(DurationMs(c.timeline)));
    }
    const SessionTimeline unknownEnd = {10 * S, 10 * S, 0, 0};
    const struct
    {
        int nSeconds;
        const SessionTimeline* pTimeline;
        long long nTicks;
    } seeks[] = {{30, &late, 40 * S},
                 {90, &late, 70 * S},
                 {-5, &late, 10 * S},
                 {INT_MAX, &late, 70 * S},
                 {INT_MIN, &late, 10 * S},
                 {4294968, &unknownEnd, 10 * S + 4294968 * S},
                 {INT_MAX, &unknownEnd, 10 * S + INT_MAX * S}};
    for (const auto& c : seeks)
        EXPECT_EQ(c.nTicks, SeekTicks(c.nSeconds, *c.pTimeline)) << c.nSeconds;
}
