// What the phone tool knows of each command beyond the server's command table
// (its parameter): how it is written, what its reply looks like and how long
// that may take. Plain C++.
#pragma once
#include <string>
#include "../../core/CommandSet.h"

enum ReplyKind
{
    REPLY_NONE,
    REPLY_CHECK,    // the single byte "Y"
    REPLY_FIXED,    // a tag and a fixed number of bytes
    REPLY_INFO,     // INFOACK: 18 bytes and a title of unknown length
    REPLY_INF2,     // INF2ACK: 18 bytes and a zero-terminated title
    REPLY_LISTING,  // LISTACK and records up to the end mark FF 00
    REPLY_PLAYLIST, // PLSTACK, index, zero-terminated text (or the double header)
    REPLY_DOWNLOAD  // DOWNACK and the file's bytes, as long as FINF says
};

struct PhoneCommand
{
    const char* pszName;
    ReplyKind reply;
    int nReplyLength;    // REPLY_FIXED: the whole reply's length
    int nWaitSeconds;    // how long the reply may take to start
    const char* pszForm; // the argument as written, for the usage
    const char* pszWhat; // what the command does, for the usage

    // The command's row of the server's table: its parameter.
    const CommandRow& Row() const { return CommandRowOf(FindCommand(pszName)); }
};

// The command's description, or NULL for a name the server does not know.
const PhoneCommand* FindPhoneCommand(const std::string& name);
// The commands in the order the usage lists them; NULL after the last.
const PhoneCommand* PhoneCommandAt(size_t nIndex);

// A name parameter: 2-byte big-endian length, then the bytes.
std::string EncodeName(const std::string& name);

// Encodes "NAME" or "NAME:PARAM" as bytes for the wire; false with a message on bad input.
bool EncodePhoneCommand(const std::string& text, std::string& bytes, std::string& error);
