#include "PhoneCommands.h"
#include <stdlib.h>

// Grouped as the usage shows them: queries, browsing and files, then the buttons.
static const PhoneCommand s_commands[] = {
    {"CHCK", REPLY_CHECK, 1, 5, "CHCK", "is the link alive (the server answers Y)"},
    {"VERS", REPLY_FIXED, 9, 5, "VERS", "the server's version"},
    {"INFO", REPLY_INFO, 0, 10, "INFO",
     "the current track: state, length, position, shuffle, repeat, title"},
    {"INF2", REPLY_INF2, 0, 5, "INF2", "the same, without waiting for the length"},
    {"DINF", REPLY_FIXED, 19, 5, "DINF", "bit rate, sample rate and channels"},
    {"PLEN", REPLY_FIXED, 9, 5, "PLEN", "the number of playlist entries"},
    {"PLST", REPLY_PLAYLIST, 0, 10, "PLST", "the playlist and its current entry"},
    {"LIST", REPLY_LISTING, 0, 120, "LIST",
     "every folder of \"Files to browse\" with all it holds, as a tree"},
    {"DLST", REPLY_LISTING, 0, 30, "DLST:[folder]",
     "one folder, one level deep; DLST: alone lists the configured folders"},
    {"FINF", REPLY_FIXED, 11, 5, "FINF:path", "a file's length in bytes"},
    {"DOWN", REPLY_DOWNLOAD, 0, 5, "DOWN:path", "a file's bytes (counted, not kept)"},
    {"PLAY", REPLY_NONE, 0, 0, "PLAY:path", "play a file in the application that handles its type"},
    {"LADD", REPLY_NONE, 0, 0, "LADD:path", "add a file to the playlist"},
    {"STRT", REPLY_NONE, 0, 0, "STRT", "play"},
    {"PAUS", REPLY_NONE, 0, 0, "PAUS", "pause"},
    {"STOP", REPLY_NONE, 0, 0, "STOP", "stop"},
    {"FADE", REPLY_NONE, 0, 0, "FADE", "fade out and stop"},
    {"STEN", REPLY_NONE, 0, 0, "STEN", "stop at the end of the current track"},
    {"NEXT", REPLY_NONE, 0, 0, "NEXT", "next track"},
    {"PREV", REPLY_NONE, 0, 0, "PREV", "previous track"},
    {"FFWD", REPLY_NONE, 0, 0, "FFWD", "fast forward"},
    {"RWND", REPLY_NONE, 0, 0, "RWND", "rewind"},
    {"VOLM", REPLY_NONE, 0, 0, "VOLM:0..255", "set the volume (128 is half)"},
    {"SEEK", REPLY_NONE, 0, 0, "SEEK:seconds", "jump to a position in the track (0..2147483647)"},
    {"SHFL", REPLY_NONE, 0, 0, "SHFL:0|1", "shuffle off or on"},
    {"REPT", REPLY_NONE, 0, 0, "REPT:0|1", "repeat off or on"},
    {"SLCT", REPLY_NONE, 0, 0, "SLCT:n", "play playlist entry n (0..65535)"},
    {"RMAL", REPLY_NONE, 0, 0, "RMAL", "clear the playlist"},
    {"FULL", REPLY_NONE, 0, 0, "FULL", "full screen on or off"},
    {"SHUT", REPLY_NONE, 0, 0, "SHUT", "switch the PC off"},
    {"EXIT", REPLY_NONE, 0, 0, "EXIT", "end the server (its settings are not saved)"},
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
    const CommandRow& row = command.Row();
    long nValue = 0;
    switch (row.nParam)
    {
    case PARAM_NONE:
        return !bHasParam;
    case PARAM_NUMBER:
        if (!ParseNumber(param, row.nMax, nValue) || nValue < row.nMin)
            return false;
        bytes += BigEndian(static_cast<unsigned long>(nValue), row.nWidth);
        return true;
    case PARAM_NAME:
        if (param.size() < static_cast<size_t>(row.nMin) ||
            param.size() > static_cast<size_t>(row.nMax))
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
    const CommandRow& row = pCommand->Row();
    if (row.nParam == PARAM_NONE)
        error = name + " takes no parameter";
    else if (row.nParam == PARAM_NAME && param.size() > static_cast<size_t>(row.nMax))
        error = "the path of " + name + " is too long: the server takes at most 1023 bytes";
    else
        error =
            "bad parameter for " + name + ": \"" + param + "\" (write " + pCommand->pszForm + ")";
    return false;
}
