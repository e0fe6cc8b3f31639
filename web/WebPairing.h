// Pairing browsers with the server: the 6-digit code shown in the dialog, the
// tokens of the paired browsers (only their hashes are kept, in a file beside
// the settings) and the lockout of addresses that guess. Safe from any thread.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <vector>
#include "Pairing.h"

// Bytes from the system's cryptographic random source; false if it failed.
bool SystemRandom(void* pBuffer, size_t nSize);

enum PairingOutcome
{
    PAIRING_DONE,
    PAIRING_WRONG_CODE,
    PAIRING_NOW_LOCKED_OUT, // this wrong code locked the address out
    PAIRING_LOCKED_OUT,     // it was locked out already
    PAIRING_FAILED          // no random bytes for a token
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

    // A try of the code from a browser. PAIRING_DONE gives the new token and
    // draws a new code; *pnSecondsLeft tells a locked-out address how long.
    PairingOutcome TryCode(const std::string& code, const std::string& address,
                           const std::string& userAgent, std::string* pToken,
                           std::string* pBrowserName, unsigned* pnSecondsLeft);
    bool IsPaired(const std::string& token);

    std::vector<PairedBrowser> Browsers();
    void Remove(const std::string& tokenHash);
    // Moves whenever the code or the paired browsers change, for the dialog.
    unsigned ChangeCount() const { return m_nChanges.load(); }

private:
    CWebPairing(const CWebPairing&);
    CWebPairing& operator=(const CWebPairing&);
    void DrawCodeLocked();
    void SaveLocked();

    CRITICAL_SECTION m_lock;
    std::string m_filePath;
    std::string m_code;
    std::vector<PairedBrowser> m_browsers;
    CPairingLockout m_lockout;
    std::atomic<unsigned> m_nChanges;
};
