#include "Wire.h"
#include <string.h>

void PackBE32(uint32_t nValue, unsigned char* pDest)
{
    pDest[0] = static_cast<unsigned char>(nValue >> 24);
    pDest[1] = static_cast<unsigned char>(nValue >> 16);
    pDest[2] = static_cast<unsigned char>(nValue >> 8);
    pDest[3] = static_cast<unsigned char>(nValue);
}

void PackBE16(uint32_t nValue, unsigned char* pDest)
{
    pDest[0] = static_cast<unsigned char>(nValue >> 8);
    pDest[1] = static_cast<unsigned char>(nValue);
}

uint32_t UnpackBE16(const unsigned char* pSrc)
{
    return (static_cast<uint32_t>(pSrc[0]) << 8) | pSrc[1];
}

uint32_t UnpackBE32(const unsigned char* pSrc)
{
    return (static_cast<uint32_t>(pSrc[0]) << 24) | (static_cast<uint32_t>(pSrc[1]) << 16) |
           (static_cast<uint32_t>(pSrc[2]) << 8) | pSrc[3];
}

void WriteReplyTag(const char* pszCommand, unsigned char* pDest)
{
    memcpy(pDest, pszCommand, COMMAND_LENGTH);
    memcpy(pDest + COMMAND_LENGTH, "ACK", 3);
}
