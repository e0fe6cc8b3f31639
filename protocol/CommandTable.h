// The phone's four-letter commands, in the order they are matched.
// Plain C++, no platform calls.
#pragma once

enum CommandId
{
    CMD_CHCK,
    CMD_LIST,
    CMD_DLST,
    CMD_INFO,
    CMD_INF2,
    CMD_PLAY,
    CMD_LADD,
    CMD_FINF,
    CMD_DOWN,
    CMD_VOLM,
    CMD_STOP,
    CMD_FADE,
    CMD_STEN,
    CMD_PAUS,
    CMD_STRT,
    CMD_PREV,
    CMD_NEXT,
    CMD_FFWD,
    CMD_RWND,
    CMD_SHFL,
    CMD_REPT,
    CMD_PLST,
    CMD_SLCT,
    CMD_RMAL,
    CMD_DINF,
    CMD_SHUT,
    CMD_FULL,
    CMD_SEEK,
    CMD_PLEN,
    CMD_VERS,
    CMD_EXIT,
    CMD_COUNT,
    CMD_UNKNOWN = -1
};

// The command's name ("CHCK", ...) for an id in 0..CMD_COUNT-1.
const char* CommandName(int nId);

// Matches 4 received bytes byte for byte, case-sensitively; CMD_UNKNOWN if none.
int FindCommand(const char* pCommand4);

// Every command but PLAY, CHCK and VERS makes sure the application runs first,
// unknown commands included.
bool NeedsEnsureRunning(const char* pCommand4);
