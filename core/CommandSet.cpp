#include "CommandSet.h"
#include <string.h>

static const int NAME_MAX = 1023;

static const CommandRow s_commands[CMD_COUNT] = {
    {"CHCK", PARAM_NONE, 0, 0, 0, false, NULL, NULL},
    {"LIST", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"DLST", PARAM_NAME, 2, 0, NAME_MAX, true, NULL, NULL}, // empty: the configured folders
    {"INFO", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"INF2", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"PLAY", PARAM_NAME, 2, 1, NAME_MAX, false, NULL, NULL},
    {"LADD", PARAM_NAME, 2, 1, NAME_MAX, true, NULL, NULL},
    {"FINF", PARAM_NAME, 2, 1, NAME_MAX, true, NULL, NULL},
    {"DOWN", PARAM_NAME, 2, 1, NAME_MAX, true, NULL, NULL},
    {"VOLM", PARAM_NUMBER, 1, 0, 255, true, "volume", "value"},
    {"STOP", PARAM_NONE, 0, 0, 0, true, "stop", NULL},
    {"FADE", PARAM_NONE, 0, 0, 0, true, "fade", NULL},
    {"STEN", PARAM_NONE, 0, 0, 0, true, "stop-after", NULL},
    {"PAUS", PARAM_NONE, 0, 0, 0, true, "pause", NULL},
    {"STRT", PARAM_NONE, 0, 0, 0, true, "play", NULL},
    {"PREV", PARAM_NONE, 0, 0, 0, true, "previous", NULL},
    {"NEXT", PARAM_NONE, 0, 0, 0, true, "next", NULL},
    {"FFWD", PARAM_NONE, 0, 0, 0, true, "forward", NULL},
    {"RWND", PARAM_NONE, 0, 0, 0, true, "rewind", NULL},
    {"SHFL", PARAM_NUMBER, 1, 0, 1, true, "shuffle", "on"},
    {"REPT", PARAM_NUMBER, 1, 0, 1, true, "repeat", "on"},
    {"PLST", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"SLCT", PARAM_NUMBER, 2, 0, 65535, true, "select", "index"},
    {"RMAL", PARAM_NONE, 0, 0, 0, true, "clear", NULL},
    {"DINF", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"SHUT", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"FULL", PARAM_NONE, 0, 0, 0, true, "fullscreen", NULL},
    {"SEEK", PARAM_NUMBER, 4, 0, 0x7FFFFFFF, true, "seek", "seconds"},
    {"PLEN", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
    {"VERS", PARAM_NONE, 0, 0, 0, false, NULL, NULL},
    {"EXIT", PARAM_NONE, 0, 0, 0, true, NULL, NULL},
};

const CommandRow& CommandRowOf(int nId)
{
    return s_commands[nId >= 0 && nId < CMD_COUNT ? nId : 0];
}

const char* CommandName(int nId)
{
    if (nId < 0 || nId >= CMD_COUNT)
        return "";
    return s_commands[nId].pszName;
}

int FindCommand(const char* pCommand4)
{
    for (int i = 0; i < CMD_COUNT; i++)
    {
        if (memcmp(pCommand4, s_commands[i].pszName, 4) == 0)
            return i;
    }
    return CMD_UNKNOWN;
}

int FindWebAction(const char* pszAction)
{
    for (int i = 0; i < CMD_COUNT; i++)
    {
        if (s_commands[i].pszWebAction && strcmp(pszAction, s_commands[i].pszWebAction) == 0)
            return i;
    }
    return CMD_UNKNOWN;
}

bool NeedsEnsureRunning(const char* pCommand4)
{
    int nId = FindCommand(pCommand4);
    return nId == CMD_UNKNOWN || s_commands[nId].bStartsApp;
}
