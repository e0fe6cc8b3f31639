#include "LogText.h"
#include <stdio.h>

std::string LogSafeText(const std::string& text, size_t nMax)
{
    std::string safe;
    for (size_t i = 0; i < text.size(); i++)
    {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char szPiece[8] = {static_cast<char>(c), '\0'};
        if (c < 0x20 || c == 0x7F)
            snprintf(szPiece, sizeof(szPiece), "\\x%02X", c);
        std::string piece = szPiece;
        if (safe.size() + piece.size() > nMax)
            return safe + "...";
        safe += piece;
    }
    return safe;
}
