// The arithmetic and the byte layouts of the playback, status and file commands.
// Plain C++, no platform calls.
#pragma once
#include <stddef.h>

// v × 100 / 255, rounded down: what the log shows for a volume byte.
int VolumePercent(unsigned nVolume);
// "on" for any non-zero byte, else "off".
const char* OnOffText(unsigned nValue);

// The title buffer handed to GetStatus, and so at most 255 title bytes.
const unsigned STATUS_TITLE_SIZE = 256;
const size_t STATUS_REPLY_FIXED = 18;
const size_t STATUS_REPLY_MAX = STATUS_REPLY_FIXED + STATUS_TITLE_SIZE;

// INFOACK (bZeroEnd false) or INF2ACK (true) into pReply; returns its length.
size_t BuildStatusReply(const char* pszCommand, unsigned char nState, int nLength, int nPosition,
                        int nShuffle, int nRepeat, const char* pszTitle, bool bZeroEnd,
                        unsigned char* pReply);
// DINFACK: bit rate, sample rate, channels; 19 bytes.
size_t BuildDetailedInfoReply(int nBitRate, int nSampleRate, int nChannels, unsigned char* pReply);
// PLENACK (9 bytes) and the 9-byte PLSTACK header: a tag and the lowest 16 bits of a count.
size_t BuildCountReply(const char* pszCommand, int nCount, unsigned char* pReply);

// How many bytes DOWN reads next: what is left of the file, at most the buffer,
// and none when nothing is left or the length is unknown (below 0).
unsigned DownloadReadSize(long long nLeft, unsigned nBufferSize);
