#include "UrlText.h"
#include "ByteText.h"
#include <string.h>

static const size_t MAX_FORM_PAIRS = 64;

bool UrlDecode(const std::string& text, bool bPlusIsSpace, std::string* pOut)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++)
    {
        char c = text[i];
        if (c == '+' && bPlusIsSpace)
            c = ' ';
        else if (c == '%')
        {
            if (i + 2 >= text.size())
                return false;
            int nHigh = HexDigitValue(text[i + 1]);
            int nLow = HexDigitValue(text[i + 2]);
            if (nHigh < 0 || nLow < 0)
                return false;
            c = static_cast<char>(nHigh * 16 + nLow);
            i += 2;
        }
        if (c == '\0')
            return false;
        decoded += c;
    }
    pOut->swap(decoded);
    return true;
}

bool FormValue(const std::string& form, const char* pszKey, std::string* pValue)
{
    size_t nStart = 0;
    for (size_t nPair = 0; nPair < MAX_FORM_PAIRS && nStart <= form.size(); nPair++)
    {
        size_t nEnd = form.find('&', nStart);
        if (nEnd == std::string::npos)
            nEnd = form.size();
        std::string pair = form.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        size_t nEquals = pair.find('=');
        std::string key;
        if (!UrlDecode(pair.substr(0, nEquals), true, &key) || key != pszKey)
            continue;
        if (nEquals == std::string::npos)
        {
            pValue->clear();
            return true;
        }
        return UrlDecode(pair.substr(nEquals + 1), true, pValue);
    }
    return false;
}

static std::string TrimSpaces(const std::string& text)
{
    size_t nFirst = text.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return std::string();
    size_t nLast = text.find_last_not_of(" \t");
    return text.substr(nFirst, nLast - nFirst + 1);
}

std::string CookieValue(const std::string& cookieHeader, const char* pszName)
{
    size_t nStart = 0;
    while (nStart <= cookieHeader.size())
    {
        size_t nEnd = cookieHeader.find(';', nStart);
        if (nEnd == std::string::npos)
            nEnd = cookieHeader.size();
        std::string cookie = TrimSpaces(cookieHeader.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
        size_t nEquals = cookie.find('=');
        if (nEquals == std::string::npos || TrimSpaces(cookie.substr(0, nEquals)) != pszName)
            continue;
        std::string value = TrimSpaces(cookie.substr(nEquals + 1));
        if (value.size() >= 2 && value[0] == '"' && value[value.size() - 1] == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::string();
}
