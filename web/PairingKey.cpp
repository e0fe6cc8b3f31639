// Crockford base32 of the 80-bit pairing key, both ways.
#include "PairingKey.h"

static const char ALPHABET[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
static const size_t KEY_CHARACTERS = 16; // 80 bits, 5 to a character

static int DigitValue(char c)
{
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    if (c == 'O')
        return 0;
    if (c == 'I' || c == 'L')
        return 1;
    for (int i = 0; i < 32; i++)
    {
        if (ALPHABET[i] == c)
            return i;
    }
    return -1;
}

std::string PairingKeyText(const std::string& keyBytes10)
{
    std::string text;
    if (keyBytes10.size() != PAIRING_KEY_BYTES)
        return text;
    unsigned nBits = 0;    // how many bits wait in nPending
    unsigned nPending = 0; // at most 12 bits
    for (size_t i = 0; i < keyBytes10.size(); i++)
    {
        nPending = (nPending << 8) | static_cast<unsigned char>(keyBytes10[i]);
        nBits += 8;
        while (nBits >= 5)
        {
            nBits -= 5;
            if (text.size() == 4 || text.size() == 9 || text.size() == 14)
                text += '-';
            text += ALPHABET[(nPending >> nBits) & 0x1F];
        }
        nPending &= (1u << nBits) - 1;
    }
    return text;
}

bool ParsePairingKey(const std::string& typed, std::string* pKeyBytes10)
{
    std::string bytes;
    size_t nDigits = 0;
    unsigned nBits = 0;
    unsigned nPending = 0;
    for (size_t i = 0; i < typed.size(); i++)
    {
        if (typed[i] == '-' || typed[i] == ' ')
            continue;
        int nValue = DigitValue(typed[i]);
        if (nValue < 0 || ++nDigits > KEY_CHARACTERS)
            return false;
        nPending = (nPending << 5) | static_cast<unsigned>(nValue);
        nBits += 5;
        if (nBits >= 8)
        {
            nBits -= 8;
            bytes += static_cast<char>((nPending >> nBits) & 0xFF);
            nPending &= (1u << nBits) - 1;
        }
    }
    if (nDigits != KEY_CHARACTERS)
        return false;
    pKeyBytes10->swap(bytes);
    return true;
}
