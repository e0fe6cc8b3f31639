#include "CommandRules.h"
#include <string.h>
#include "Wire.h"

int VolumePercent(unsigned nVolume)
{
    return static_cast<int>(nVolume * 100 / 255);
}

const char* OnOffText(unsigned nValue)
{
    return nValue ? "on" : "off";
}

size_t BuildStatusReply(const char* pszCommand, unsigned char nState, int nLength, int nPosition,
                        int nShuffle, int nRepeat, const char* pszTitle, bool bZeroEnd,
                        unsigned char* pReply)
{
    WriteReplyTag(pszCommand, pReply);
    pReply[7] = nState;
    PackBE32(static_cast<uint32_t>(nLength), pReply + 8);
    PackBE32(static_cast<uint32_t>(nPosition), pReply + 12);
    pReply[16] = static_cast<unsigned char>(nShuffle & 0xFF);
    pReply[17] = static_cast<unsigned char>(nRepeat & 0xFF);
    size_t nTitle = strnlen(pszTitle, STATUS_TITLE_SIZE - 1);
    memcpy(pReply + STATUS_REPLY_FIXED, pszTitle, nTitle);
    size_t nSize = STATUS_REPLY_FIXED + nTitle;
    if (bZeroEnd)
        pReply[nSize++] = 0;
    return nSize;
}

size_t BuildDetailedInfoReply(int nBitRate, int nSampleRate, int nChannels, unsigned char* pReply)
{
    WriteReplyTag("DINF", pReply);
    PackBE32(static_cast<uint32_t>(nBitRate), pReply + 7);
    PackBE32(static_cast<uint32_t>(nSampleRate), pReply + 11);
    PackBE32(static_cast<uint32_t>(nChannels), pReply + 15);
    return 19;
}

size_t BuildCountReply(const char* pszCommand, int nCount, unsigned char* pReply)
{
    WriteReplyTag(pszCommand, pReply);
    PackBE16(static_cast<uint32_t>(nCount), pReply + 7);
    return 9;
}

unsigned DownloadReadSize(long long nLeft, unsigned nBufferSize)
{
    if (nLeft <= 0)
        return 0;
    return nLeft < static_cast<long long>(nBufferSize) ? static_cast<unsigned>(nLeft) : nBufferSize;
}
