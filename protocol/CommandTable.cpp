#include "CommandTable.h"
#include "Wire.h"
#include <string.h>

static const char* const s_commandNames[CMD_COUNT] = {
    "CHCK", "LIST", "DLST", "INFO", "INF2", "PLAY", "LADD", "FINF", "DOWN", "VOLM", "STOP",
    "FADE", "STEN", "PAUS", "STRT", "PREV", "NEXT", "FFWD", "RWND", "SHFL", "REPT", "PLST",
    "SLCT", "RMAL", "DINF", "SHUT", "FULL", "SEEK", "PLEN", "VERS", "EXIT"};

const char* CommandName(int nId)
{
    if (nId < 0 || nId >= CMD_COUNT)
        return "";
    return s_commandNames[nId];
}

int FindCommand(const char* pCommand4)
{
    for (int i = 0; i < CMD_COUNT; i++)
    {
        if (memcmp(pCommand4, s_commandNames[i], COMMAND_LENGTH) == 0)
            return i;
    }
    return CMD_UNKNOWN;
}

bool NeedsEnsureRunning(const char* pCommand4)
{
    int nId = FindCommand(pCommand4);
    return nId != CMD_PLAY && nId != CMD_CHCK && nId != CMD_VERS;
}
