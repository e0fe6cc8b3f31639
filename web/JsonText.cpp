#include "JsonText.h"
#include <stdio.h>

static const unsigned long REPLACEMENT_CHARACTER = 0xFFFD;

size_t DecodeUtf8(const unsigned char* pText, size_t nSize, unsigned long* pnCodePoint,
                  bool* pbValid)
{
    unsigned char c = pText[0];
    *pnCodePoint = REPLACEMENT_CHARACTER;
    *pbValid = false;
    if (c < 0x80)
    {
        *pnCodePoint = c;
        *pbValid = true;
        return 1;
    }
    size_t nLength = 0;
    unsigned long nCodePoint = 0;
    // The range the second byte must lie in excludes overlong forms, surrogates and
    // anything past U+10FFFF; later bytes are plain continuation bytes.
    unsigned char nLow = 0x80;
    unsigned char nHigh = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
    {
        nLength = 2;
        nCodePoint = c & 0x1F;
    }
    else if (c >= 0xE0 && c <= 0xEF)
    {
        nLength = 3;
        nCodePoint = c & 0x0F;
        nLow = c == 0xE0 ? 0xA0 : 0x80;
        nHigh = c == 0xED ? 0x9F : 0xBF;
    }
    else if (c >= 0xF0 && c <= 0xF4)
    {
        nLength = 4;
        nCodePoint = c & 0x07;
        nLow = c == 0xF0 ? 0x90 : 0x80;
        nHigh = c == 0xF4 ? 0x8F : 0xBF;
    }
    else
        return 1;
    for (size_t i = 1; i < nLength; i++)
    {
        if (i >= nSize || pText[i] < nLow || pText[i] > nHigh)
            return i;
        nCodePoint = (nCodePoint << 6) | (pText[i] & 0x3F);
        nLow = 0x80;
        nHigh = 0xBF;
    }
    *pnCodePoint = nCodePoint;
    *pbValid = true;
    return nLength;
}

static void AppendUtf8(unsigned long nCodePoint, std::string* pOut)
{
    if (nCodePoint < 0x80)
        *pOut += static_cast<char>(nCodePoint);
    else if (nCodePoint < 0x800)
    {
        *pOut += static_cast<char>(0xC0 | (nCodePoint >> 6));
        *pOut += static_cast<char>(0x80 | (nCodePoint & 0x3F));
    }
    else if (nCodePoint < 0x10000)
    {
        *pOut += static_cast<char>(0xE0 | (nCodePoint >> 12));
        *pOut += static_cast<char>(0x80 | ((nCodePoint >> 6) & 0x3F));
        *pOut += static_cast<char>(0x80 | (nCodePoint & 0x3F));
    }
    else
    {
        *pOut += static_cast<char>(0xF0 | (nCodePoint >> 18));
        *pOut += static_cast<char>(0x80 | ((nCodePoint >> 12) & 0x3F));
        *pOut += static_cast<char>(0x80 | ((nCodePoint >> 6) & 0x3F));
        *pOut += static_cast<char>(0x80 | (nCodePoint & 0x3F));
    }
}

static void AppendJsonCharacter(unsigned long nCodePoint, std::string* pOut)
{
    switch (nCodePoint)
    {
    case '"':
        *pOut += "\\\"";
        return;
    case '\\':
        *pOut += "\\\\";
        return;
    case '\n':
        *pOut += "\\n";
        return;
    case '\r':
        *pOut += "\\r";
        return;
    case '\t':
        *pOut += "\\t";
        return;
    }
    if (nCodePoint < 0x20 || nCodePoint == '<' || nCodePoint == 0x2028 || nCodePoint == 0x2029)
    {
        char szEscape[8];
        snprintf(szEscape, sizeof(szEscape), "\\u%04lx", nCodePoint);
        *pOut += szEscape;
        return;
    }
    AppendUtf8(nCodePoint, pOut);
}

std::string JsonString(const std::string& utf8)
{
    std::string json = "\"";
    const unsigned char* pText = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t nOffset = 0;
    while (nOffset < utf8.size())
    {
        unsigned long nCodePoint = 0;
        bool bValid = false;
        nOffset += DecodeUtf8(pText + nOffset, utf8.size() - nOffset, &nCodePoint, &bValid);
        AppendJsonCharacter(nCodePoint, &json);
    }
    return json + "\"";
}
