// The rules of pairing a browser with the web remote: the pairing form, the key's
// lifetime, the lockout after wrong keys, and the file of paired browsers. The
// caller draws the random bits, reads the clock and does the crypto; everything
// here is plain C++, no platform calls.
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

const size_t MAX_LOCKOUT_ADDRESSES = 256;
const size_t MAX_PAIRED_BROWSERS = 100;
const size_t MAX_BROWSER_NAME = 60;
const size_t MAX_ADDRESS_TEXT = 45; // an IPv6 address's longest text

// The pairing form a page posts (see docs/web-channel.md), its hex read into
// bytes. False when a field is missing or not what it must be.
struct PairingForm
{
    std::string idHex;    // 32 lower-case hex digits
    std::string nonceHex; // 32 lower-case hex digits
    std::string nonce;    // its 16 bytes
    std::string seal;     // the sealed user agent, tag included
};
const size_t MAX_PAIRING_SEAL = 1024; // a user agent of some 1,000 bytes and the tag
bool ReadPairingForm(const std::string& body, PairingForm* pForm);

// Wrong keys per peer address: the 5th wrong key within a minute locks the address
// out for a minute (the lockout then answers every try, right key included; tries
// during it neither count nor lengthen it). Time is passed in (milliseconds, wrapping
// 32-bit tick counts handled). Bounded: at most 256 addresses are tracked, and one is
// forgotten only once it no longer matters (not locked out, no wrong key within its
// minute); while the table is full of others, a new address may not try at all.
class CPairingLockout
{
public:
    bool IsLockedOut(const std::string& address, uint32_t nNowMs) const;
    // True when the address is not tracked and every place is taken.
    bool IsFullFor(const std::string& address, uint32_t nNowMs) const;
    // Records a wrong key (nothing when IsFullFor); true when the address is now locked out.
    bool RecordWrongTry(const std::string& address, uint32_t nNowMs);
    void RecordSuccess(const std::string& address);
    // Seconds left of a lockout (rounded up), 0 when none.
    unsigned SecondsLeft(const std::string& address, uint32_t nNowMs) const;
    // Seconds until the first place frees up (rounded up), 0 when one is free.
    unsigned SecondsUntilRoom(uint32_t nNowMs) const;

private:
    enum
    {
        WRONG_TRIES_TO_LOCK = 5
    };
    struct Entry
    {
        std::string address;
        uint32_t nWrongMs[WRONG_TRIES_TO_LOCK]; // the recent wrong tries, oldest first
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

// A pairing key pairs for 10 minutes from when it was drawn (64-bit milliseconds).
const uint64_t PAIRING_KEY_LIFETIME_MS = 10 * 60 * 1000;
inline bool IsPairingKeyExpired(uint64_t nDrawnMs, uint64_t nNowMs)
{
    return nNowMs - nDrawnMs >= PAIRING_KEY_LIFETIME_MS;
}

struct PairedBrowser
{
    std::string id;   // the browser's id, 32 lower-case hex digits
    std::string name; // from the user agent, e.g. "Chrome on Android"
    std::string date; // "2026-12-08", the day it was paired
    // Both "" for a browser paired by a version that did not keep them.
    std::string address; // where it paired from, "192.168.1.23"
    std::string seen;    // when it was last seen, "2026-12-09 14:05"
};
// A browser as the file keeps it: its key K protected for this user (DPAPI's
// blob, which only the Win32 side opens).
struct StoredBrowser
{
    PairedBrowser browser;
    std::string protectedKey; // bytes
};
const size_t MAX_PROTECTED_KEY = 1024;
// One line per browser: id, TAB, hex of the protected key, TAB, date, TAB, name,
// TAB, address, TAB, last seen (the last two may be empty). Tabs and line ends in
// names are replaced by spaces; lines that do not parse are skipped (those of
// older versions, which began with a token's 64-digit hash, among them), and so
// are an address or a time that does not; at most 100 are kept, the last ones
// (so a caller that appends new pairings drops the oldest). Names are cut to 60
// bytes.
std::string SerializePairedBrowsers(const std::vector<StoredBrowser>& browsers);
std::vector<StoredBrowser> ParsePairedBrowsers(const std::string& text);
// The dialog's line, which tells browsers of one name apart: "Chrome on Android,
// 192.168.1.23, seen 2026-12-09 14:05", or "..., paired 2026-12-08" when never seen.
std::string PairedBrowserLine(const PairedBrowser& browser);
// "Chrome on Android", "Safari on iPhone", "Firefox on Android", "Edge on Windows",
// ... ; "Browser" when nothing is recognised. At most 60 characters.
std::string BrowserNameFromUserAgent(const std::string& userAgent);
