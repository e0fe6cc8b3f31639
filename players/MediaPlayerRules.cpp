#include "MediaPlayerRules.h"

PlayState MediaPlayerStateAfterPlayPause(PlayState nState)
{
    return nState != 0 && nState != 3 ? 3 : 1;
}

int StepMediaPlayerVolume(int* pEstimate, int nTarget)
{
    const int STEP = 25;
    int nLower = (*pEstimate / STEP) * STEP;
    int nUpper = nLower + STEP;
    if (nTarget < nLower)
    {
        *pEstimate = *pEstimate - STEP < 0 ? 0 : *pEstimate - STEP;
        return -1;
    }
    if (nTarget > nUpper)
    {
        *pEstimate = *pEstimate + STEP > 255 ? 255 : *pEstimate + STEP;
        return 1;
    }
    return 0;
}
