#include "PlayerController.h"

void CPlayerController::WriteStateOnly(PlayState nState, PlayState* pState, int* pLength,
                                       int* pPosition, int* pShuffle, int* pRepeat, char* pszTitle,
                                       unsigned nTitleSize)
{
    *pState = nState;
    *pLength = -1;
    *pPosition = -1;
    *pShuffle = 0;
    *pRepeat = 0;
    if (nTitleSize > 0)
        pszTitle[0] = '\0';
}

void CPlayerController::GetStatus(PlayState* pState, int* pLength, int* pPosition, int* pShuffle,
                                  int* pRepeat, char* pszTitle, unsigned nTitleSize, int)
{
    WriteStateOnly(PLAY_STATE_STOPPED, pState, pLength, pPosition, pShuffle, pRepeat, pszTitle,
                   nTitleSize);
}

void CPlayerController::GetPlaylist(char** ppText, int* pSize, int* pIndex)
{
    *ppText = 0;
    *pSize = 0;
    *pIndex = 0;
}

void CPlayerController::GetDetailedInfo(int* pBitRate, int* pSampleRate, int* pChannels)
{
    *pBitRate = 0;
    *pSampleRate = 0;
    *pChannels = 0;
}
