#include "ReplyText.h"
#include <stdio.h>

static unsigned long BE(const std::string& bytes, size_t nOffset, int nWidth)
{
    unsigned long nValue = 0;
    for (int i = 0; i < nWidth; i++)
        nValue = (nValue << 8) | static_cast<unsigned char>(bytes[nOffset + i]);
    return nValue;
}

static long Signed32(unsigned long nValue)
{
    return nValue >= 0x80000000UL ? static_cast<long>(nValue - 0x100000000ULL)
                                  : static_cast<long>(nValue);
}

std::string HexBytes(const std::string& bytes)
{
    std::string text;
    char hex[4];
    for (size_t i = 0; i < bytes.size(); i++)
    {
        snprintf(hex, sizeof(hex), "%s%02X", i ? " " : "", static_cast<unsigned char>(bytes[i]));
        text += hex;
    }
    return text;
}

std::string DescribeFixedReply(const std::string& reply)
{
    char text[128];
    std::string tag = reply.substr(0, 7);
    if (tag == "VERSACK" && reply.size() == 9)
        snprintf(text, sizeof(text), "VERSACK version %lu.%lu", BE(reply, 7, 1), BE(reply, 8, 1));
    else if (tag == "PLENACK" && reply.size() == 9)
        snprintf(text, sizeof(text), "PLENACK %lu entries", BE(reply, 7, 2));
    else if (tag == "DINFACK" && reply.size() == 19)
        snprintf(text, sizeof(text), "DINFACK bit rate %ld, sample rate %ld, channels %ld",
                 Signed32(BE(reply, 7, 4)), Signed32(BE(reply, 11, 4)), Signed32(BE(reply, 15, 4)));
    else if (tag == "FINFACK" && reply.size() == 11)
        snprintf(text, sizeof(text), "FINFACK length %lu bytes", BE(reply, 7, 4));
    else
        return "unexpected reply: " + HexBytes(reply);
    return text;
}

std::string DescribeStatusReply(const std::string& reply)
{
    if (reply.size() < 18)
        return "short status reply: " + HexBytes(reply);
    static const char* const states[] = {"stopped", "playing", "?", "paused"};
    unsigned nState = static_cast<unsigned char>(reply[7]);
    std::string title = reply.substr(18);
    if (!title.empty() && title[title.size() - 1] == '\0')
        title.erase(title.size() - 1);
    char text[128];
    snprintf(text, sizeof(text),
             "%s %s, length %ld s, position %ld s, shuffle %u, repeat %u, title ",
             reply.substr(0, 7).c_str(), nState < 4 ? states[nState] : "?",
             Signed32(BE(reply, 8, 4)), Signed32(BE(reply, 12, 4)),
             static_cast<unsigned char>(reply[16]), static_cast<unsigned char>(reply[17]));
    return text + ("\"" + title + "\"");
}
