// The rules of pairing a browser with the web remote: codes, tokens, the lockout after
// wrong codes, and the file of paired browsers. The listener draws the random bits and
// reads the clock; everything here is plain C++, no platform calls.
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

const size_t MAX_LOCKOUT_ADDRESSES = 256;
const size_t MAX_PAIRED_BROWSERS = 100;
const size_t MAX_BROWSER_NAME = 60;

// A 6-digit code ("000000".."999999") from 32 random bits, without bias: false when
// the bits must be drawn again (values at or above the largest multiple of 1,000,000).
bool PairingCodeFromRandom(uint32_t nRandom, std::string* pCode);
// The token given to a browser: 32 random bytes as 64 lower-case hex digits.
std::string TokenFromRandom(const unsigned char bytes[32]);
// What the server keeps of a token: hex SHA-256 of its text.
std::string TokenHash(const std::string& token);
// Compares in time that depends only on the lengths, not on where they differ.
bool ConstantTimeEquals(const std::string& a, const std::string& b);

// Wrong codes per peer address: the 5th wrong code within a minute locks the address
// out for a minute (the lockout then answers every try, right code included; tries
// during it neither count nor lengthen it). Time is passed in (milliseconds, wrapping
// 32-bit tick counts handled). Bounded: at most 256 addresses are tracked, the stalest
// dropped first.
class CPairingLockout
{
public:
    bool IsLockedOut(const std::string& address, uint32_t nNowMs) const;
    // Records a wrong code; true when the address is now locked out.
    bool RecordWrongCode(const std::string& address, uint32_t nNowMs);
    void RecordSuccess(const std::string& address);
    // Seconds left of a lockout (rounded up), 0 when none.
    unsigned SecondsLeft(const std::string& address, uint32_t nNowMs) const;

private:
    enum
    {
        WRONG_CODES_TO_LOCK = 5
    };
    struct Entry
    {
        std::string address;
        uint32_t nLastMs;                       // the last wrong code, for staleness
        uint32_t nWrongMs[WRONG_CODES_TO_LOCK]; // the recent wrong codes, oldest first
        size_t nWrong;
        bool bLocked;
        uint32_t nLockedMs; // when the lockout began
    };
    size_t IndexOf(const std::string& address) const; // size() when absent
    Entry* FindOrAdd(const std::string& address, uint32_t nNowMs);
    static bool IsLocked(const Entry& entry, uint32_t nNowMs);

    std::vector<Entry> m_entries;
};

struct PairedBrowser
{
    std::string tokenHash; // 64 hex digits
    std::string name;      // from the user agent, e.g. "Chrome on Android"
    std::string date;      // "2026-12-08", the day it was paired
};
// One line per browser: hash, TAB, date, TAB, name. Tabs and line ends in names are
// replaced by spaces; lines that do not parse are skipped; at most 100 are kept, the
// last ones (so a caller that appends new pairings drops the oldest). Names are cut
// to 60 bytes.
std::string SerializePairedBrowsers(const std::vector<PairedBrowser>& browsers);
std::vector<PairedBrowser> ParsePairedBrowsers(const std::string& text);
// "Chrome on Android", "Safari on iPhone", "Firefox on Android", "Edge on Windows",
// ... ; "Browser" when nothing is recognised. At most 60 characters.
std::string BrowserNameFromUserAgent(const std::string& userAgent);
