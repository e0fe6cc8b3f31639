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

bool IsHttpRequestStart(const char* pFirst4)
{
    // The methods of HTTP/1.x and the start of HTTP/2's preface ("PRI * HTTP/2.0").
    static const char* const s_methods[] = {"GET ", "POST", "PUT ", "HEAD", "OPTI",
                                            "DELE", "PATC", "CONN", "TRAC", "PRI "};
    for (const char* pszMethod : s_methods)
    {
        if (memcmp(pFirst4, pszMethod, COMMAND_LENGTH) == 0)
            return true;
    }
    return false;
}
