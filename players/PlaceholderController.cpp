#include "PlaceholderController.h"

int CPlaceholderController::EnsureRunning(const char*, int)
{
    return 0;
}

void CPlaceholderController::GetStatus(PlayState* pState, int* pLength, int* pPosition,
                                       int* pShuffle, int* pRepeat, char* pszTitle,
                                       unsigned nTitleSize, int)
{
    *pState = 0;
    *pLength = -1;
    *pPosition = -1;
    *pShuffle = 0;
    *pRepeat = 0;
    if (nTitleSize > 0)
        pszTitle[0] = '\0';
}

void CPlaceholderController::GetPlaylist(char** ppText, int* pSize, int* pIndex)
{
    *ppText = 0;
    *pSize = 0;
    *pIndex = 0;
}

void CPlaceholderController::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    *pBitRate = 0;
    *pSampleRate = 0;
    *pChannels = 0;
}
