// Pairing browsers with the server: the pairing key shown in the dialog, each
// paired browser's own key K (kept in a file beside the settings, protected for
// this user) and the lockout of addresses that try wrong keys. Safe from any thread.
#pragma once
#include <windows.h>
#include <atomic>
#include <set>
#include <string>
#include <vector>
#include "CngCrypto.h"
#include "Pairing.h"

enum PairingOutcome
{
    PAIRING_DONE,
    PAIRING_WRONG_KEY,          // the seal did not open: a wrong try of the address
    PAIRING_EXPIRED_KEY,        // no key pairs now: the user must press New key
    PAIRING_NOW_LOCKED_OUT,     // this wrong key locked the address out
    PAIRING_LOCKED_OUT,         // it was locked out already
    PAIRING_TOO_MANY_ADDRESSES, // the lockout tracks as many addresses as it may
    PAIRING_FAILED              // the system's crypto failed us
};

// What the server says of a browser's id.
enum BrowserCheck
{
    BROWSER_PAIRED,
    BROWSER_REMOVED, // removed in the dialog since the server started
    BROWSER_UNKNOWN  // removed before that, or never ours
};

// A paired browser's last-seen time is written with the file, and otherwise
// at most this often: never a write per message.
const DWORD SEEN_SAVE_PERIOD_MS = 5 * 60 * 1000;

// What a try of the key gives besides its outcome.
struct PairingTry
{
    std::string answerSeal;  // PAIRING_DONE: the PC's name sealed under K, for the page
    std::string browserName; // PAIRING_DONE
    unsigned nSecondsLeft;   // how long until the address may try again
    bool bFirstRefusal;      // the first PAIRING_TOO_MANY_ADDRESSES since there was room
};

class CWebPairing
{
public:
    CWebPairing();
    ~CWebPairing();

    // Reads the paired browsers from the file (when there is one) and draws a
    // key. Lines of older versions, and keys this user cannot open, are
    // dropped: gives how many.
    size_t Load(const std::string& filePath);
    // The key as shown ("XXXX-XXXX-XXXX-XXXX"), "" when it has expired.
    std::string KeyText();
    void NewKey();
    // Draws a new key when the shown one has expired (the dialog opening, and
    // its timer while open): the dialog always shows one that pairs.
    void RenewExpiredKey();

    // A pairing form from a browser at the address (docs/web-channel.md).
    // PAIRING_DONE keeps the browser and draws a new key.
    PairingOutcome TryPairing(const PairingForm& form, const std::string& address,
                              const std::string& pcName, PairingTry* pTry);
    // The browser's key K (32 bytes) by its id (32 hex digits); its last-seen time moves on.
    BrowserCheck FindBrowserKey(const std::string& idHex, std::string* pK);
    // Writes last-seen times not yet in the file.
    void SaveSeen();

    std::vector<PairedBrowser> Browsers();
    // Its key is forgotten, and its id is told removed until the server ends.
    void Remove(const std::string& idHex);
    // Moves whenever the key or the paired browsers change, for the dialog.
    unsigned ChangeCount() const { return m_nChanges.load(); }

private:
    CWebPairing(const CWebPairing&);
    CWebPairing& operator=(const CWebPairing&);
    struct KnownBrowser
    {
        StoredBrowser stored;
        std::string key; // K, in memory only
    };
    void DrawKeyLocked();
    bool IsKeyLiveLocked() const;
    // The outcome of a seal that did not open, after counting it.
    PairingOutcome RecordWrongLocked(const std::string& address, PairingTry* pTry);
    bool KeepBrowserLocked(const PairingForm& form, const std::string& key,
                           const std::string& userAgent, const std::string& address);
    void SaveLocked();

    CRITICAL_SECTION m_lock;
    std::string m_filePath;
    std::string m_keyBytes; // 10 bytes, "" when none could be drawn
    ULONGLONG m_nKeyDrawnMs;
    std::vector<KnownBrowser> m_browsers;
    std::set<std::string> m_removedIds;
    bool m_bSeenChanged; // a last-seen time is newer than the file's
    ULONGLONG m_nSavedMs;
    CPairingLockout m_lockout;
    bool m_bRefusingAddresses; // since the last PAIRING_TOO_MANY_ADDRESSES
    std::atomic<unsigned> m_nChanges;
};
