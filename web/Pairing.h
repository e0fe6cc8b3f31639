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
const size_t MAX_ADDRESS_TEXT = 45; // an IPv6 address's longest text

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
// 32-bit tick counts handled). Bounded: at most 256 addresses are tracked, and one is
// forgotten only once it no longer matters (not locked out, no wrong code within its
// minute); while the table is full of others, a new address may not try at all.
class CPairingLockout
{
public:
    bool IsLockedOut(const std::string& address, uint32_t nNowMs) const;
    // True when the address is not tracked and every place is taken.
    bool IsFullFor(const std::string& address, uint32_t nNowMs) const;
    // Records a wrong code (nothing when IsFullFor); true when the address is now locked out.
    bool RecordWrongCode(const std::string& address, uint32_t nNowMs);
    void RecordSuccess(const std::string& address);
    // Seconds left of a lockout (rounded up), 0 when none.
    unsigned SecondsLeft(const std::string& address, uint32_t nNowMs) const;
    // Seconds until the first place frees up (rounded up), 0 when one is free.
    unsigned SecondsUntilRoom(uint32_t nNowMs) const;

private:
    enum
    {
        WRONG_CODES_TO_LOCK = 5
    };
    struct Entry
    {
        std::string address;
        uint32_t nWrongMs[WRONG_CODES_TO_LOCK]; // the recent wrong codes, oldest first
        size_t nWrong;
        bool bLocked;
        uint32_t nLockedMs; // when the lockout began
    };
    size_t IndexOf(const std::string& address) const; // size() when absent
    Entry* FindOrAdd(const std::string& address, uint32_t nNowMs);
    static bool IsLocked(const Entry& entry, uint32_t nNowMs);
    // Milliseconds until the entry no longer matters, 0 when it does not now.
    static uint32_t MsUntilStale(const Entry& entry, uint32_t nNowMs);
    void DropStale(uint32_t nNowMs);

    std::vector<Entry> m_entries;
};

// The code shown in the dialog, and when it may pair: only once the dialog has
// shown it, and then while the dialog is open and for 10 minutes after it closed.
// Once that has run out the code stays expired, the dialog opened again
// included, until a new one is drawn. Wrong tries count, against a code never
// shown too; after 10 the caller draws a new code. Time is passed in (64-bit
// milliseconds).
enum CodeCheck
{
    CODE_MATCHES,
    CODE_WRONG, // a wrong code, or one the dialog never showed
    CODE_EXPIRED
};

class CPairingCode
{
public:
    CPairingCode();
    // A new code; shown at once when the dialog is open.
    void Set(const std::string& code, uint64_t nNowMs);
    const std::string& Text() const { return m_code; }
    void DialogOpened(uint64_t nNowMs);
    void DialogClosed(uint64_t nNowMs);
    bool IsExpired(uint64_t nNowMs);
    CodeCheck Check(const std::string& tried, uint64_t nNowMs);
    // 10 tries have not paired: time for a new code.
    bool IsWornOut() const { return m_nFailedTries >= FAILED_TRIES_TO_REPLACE; }

    enum
    {
        FAILED_TRIES_TO_REPLACE = 10
    };
    static const uint64_t LIFETIME_MS = 10 * 60 * 1000;

private:
    std::string m_code;
    bool m_bShown;
    bool m_bDialogOpen;
    bool m_bExpired;
    uint64_t m_nLastShownMs; // when the dialog last showed it
    unsigned m_nFailedTries;
};

struct PairedBrowser
{
    std::string tokenHash; // 64 hex digits
    std::string name;      // from the user agent, e.g. "Chrome on Android"
    std::string date;      // "2026-12-08", the day it was paired
    // Both "" for a browser paired by a version that did not keep them.
    std::string address; // where it paired from, "192.168.1.23"
    std::string seen;    // when it was last seen, "2026-12-09 14:05"
};
// One line per browser: hash, TAB, date, TAB, name, and then, when known, TAB,
// address, TAB, last seen (older versions take those for more of the name).
// Tabs and line ends in names are replaced by spaces; lines that do not parse are
// skipped, and so are an address or a time that does not; at most 100 are kept,
// the last ones (so a caller that appends new pairings drops the oldest). Names
// are cut to 60 bytes.
std::string SerializePairedBrowsers(const std::vector<PairedBrowser>& browsers);
std::vector<PairedBrowser> ParsePairedBrowsers(const std::string& text);
// The dialog's line, which tells browsers of one name apart: "Chrome on Android,
// 192.168.1.23, seen 2026-12-09 14:05", or "..., paired 2026-12-08" when never seen.
std::string PairedBrowserLine(const PairedBrowser& browser);
// "Chrome on Android", "Safari on iPhone", "Firefox on Android", "Edge on Windows",
// ... ; "Browser" when nothing is recognised. At most 60 characters.
std::string BrowserNameFromUserAgent(const std::string& userAgent);
