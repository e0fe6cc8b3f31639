#include "WebActions.h"
#include <stdlib.h>
#include <string.h>
#include "UrlText.h"

struct WebAction
{
    const char* pszName;
    const char* pszCommand;
    const char* pszKey; // the form value carrying the parameter, or NULL
    int nBytes;         // its width on the wire, big-endian
    long nMin, nMax;
};

static const WebAction s_actions[] = {
    {"play", "STRT", NULL, 0, 0, 0},          {"pause", "PAUS", NULL, 0, 0, 0},
    {"stop", "STOP", NULL, 0, 0, 0},          {"fade", "FADE", NULL, 0, 0, 0},
    {"stop-after", "STEN", NULL, 0, 0, 0},    {"previous", "PREV", NULL, 0, 0, 0},
    {"next", "NEXT", NULL, 0, 0, 0},          {"rewind", "RWND", NULL, 0, 0, 0},
    {"forward", "FFWD", NULL, 0, 0, 0},       {"fullscreen", "FULL", NULL, 0, 0, 0},
    {"clear", "RMAL", NULL, 0, 0, 0},         {"volume", "VOLM", "value", 1, 0, 255},
    {"shuffle", "SHFL", "on", 1, 0, 1},       {"repeat", "REPT", "on", 1, 0, 1},
    {"select", "SLCT", "index", 2, 0, 65535}, {"seek", "SEEK", "seconds", 4, 0, 0x7FFFFFFF},
};

// A decimal number of at most 10 digits and at most 2^31 - 1, nothing else.
static bool ParseNumber(const std::string& text, long* pnValue)
{
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long long nValue = strtoll(text.c_str(), NULL, 10);
    if (nValue > 0x7FFFFFFF)
        return false;
    *pnValue = static_cast<long>(nValue);
    return true;
}

bool FindWebAction(const std::string& name, const std::string& formBody, char szCommand[5],
                   std::string* pParams)
{
    for (size_t i = 0; i < sizeof(s_actions) / sizeof(s_actions[0]); i++)
    {
        const WebAction& action = s_actions[i];
        if (name != action.pszName)
            continue;
        pParams->clear();
        if (action.pszKey)
        {
            std::string text;
            long nValue = 0;
            if (!FormValue(formBody, action.pszKey, &text) || !ParseNumber(text, &nValue) ||
                nValue < action.nMin || nValue > action.nMax)
                return false;
            for (int nByte = action.nBytes - 1; nByte >= 0; nByte--)
                *pParams += static_cast<char>((nValue >> (8 * nByte)) & 0xFF);
        }
        memcpy(szCommand, action.pszCommand, 5);
        return true;
    }
    return false;
}
