// Pairing browsers with the server: the 6-digit code shown in the dialog, the
// tokens of the paired browsers (only their hashes are kept, in a file beside
// the settings) and the lockout of addresses that guess. Safe from any thread.
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
    PAIRING_WRONG_CODE,
    PAIRING_EXPIRED_CODE,
    PAIRING_NOW_LOCKED_OUT,     // this wrong code locked the address out
    PAIRING_LOCKED_OUT,         // it was locked out already
    PAIRING_TOO_MANY_ADDRESSES, // the lockout tracks as many addresses as it may
    PAIRING_FAILED              // no random bytes for a token
};

// What the live channel's opening finds of a browser's id.
enum BrowserCheck
{
    BROWSER_PAIRED,
    BROWSER_REMOVED,
    BROWSER_UNKNOWN
};

// What a browser's token says of it.
enum TokenCheck
{
    TOKEN_PAIRED,
    TOKEN_NONE,    // no token at all
    TOKEN_REMOVED, // removed in the dialog since the server started
    TOKEN_UNKNOWN  // removed before that, or never ours
};

// A paired browser's last-seen time is written with the file, and otherwise
// at most this often: never a write per request.
const DWORD SEEN_SAVE_PERIOD_MS = 5 * 60 * 1000;

// What a try of the code gives besides its outcome.
struct PairingTry
{
    std::string token;       // PAIRING_DONE: the browser's new token
    std::string browserName; // PAIRING_DONE
    unsigned nSecondsLeft;   // how long until the address may try again
    bool bCodeReplaced;      // the 10th wrong code: a new code was drawn
    bool bFirstRefusal;      // the first PAIRING_TOO_MANY_ADDRESSES since there was room
};

class CWebPairing
{
public:
    CWebPairing();
    ~CWebPairing();

    // Reads the paired browsers from the file (when there is one) and draws a code.
    void Load(const std::string& filePath);
    std::string Code();
    void NewCode();
    // The dialog shows the code (or that it expired) from open to close; the
    // code pairs only once shown, and for a while after (CPairingCode).
    void DialogOpened();
    void DialogClosed();
    bool IsCodeExpired();

    // A try of the code from a browser. PAIRING_DONE gives the new token and
    // draws a new code.
    PairingOutcome TryCode(const std::string& code, const std::string& address,
                           const std::string& userAgent, PairingTry* pTry);
    // A paired browser's last-seen time moves on with every check.
    TokenCheck CheckToken(const std::string& token);
    // Writes last-seen times not yet in the file.
    void SaveSeen();

    // The browser's lasting key K (stand-in until the pairing by key lands).
    BrowserCheck FindBrowserKey(const std::string& idHex, std::string* pK);
    std::vector<PairedBrowser> Browsers();
    // Its token is refused from then on, as removed until the server ends.
    void Remove(const std::string& tokenHash);
    // Moves whenever the code or the paired browsers change, for the dialog.
    unsigned ChangeCount() const { return m_nChanges.load(); }

private:
    CWebPairing(const CWebPairing&);
    CWebPairing& operator=(const CWebPairing&);
    void DrawCodeLocked();
    // The wrong code's outcome, after counting it.
    PairingOutcome RecordWrongLocked(CodeCheck nCheck, const std::string& address,
                                     PairingTry* pTry);
    void SaveLocked();

    CRITICAL_SECTION m_lock;
    std::string m_filePath;
    CPairingCode m_code;
    std::vector<PairedBrowser> m_browsers;
    std::set<std::string> m_removedHashes;
    bool m_bSeenChanged; // a last-seen time is newer than the file's
    ULONGLONG m_nSavedMs;
    CPairingLockout m_lockout;
    bool m_bRefusingAddresses; // since the last PAIRING_TOO_MANY_ADDRESSES
    std::atomic<unsigned> m_nChanges;
};
