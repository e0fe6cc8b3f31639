// Hex and base64 text of bytes, plain C++.
#include "ByteText.h"

static const char HEX_DIGITS[] = "0123456789abcdef";
static const char BASE64_ALPHABET[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

static int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

std::string HexFromBytes(const std::string& bytes)
{
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (size_t i = 0; i < bytes.size(); i++)
    {
        unsigned char nByte = static_cast<unsigned char>(bytes[i]);
        hex += HEX_DIGITS[nByte >> 4];
        hex += HEX_DIGITS[nByte & 0x0F];
    }
    return hex;
}

bool BytesFromHex(const std::string& hex, std::string* pBytes)
{
    if (hex.size() % 2 != 0)
        return false;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2)
    {
        int nHigh = HexDigitValue(hex[i]);
        int nLow = HexDigitValue(hex[i + 1]);
        if (nHigh < 0 || nLow < 0)
            return false;
        bytes += static_cast<char>(nHigh * 16 + nLow);
    }
    pBytes->swap(bytes);
    return true;
}

std::string Base64Encode(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3)
    {
        size_t nLeft = bytes.size() - i;
        unsigned long nGroup = static_cast<unsigned char>(bytes[i]) << 16;
        if (nLeft > 1)
            nGroup |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (nLeft > 2)
            nGroup |= static_cast<unsigned char>(bytes[i + 2]);
        text += BASE64_ALPHABET[(nGroup >> 18) & 0x3F];
        text += BASE64_ALPHABET[(nGroup >> 12) & 0x3F];
        text += nLeft > 1 ? BASE64_ALPHABET[(nGroup >> 6) & 0x3F] : '=';
        text += nLeft > 2 ? BASE64_ALPHABET[nGroup & 0x3F] : '=';
    }
    return text;
}

bool Base64Decode(const std::string& text, std::string* pBytes)
{
    if (text.size() % 4 != 0)
        return false;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4)
    {
        bool bLast = i + 4 == text.size();
        size_t nPadding = 0;
        if (bLast && text[i + 3] == '=')
            nPadding = text[i + 2] == '=' ? 2 : 1;
        unsigned long nGroup = 0;
        for (size_t j = 0; j < 4; j++)
        {
            int nValue = j < 4 - nPadding ? Base64Value(text[i + j]) : 0;
            if (nValue < 0)
                return false;
            nGroup = (nGroup << 6) | static_cast<unsigned long>(nValue);
        }
        // The bits the padding leaves over must be zero, so each text has one reading.
        if ((nPadding == 1 && (nGroup & 0xFF) != 0) || (nPadding == 2 && (nGroup & 0xFFFF) != 0))
            return false;
        bytes += static_cast<char>((nGroup >> 16) & 0xFF);
        if (nPadding < 2)
            bytes += static_cast<char>((nGroup >> 8) & 0xFF);
        if (nPadding < 1)
            bytes += static_cast<char>(nGroup & 0xFF);
    }
    pBytes->swap(bytes);
    return true;
}
