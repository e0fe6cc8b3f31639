// The phone's four-letter commands, one row each, in the order they are
// matched: the name, the parameter that follows it on the wire and the values
// a client may send, whether the application is made to run first, and the web
// page's action that does the same. The phone dispatcher, the phone tool and the
// web remote all read this table. Plain C++, no platform calls.
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

enum CommandParam
{
    PARAM_NONE,
    PARAM_NUMBER, // nWidth bytes, big-endian
    PARAM_NAME    // a 2-byte big-endian length and that many bytes of a path
};

struct CommandRow
{
    const char* pszName;
    CommandParam nParam;
    int nWidth;
    // What a client may send: a number's values, or a name's length in bytes.
    // The server reads whatever bytes arrive; clients of ours send only these.
    long nMin;
    long nMax;
    bool bStartsApp; // the application is made to run before the command
    // The web page's POST /api/<action> that runs it, with its number in the
    // form field; NULL when the page has no such action or a route of its own.
    const char* pszWebAction;
    const char* pszWebField;
};

// The row of an id in 0..CMD_COUNT-1.
const CommandRow& CommandRowOf(int nId);
// The command's name ("CHCK", ...) for an id in 0..CMD_COUNT-1, "" for others.
const char* CommandName(int nId);

// Matches 4 received bytes byte for byte, case-sensitively; CMD_UNKNOWN if none.
int FindCommand(const char* pCommand4);
// The command of a web page's action name; CMD_UNKNOWN if none.
int FindWebAction(const char* pszAction);

// Every command but PLAY, CHCK and VERS makes sure the application runs first,
// unknown commands included.
bool NeedsEnsureRunning(const char* pCommand4);
