#include "WebPairing.h"
#include <stdio.h>
#include "ChannelCrypto.h"
#include "CngCrypto.h"
#include "ByteText.h"
#include "PairingKey.h"
#include "TextLines.h"
#include "../framework/ScopedHandle.h"

// Holds the pairing's lock for one scope.
class CPairingLock
{
public:
    explicit CPairingLock(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~CPairingLock() { LeaveCriticalSection(&m_lock); }

private:
    CPairingLock(const CPairingLock&);
    CPairingLock& operator=(const CPairingLock&);
    CRITICAL_SECTION& m_lock;
};

CWebPairing::CWebPairing()
    : m_nKeyDrawnMs(0), m_bSeenChanged(false), m_nSavedMs(0), m_bRefusingAddresses(false),
      m_nChanges(0)
{
    InitializeCriticalSection(&m_lock);
}

CWebPairing::~CWebPairing()
{
    DeleteCriticalSection(&m_lock);
}

static std::string ReadWholeFile(const std::string& path)
{
    std::string text;
    FILE* pFile = fopen(path.c_str(), "rb");
    if (!pFile)
        return text;
    char buffer[4096];
    size_t nRead;
    // At most 100 lines, each under 2.3 KB with its protected key in hex
    // (MAX_PROTECTED_KEY); anything far bigger is not ours.
    while ((nRead = fread(buffer, 1, sizeof(buffer), pFile)) > 0 && text.size() < 256 * 1024)
        text.append(buffer, nRead);
    fclose(pFile);
    return text;
}

size_t CWebPairing::Load(const std::string& filePath)
{
    std::string text = filePath.empty() ? std::string() : ReadWholeFile(filePath);
    std::vector<StoredBrowser> stored = ParsePairedBrowsers(text);
    size_t nLines = 0;
    for (const std::string& line : TextLines(text))
        nLines += line.empty() ? 0 : 1;
    CPairingLock lock(m_lock);
    m_filePath = filePath;
    m_browsers.clear();
    for (size_t i = 0; i < stored.size(); i++)
    {
        KnownBrowser known;
        known.stored = stored[i];
        // Another user's file, or one copied from another PC, opens to nothing.
        if (UnprotectForThisUser(stored[i].protectedKey, &known.key) &&
            known.key.size() == CHANNEL_KEY_BYTES)
            m_browsers.push_back(known);
    }
    m_nSavedMs = GetTickCount64();
    DrawKeyLocked();
    return nLines > m_browsers.size() ? nLines - m_browsers.size() : 0;
}

void CWebPairing::DrawKeyLocked()
{
    std::string bytes(PAIRING_KEY_BYTES, '\0');
    // Without random bytes there is no key, and no browser can pair.
    if (!SystemRandom(&bytes[0], bytes.size()))
        bytes.clear();
    m_keyBytes = bytes;
    m_nKeyDrawnMs = GetTickCount64();
    m_nChanges++;
}

bool CWebPairing::IsKeyLiveLocked() const
{
    return !m_keyBytes.empty() && !IsPairingKeyExpired(m_nKeyDrawnMs, GetTickCount64());
}

std::string CWebPairing::KeyText()
{
    CPairingLock lock(m_lock);
    return IsKeyLiveLocked() ? PairingKeyText(m_keyBytes) : std::string();
}

void CWebPairing::NewKey()
{
    CPairingLock lock(m_lock);
    DrawKeyLocked();
}

void CWebPairing::RenewExpiredKey()
{
    CPairingLock lock(m_lock);
    if (!IsKeyLiveLocked())
        DrawKeyLocked();
}

// "2026-12-09 14:05", local time; its first 10 characters are the date.
static std::string LocalMinute()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char szTime[24];
    snprintf(szTime, sizeof(szTime), "%04d-%02d-%02d %02d:%02d", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute);
    return szTime;
}

PairingOutcome CWebPairing::TryPairing(const PairingForm& form, const std::string& address,
                                       const std::string& pcName, PairingTry* pTry)
{
    CPairingLock lock(m_lock);
    DWORD nNow = GetTickCount();
    pTry->nSecondsLeft = 0;
    pTry->bFirstRefusal = false;
    if (m_lockout.IsLockedOut(address, nNow))
    {
        pTry->nSecondsLeft = m_lockout.SecondsLeft(address, nNow);
        return PAIRING_LOCKED_OUT;
    }
    // A try that could not be counted is no try: otherwise enough addresses
    // would guess without limit.
    if (m_lockout.IsFullFor(address, nNow))
    {
        pTry->nSecondsLeft = m_lockout.SecondsUntilRoom(nNow);
        pTry->bFirstRefusal = !m_bRefusingAddresses;
        m_bRefusingAddresses = true;
        return PAIRING_TOO_MANY_ADDRESSES;
    }
    m_bRefusingAddresses = false;
    // An expired key pairs no one, so a try against it is no guess.
    if (!IsKeyLiveLocked())
        return PAIRING_EXPIRED_KEY;
    std::string key, userAgent;
    if (!DeriveBrowserKey(m_keyBytes, form.nonce, form.idHex, &key))
        return PAIRING_FAILED;
    if (!OpenPairingSeal(key, form.idHex, form.nonceHex, form.seal, &userAgent))
        return RecordWrongLocked(address, pTry);
    std::string answer;
    if (!SealPairingAnswer(key, form.idHex, pcName, &answer) ||
        !KeepBrowserLocked(form, key, userAgent, address))
        return PAIRING_FAILED;
    m_lockout.RecordSuccess(address);
    pTry->answerSeal = HexFromBytes(answer);
    pTry->browserName = BrowserNameFromUserAgent(userAgent);
    DrawKeyLocked();
    return PAIRING_DONE;
}

bool CWebPairing::KeepBrowserLocked(const PairingForm& form, const std::string& key,
                                    const std::string& userAgent, const std::string& address)
{
    KnownBrowser known;
    if (!ProtectForThisUser(key, &known.stored.protectedKey))
        return false;
    known.key = key;
    PairedBrowser& browser = known.stored.browser;
    browser.id = form.idHex;
    browser.name = BrowserNameFromUserAgent(userAgent);
    browser.seen = LocalMinute();
    browser.date = browser.seen.substr(0, 10);
    browser.address = address;
    // A page that pairs again under its old id takes that id's place.
    for (size_t i = 0; i < m_browsers.size();)
    {
        if (m_browsers[i].stored.browser.id == form.idHex)
            m_browsers.erase(m_browsers.begin() + i);
        else
            i++;
    }
    m_browsers.push_back(known);
    // As the file keeps them: the newest 100.
    if (m_browsers.size() > MAX_PAIRED_BROWSERS)
        m_browsers.erase(m_browsers.begin());
    m_removedIds.erase(form.idHex);
    SaveLocked();
    return true;
}

PairingOutcome CWebPairing::RecordWrongLocked(const std::string& address, PairingTry* pTry)
{
    DWORD nNow = GetTickCount();
    bool bLocked = m_lockout.RecordWrongTry(address, nNow);
    pTry->nSecondsLeft = m_lockout.SecondsLeft(address, nNow);
    return bLocked ? PAIRING_NOW_LOCKED_OUT : PAIRING_WRONG_KEY;
}

BrowserCheck CWebPairing::FindBrowserKey(const std::string& idHex, std::string* pK)
{
    std::string now = LocalMinute();
    CPairingLock lock(m_lock);
    size_t nFound = 0;
    while (nFound < m_browsers.size() && m_browsers[nFound].stored.browser.id != idHex)
        nFound++;
    if (nFound == m_browsers.size())
        return m_removedIds.count(idHex) ? BROWSER_REMOVED : BROWSER_UNKNOWN;
    *pK = m_browsers[nFound].key;
    PairedBrowser& browser = m_browsers[nFound].stored.browser;
    if (browser.seen != now)
    {
        browser.seen = now;
        m_bSeenChanged = true;
    }
    if (m_bSeenChanged && GetTickCount64() - m_nSavedMs >= SEEN_SAVE_PERIOD_MS)
        SaveLocked();
    return BROWSER_PAIRED;
}

void CWebPairing::SaveSeen()
{
    CPairingLock lock(m_lock);
    if (m_bSeenChanged)
        SaveLocked();
}

std::vector<PairedBrowser> CWebPairing::Browsers()
{
    CPairingLock lock(m_lock);
    std::vector<PairedBrowser> browsers;
    for (size_t i = 0; i < m_browsers.size(); i++)
        browsers.push_back(m_browsers[i].stored.browser);
    return browsers;
}

void CWebPairing::Remove(const std::string& idHex)
{
    CPairingLock lock(m_lock);
    for (size_t i = 0; i < m_browsers.size(); i++)
    {
        if (m_browsers[i].stored.browser.id != idHex)
            continue;
        m_browsers.erase(m_browsers.begin() + i);
        m_removedIds.insert(idHex);
        SaveLocked();
        m_nChanges++;
        return;
    }
}

// Written whole to a new file that then replaces the old, so a crash never
// leaves half a list.
void CWebPairing::SaveLocked()
{
    m_bSeenChanged = false;
    m_nSavedMs = GetTickCount64();
    if (m_filePath.empty())
        return;
    std::vector<StoredBrowser> stored;
    for (size_t i = 0; i < m_browsers.size(); i++)
        stored.push_back(m_browsers[i].stored);
    std::string text = SerializePairedBrowsers(stored);
    std::string newPath = m_filePath + ".new";
    CScopedHandle file(CreateFileA(newPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.IsValid())
        return;
    DWORD nWritten = 0;
    BOOL bWritten =
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &nWritten, NULL);
    // On the disk before it takes the old one's place: a power cut in between
    // must not leave an empty list under the old name.
    bWritten = bWritten && nWritten == text.size() && FlushFileBuffers(file.Get());
    file.Close();
    if (bWritten)
        MoveFileExA(newPath.c_str(), m_filePath.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    else
        DeleteFileA(newPath.c_str());
}
