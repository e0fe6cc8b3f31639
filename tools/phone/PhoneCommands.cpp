#include "PhoneCommands.h"
#include <stdlib.h>

// Grouped as the usage shows them: queries, browsing and files, then the buttons.
static const PhoneCommand s_commands[] = {
    {"CHCK", PARAM_NONE, REPLY_CHECK, 1, 5, "CHCK", "is the link alive (the server answers Y)"},
    {"VERS", PARAM_NONE, REPLY_FIXED, 9, 5, "VERS", "the server's version"},
    {"INFO", PARAM_NONE, REPLY_INFO, 0, 10, "INFO",
     "the current track: state, length, position, shuffle, repeat, title"},
    {"INF2", PARAM_NONE, REPLY_INF2, 0, 5, "INF2", "the same, without waiting for the length"},
    {"DINF", PARAM_NONE, REPLY_FIXED, 19, 5, "DINF", "bit rate, sample rate and channels"},
    {"PLEN", PARAM_NONE, REPLY_FIXED, 9, 5, "PLEN", "the number of playlist entries"},
    {"PLST", PARAM_NONE, REPLY_PLAYLIST, 0, 10, "PLST", "the playlist and its current entry"},
    {"LIST", PARAM_NONE, REPLY_LISTING, 0, 120, "LIST",
     "every folder of \"Files to browse\" with all it holds, as a tree"},
    {"DLST", PARAM_FOLDER, REPLY_LISTING, 0, 30, "DLST:[folder]",
     "one folder, one level deep; DLST: alone lists the configured folders"},
    {"FINF", PARAM_PATH, REPLY_FIXED, 11, 5, "FINF:path", "a file's length in bytes"},
    {"DOWN", PARAM_PATH, REPLY_DOWNLOAD, 0, 5, "DOWN:path", "a file's bytes (counted, not kept)"},
    {"PLAY", PARAM_PATH, REPLY_NONE, 0, 0, "PLAY:path",
     "play a file in the application that handles its type"},
    {"LADD", PARAM_PATH, REPLY_NONE, 0, 0, "LADD:path", "add a file to the playlist"},
    {"STRT", PARAM_NONE, REPLY_NONE, 0, 0, "STRT", "play"},
    {"PAUS", PARAM_NONE, REPLY_NONE, 0, 0, "PAUS", "pause"},
    {"STOP", PARAM_NONE, REPLY_NONE, 0, 0, "STOP", "stop"},
    {"FADE", PARAM_NONE, REPLY_NONE, 0, 0, "FADE", "fade out and stop"},
    {"STEN", PARAM_NONE, REPLY_NONE, 0, 0, "STEN", "stop at the end of the current track"},
    {"NEXT", PARAM_NONE, REPLY_NONE, 0, 0, "NEXT", "next track"},
    {"PREV", PARAM_NONE, REPLY_NONE, 0, 0, "PREV", "previous track"},
    {"FFWD", PARAM_NONE, REPLY_NONE, 0, 0, "FFWD", "fast forward"},
    {"RWND", PARAM_NONE, REPLY_NONE, 0, 0, "RWND", "rewind"},
    {"VOLM", PARAM_BYTE, REPLY_NONE, 0, 0, "VOLM:0..255", "set the volume (128 is half)"},
    {"SEEK", PARAM_BE32, REPLY_NONE, 0, 0, "SEEK:seconds",
     "jump to a position in the track (0..2147483647)"},
    {"SHFL", PARAM_FLAG, REPLY_NONE, 0, 0, "SHFL:0|1", "shuffle off or on"},
    {"REPT", PARAM_FLAG, REPLY_NONE, 0, 0, "REPT:0|1", "repeat off or on"},
    {"SLCT", PARAM_BE16, REPLY_NONE, 0, 0, "SLCT:n", "play playlist entry n (0..65535)"},
    {"RMAL", PARAM_NONE, REPLY_NONE, 0, 0, "RMAL", "clear the playlist"},
    {"FULL", PARAM_NONE, REPLY_NONE, 0, 0, "FULL", "full screen on or off"},
    {"SHUT", PARAM_NONE, REPLY_NONE, 0, 0, "SHUT", "switch the PC off"},
    {"EXIT", PARAM_NONE, REPLY_NONE, 0, 0, "EXIT", "end the server (its settings are not saved)"},
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

const PhoneCommand* PhoneCommandAt(size_t nIndex)
{
    return nIndex < sizeof(s_commands) / sizeof(s_commands[0]) ? &s_commands[nIndex] : NULL;
}

static std::string BigEndian(unsigned long nValue, int nBytes)
{
    std::string bytes;
    for (int i = nBytes - 1; i >= 0; i--)
        bytes += static_cast<char>((nValue >> (8 * i)) & 0xFF);
    return bytes;
}

std::string EncodeName(const std::string& name)
{
    return BigEndian(name.size(), 2) + name;
}

// Decimal digits only: "010" is ten, not an octal eight, and no sign.
static bool ParseNumber(const std::string& text, long nMax, long& nValue)
{
    if (text.empty() || text.size() > 10)
        return false;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return false;
    }
    long long nParsed = strtoll(text.c_str(), NULL, 10);
    if (nParsed > nMax)
        return false;
    nValue = static_cast<long>(nParsed);
    return true;
}

static bool EncodeParameter(const PhoneCommand& command, bool bHasParam, const std::string& param,
                            std::string& bytes)
{
    long nValue = 0;
    switch (command.param)
    {
    case PARAM_NONE:
        return !bHasParam;
    case PARAM_BYTE:
    case PARAM_FLAG:
        if (!ParseNumber(param, command.param == PARAM_FLAG ? 1 : 255, nValue))
            return false;
        bytes += BigEndian(nValue, 1);
        return true;
    case PARAM_BE16:
        if (!ParseNumber(param, 65535, nValue))
            return false;
        bytes += BigEndian(nValue, 2);
        return true;
    case PARAM_BE32:
        if (!ParseNumber(param, 2147483647L, nValue))
            return false;
        bytes += BigEndian(static_cast<unsigned long>(nValue), 4);
        return true;
    case PARAM_PATH:
    case PARAM_FOLDER:
        if ((command.param == PARAM_PATH && param.empty()) || param.size() > MAX_NAME_LENGTH)
            return false;
        bytes += EncodeName(param);
        return true;
    }
    return false;
}

bool EncodePhoneCommand(const std::string& text, std::string& bytes, std::string& error)
{
    size_t nColon = text.find(':');
    std::string name = text.substr(0, nColon);
    std::string param = nColon == std::string::npos ? "" : text.substr(nColon + 1);
    const PhoneCommand* pCommand = FindPhoneCommand(name);
    if (!pCommand)
    {
        error = "unknown command \"" + name + "\" (commands are four capital letters)";
        return false;
    }
    bytes = name;
    if (EncodeParameter(*pCommand, nColon != std::string::npos, param, bytes))
        return true;
    if (pCommand->param == PARAM_NONE)
        error = name + " takes no parameter";
    else if (param.size() > MAX_NAME_LENGTH)
        error = "the path of " + name + " is too long: the server takes at most 1023 bytes";
    else
        error =
            "bad parameter for " + name + ": \"" + param + "\" (write " + pCommand->pszForm + ")";
    return false;
}
