#include "WebPairing.h"
#include <stdio.h>
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
    : m_bSeenChanged(false), m_nSavedMs(0), m_bRefusingAddresses(false), m_nChanges(0)
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
    // The file holds at most 100 short lines; anything far bigger is not ours.
    while ((nRead = fread(buffer, 1, sizeof(buffer), pFile)) > 0 && text.size() < 65536)
        text.append(buffer, nRead);
    fclose(pFile);
    return text;
}

void CWebPairing::Load(const std::string& filePath)
{
    CPairingLock lock(m_lock);
    m_filePath = filePath;
    m_browsers = filePath.empty() ? std::vector<PairedBrowser>()
                                  : ParsePairedBrowsers(ReadWholeFile(filePath));
    m_nSavedMs = GetTickCount64();
    DrawCodeLocked();
}

void CWebPairing::DrawCodeLocked()
{
    std::string code;
    for (int nTry = 0; nTry < 100 && code.empty(); nTry++)
    {
        uint32_t nRandom = 0;
        if (SystemRandom(&nRandom, sizeof(nRandom)))
            PairingCodeFromRandom(nRandom, &code);
    }
    // Without random bytes there is no code, and no browser can pair.
    m_code.Set(code, GetTickCount64());
    m_nChanges++;
}

std::string CWebPairing::Code()
{
    CPairingLock lock(m_lock);
    return m_code.Text();
}

void CWebPairing::NewCode()
{
    CPairingLock lock(m_lock);
    DrawCodeLocked();
}

void CWebPairing::DialogOpened()
{
    CPairingLock lock(m_lock);
    m_code.DialogOpened(GetTickCount64());
}

void CWebPairing::DialogClosed()
{
    CPairingLock lock(m_lock);
    m_code.DialogClosed(GetTickCount64());
}

bool CWebPairing::IsCodeExpired()
{
    CPairingLock lock(m_lock);
    return m_code.IsExpired(GetTickCount64());
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

PairingOutcome CWebPairing::TryCode(const std::string& code, const std::string& address,
                                    const std::string& userAgent, PairingTry* pTry)
{
    CPairingLock lock(m_lock);
    DWORD nNow = GetTickCount();
    pTry->nSecondsLeft = 0;
    pTry->bCodeReplaced = false;
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
    CodeCheck nCheck = m_code.Check(code, GetTickCount64());
    if (nCheck != CODE_MATCHES)
        return RecordWrongLocked(nCheck, address, pTry);
    unsigned char random[32];
    if (!SystemRandom(random, sizeof(random)))
        return PAIRING_FAILED;
    m_lockout.RecordSuccess(address);
    pTry->token = TokenFromRandom(random);
    PairedBrowser browser;
    browser.tokenHash = TokenHash(pTry->token);
    browser.name = BrowserNameFromUserAgent(userAgent);
    browser.seen = LocalMinute();
    browser.date = browser.seen.substr(0, 10);
    browser.address = address;
    pTry->browserName = browser.name;
    m_browsers.push_back(browser);
    SaveLocked();
    DrawCodeLocked();
    return PAIRING_DONE;
}

PairingOutcome CWebPairing::RecordWrongLocked(CodeCheck nCheck, const std::string& address,
                                              PairingTry* pTry)
{
    DWORD nNow = GetTickCount();
    bool bLocked = m_lockout.RecordWrongCode(address, nNow);
    pTry->nSecondsLeft = m_lockout.SecondsLeft(address, nNow);
    if (m_code.IsWornOut())
    {
        DrawCodeLocked();
        pTry->bCodeReplaced = true;
    }
    if (bLocked)
        return PAIRING_NOW_LOCKED_OUT;
    return nCheck == CODE_EXPIRED ? PAIRING_EXPIRED_CODE : PAIRING_WRONG_CODE;
}

TokenCheck CWebPairing::CheckToken(const std::string& token)
{
    if (token.empty())
        return TOKEN_NONE;
    std::string hash = TokenHash(token);
    std::string now = LocalMinute();
    CPairingLock lock(m_lock);
    size_t nFound = m_browsers.size();
    // Every hash is compared in full, so the time says nothing of which matched.
    for (size_t i = 0; i < m_browsers.size(); i++)
        nFound = ConstantTimeEquals(hash, m_browsers[i].tokenHash) ? i : nFound;
    if (nFound == m_browsers.size())
        return m_removedHashes.count(hash) ? TOKEN_REMOVED : TOKEN_UNKNOWN;
    if (m_browsers[nFound].seen != now)
    {
        m_browsers[nFound].seen = now;
        m_bSeenChanged = true;
    }
    if (m_bSeenChanged && GetTickCount64() - m_nSavedMs >= SEEN_SAVE_PERIOD_MS)
        SaveLocked();
    return TOKEN_PAIRED;
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
    return m_browsers;
}

void CWebPairing::Remove(const std::string& tokenHash)
{
    CPairingLock lock(m_lock);
    for (size_t i = 0; i < m_browsers.size(); i++)
    {
        if (m_browsers[i].tokenHash != tokenHash)
            continue;
        m_browsers.erase(m_browsers.begin() + i);
        m_removedHashes.insert(tokenHash);
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
    std::string text = SerializePairedBrowsers(m_browsers);
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
