#include "LogText.h"
#include <stdio.h>

std::string LogSafeText(const std::string& text, size_t nMax)
{
    std::string safe;
    safe.reserve(text.size() < nMax ? text.size() : nMax);
    for (size_t i = 0; i < text.size(); i++)
    {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char szPiece[8] = {static_cast<char>(c), '\0'};
        size_t nPiece = 1;
        if (c < 0x20 || c == 0x7F)
            nPiece = static_cast<size_t>(snprintf(szPiece, sizeof(szPiece), "\\x%02X", c));
        if (safe.size() + nPiece > nMax)
            return safe + "...";
        safe.append(szPiece, nPiece);
    }
    return safe;
}

std::string LogSafeName(const char* pszText)
{
    return LogSafeText(pszText ? pszText : "", std::string::npos);
}
