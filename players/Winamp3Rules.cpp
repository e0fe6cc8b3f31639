#include "Winamp3Rules.h"
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

// Bounds one number of the time so minutes × 60 + seconds cannot overflow.
static long long ReadBoundedNumber(const char* pszText, const char** ppEnd)
{
    char* pEnd = NULL;
    long nValue = strtol(pszText, &pEnd, 10);
    *ppEnd = pEnd;
    const long LIMIT = 1000000000L;
    return nValue > LIMIT ? LIMIT : nValue < -LIMIT ? -LIMIT : nValue;
}

// "m:ss" as minutes × 60 + seconds; a number that cannot be read counts as 0,
// and the seconds are read only after readable minutes and a colon.
static int ParseMinutesAndSeconds(const char* pszText)
{
    const char* pEnd = pszText;
    long long nMinutes = ReadBoundedNumber(pszText, &pEnd);
    long long nSeconds = 0;
    if (pEnd != pszText && *pEnd == ':')
    {
        const char* pSecondsEnd = NULL;
        nSeconds = ReadBoundedNumber(pEnd + 1, &pSecondsEnd);
    }
    long long nTotal = nMinutes * 60 + nSeconds;
    return nTotal > INT_MAX ? INT_MAX : nTotal < INT_MIN ? INT_MIN : static_cast<int>(nTotal);
}

static bool EndsWith(const std::string& text, const char* pszEnd)
{
    std::string end(pszEnd);
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

Winamp3CaptionStatus ParseWinamp3Caption(const char* pszCaption, PlayState nTrackedState,
                                         int nElapsed, char* pszTitle, size_t nTitleSize)
{
    Winamp3CaptionStatus status = {nTrackedState, -1, -1, false};
    if (nTitleSize > 0)
        pszTitle[0] = '\0';

    std::string caption(pszCaption);
    if (!EndsWith(caption, ")"))
        return status;
    caption.erase(caption.size() - 1);
    size_t nOpen = caption.rfind('(');
    if (nOpen == std::string::npos)
        return status;
    std::string word = caption.substr(nOpen);
    if (word == "(playing")
        status.nState = PLAY_STATE_PLAYING;
    else if (word == "(paused")
        status.nState = PLAY_STATE_PAUSED;
    else if (word == "(stopped")
        status.nState = PLAY_STATE_STOPPED;
    caption.erase(nOpen);

    if (EndsWith(caption, ") "))
    {
        caption.erase(caption.size() - 2);
        nOpen = caption.rfind('(');
        if (nOpen == std::string::npos)
            return status;
        status.nLength = ParseMinutesAndSeconds(caption.c_str() + nOpen + 1);
        status.bHasTime = true;
        if (nElapsed < status.nLength)
            status.nPosition = nElapsed;
        caption.erase(nOpen);
        if (!EndsWith(caption, " "))
            return status;
    }
    if (nTitleSize > 0)
        snprintf(pszTitle, nTitleSize, "%s", caption.c_str());
    return status;
}

int StepWinamp3Volume(int* pEstimate, int nTarget)
{
    const int STEP = 10;
    if (*pEstimate < 0)
        *pEstimate = nTarget;
    if (nTarget < *pEstimate)
    {
        *pEstimate = *pEstimate - STEP < 0 ? 0 : *pEstimate - STEP;
        return -1;
    }
    if (nTarget > *pEstimate)
    {
        *pEstimate = *pEstimate + STEP > 255 ? 255 : *pEstimate + STEP;
        return 1;
    }
    return 0;
}

PlayState Winamp3StateAfterPlay(PlayState nState, bool* pRestartCount)
{
    *pRestartCount = nState != PLAY_STATE_PLAYING;
    return nState == PLAY_STATE_PLAYING ? PLAY_STATE_PAUSED : PLAY_STATE_PLAYING;
}

PlayState Winamp3StateAfterPause(PlayState nState)
{
    return nState == PLAY_STATE_PLAYING ? PLAY_STATE_PAUSED : PLAY_STATE_PLAYING;
}

bool Winamp3TickCounts(PlayState nState, int nElapsed, int nLength)
{
    return nState == PLAY_STATE_PLAYING && nElapsed < nLength;
}
