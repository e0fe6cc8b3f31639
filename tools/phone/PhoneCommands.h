// What the phone tool knows of each command: how its parameter is encoded and
// what its reply looks like. Plain C++, no platform calls.
#pragma once
#include <string>

enum ParamKind
{
    PARAM_NONE,
    PARAM_BYTE, // 0..255
    PARAM_BE16, // 0..65535
    PARAM_BE32, // signed 32-bit
    PARAM_NAME  // 2-byte length and the bytes
};

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
    ParamKind param;
    ReplyKind reply;
    int nReplyLength; // REPLY_FIXED: the whole reply's length
};

// The command's description, or NULL for a name the server does not know.
const PhoneCommand* FindPhoneCommand(const std::string& name);

// Encodes "NAME" or "NAME:PARAM" as bytes for the wire; false with a message on bad input.
bool EncodePhoneCommand(const std::string& text, std::string& bytes, std::string& error);
