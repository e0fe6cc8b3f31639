#include "PhoneCommands.h"
#include <stdlib.h>

static const PhoneCommand s_commands[] = {
    {"CHCK", PARAM_NONE, REPLY_CHECK, 1},    {"LIST", PARAM_NONE, REPLY_LISTING, 0},
    {"DLST", PARAM_NAME, REPLY_LISTING, 0},  {"INFO", PARAM_NONE, REPLY_INFO, 0},
    {"INF2", PARAM_NONE, REPLY_INF2, 0},     {"PLAY", PARAM_NAME, REPLY_NONE, 0},
    {"LADD", PARAM_NAME, REPLY_NONE, 0},     {"FINF", PARAM_NAME, REPLY_FIXED, 11},
    {"DOWN", PARAM_NAME, REPLY_DOWNLOAD, 0}, {"VOLM", PARAM_BYTE, REPLY_NONE, 0},
    {"STOP", PARAM_NONE, REPLY_NONE, 0},     {"FADE", PARAM_NONE, REPLY_NONE, 0},
    {"STEN", PARAM_NONE, REPLY_NONE, 0},     {"PAUS", PARAM_NONE, REPLY_NONE, 0},
    {"STRT", PARAM_NONE, REPLY_NONE, 0},     {"PREV", PARAM_NONE, REPLY_NONE, 0},
    {"NEXT", PARAM_NONE, REPLY_NONE, 0},     {"FFWD", PARAM_NONE, REPLY_NONE, 0},
    {"RWND", PARAM_NONE, REPLY_NONE, 0},     {"SHFL", PARAM_BYTE, REPLY_NONE, 0},
    {"REPT", PARAM_BYTE, REPLY_NONE, 0},     {"PLST", PARAM_NONE, REPLY_PLAYLIST, 0},
    {"SLCT", PARAM_BE16, REPLY_NONE, 0},     {"RMAL", PARAM_NONE, REPLY_NONE, 0},
    {"DINF", PARAM_NONE, REPLY_FIXED, 19},   {"SHUT", PARAM_NONE, REPLY_NONE, 0},
    {"FULL", PARAM_NONE, REPLY_NONE, 0},     {"SEEK", PARAM_BE32, REPLY_NONE, 0},
    {"PLEN", PARAM_NONE, REPLY_FIXED, 9},    {"VERS", PARAM_NONE, REPLY_FIXED, 9},
    {"EXIT", PARAM_NONE, REPLY_NONE, 0},
};

const PhoneCommand* FindPhoneCommand(const std::string& name)
{
    for (const PhoneCommand& command : s_commands)
    {
        if (name == command.pszName)
            return &command;
    }
    return NULL;
}

static std::string BigEndian(unsigned long nValue, int nBytes)
{
    std::string bytes;
    for (int i = nBytes - 1; i >= 0; i--)
        bytes += static_cast<char>((nValue >> (8 * i)) & 0xFF);
    return bytes;
}

static bool ParseNumber(const std::string& text, long nMin, long nMax, long& nValue)
{
    if (text.empty())
        return false;
    char* pEnd = NULL;
    nValue = strtol(text.c_str(), &pEnd, 0);
    return *pEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

bool EncodePhoneCommand(const std::string& text, std::string& bytes, std::string& error)
{
    size_t nColon = text.find(':');
    std::string name = text.substr(0, nColon);
    std::string param = nColon == std::string::npos ? "" : text.substr(nColon + 1);
    const PhoneCommand* pCommand = FindPhoneCommand(name);
    if (!pCommand)
    {
        error = "unknown command \"" + name + "\"";
        return false;
    }
    bytes = name;
    long nValue = 0;
    switch (pCommand->param)
    {
    case PARAM_NONE:
        return true;
    case PARAM_BYTE:
        if (!ParseNumber(param, 0, 255, nValue))
            break;
        bytes += BigEndian(nValue, 1);
        return true;
    case PARAM_BE16:
        if (!ParseNumber(param, 0, 65535, nValue))
            break;
        bytes += BigEndian(nValue, 2);
        return true;
    case PARAM_BE32:
        if (!ParseNumber(param, -2147483647L - 1, 2147483647L, nValue))
            break;
        bytes += BigEndian(static_cast<unsigned long>(nValue), 4);
        return true;
    case PARAM_NAME:
        if (param.size() > 65535)
            break;
        bytes += BigEndian(param.size(), 2) + param;
        return true;
    }
    error = "bad parameter for " + name + ": \"" + param + "\"";
    return false;
}
