#include "IPv4Text.h"
#include <stdio.h>

std::string FormatIPv4(uint32_t nAddress)
{
    char szText[16];
    snprintf(szText, sizeof(szText), "%u.%u.%u.%u", nAddress >> 24, (nAddress >> 16) & 0xFF,
             (nAddress >> 8) & 0xFF, nAddress & 0xFF);
    return szText;
}

bool ParseIPv4(const std::string& text, uint32_t* pnAddress)
{
    uint32_t nAddress = 0;
    size_t nAt = 0;
    for (int nPart = 0; nPart < 4; nPart++)
    {
        if (nPart > 0 && (nAt >= text.size() || text[nAt++] != '.'))
            return false;
        size_t nDigits = 0;
        unsigned nValue = 0;
        while (nAt < text.size() && text[nAt] >= '0' && text[nAt] <= '9' && nDigits < 3)
        {
            nValue = nValue * 10 + static_cast<unsigned>(text[nAt++] - '0');
            nDigits++;
        }
        if (nDigits == 0 || nValue > 255)
            return false;
        nAddress = (nAddress << 8) | nValue;
    }
    if (nAt != text.size())
        return false;
    *pnAddress = nAddress;
    return true;
}
