#include "Pairing.h"
#include "ByteText.h"
#include "TextLines.h"
#include "UrlText.h"
#include <stdio.h>
#include <stddef.h>

static const uint32_t LOCKOUT_MS = 60000;
static const uint32_t WRONG_TRY_WINDOW_MS = 60000;

// Exactly 32 lower-case hex digits, as the page writes its id and nonce.
static bool IsHex128(const std::string& text)
{
    return text.size() == 32 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool ReadPairingForm(const std::string& body, PairingForm* pForm)
{
    std::string sealHex;
    if (!FormValue(body, "id", &pForm->idHex) || !FormValue(body, "nonce", &pForm->nonceHex) ||
        !FormValue(body, "seal", &sealHex))
        return false;
    if (!IsHex128(pForm->idHex) || !IsHex128(pForm->nonceHex) ||
        sealHex.size() > 2 * MAX_PAIRING_SEAL)
        return false;
    // A seal holds at least its 16-byte tag.
    return BytesFromHex(pForm->nonceHex, &pForm->nonce) && BytesFromHex(sealHex, &pForm->seal) &&
           pForm->seal.size() >= 16;
}

bool CPairingLockout::IsLocked(const Entry& entry, uint32_t nNowMs)
{
    return entry.bLocked && nNowMs - entry.nLockedMs < LOCKOUT_MS;
}

uint32_t CPairingLockout::MsUntilStale(const Entry& entry, uint32_t nNowMs)
{
    if (IsLocked(entry, nNowMs))
        return LOCKOUT_MS - (nNowMs - entry.nLockedMs);
    // The newest wrong try is the last to leave its minute.
    if (entry.nWrong == 0 || nNowMs - entry.nWrongMs[entry.nWrong - 1] >= WRONG_TRY_WINDOW_MS)
        return 0;
    return WRONG_TRY_WINDOW_MS - (nNowMs - entry.nWrongMs[entry.nWrong - 1]);
}

size_t CPairingLockout::IndexOf(const std::string& address) const
{
    size_t i = 0;
    while (i < m_entries.size() && m_entries[i].address != address)
        i++;
    return i;
}

void CPairingLockout::DropStale(uint32_t nNowMs)
{
    size_t nKept = 0;
    for (size_t i = 0; i < m_entries.size(); i++)
    {
        if (MsUntilStale(m_entries[i], nNowMs) > 0)
            m_entries[nKept++] = m_entries[i];
    }
    m_entries.resize(nKept);
}

CPairingLockout::Entry* CPairingLockout::FindOrAdd(const std::string& address, uint32_t nNowMs)
{
    size_t nIndex = IndexOf(address);
    if (nIndex < m_entries.size())
        return &m_entries[nIndex];
    if (m_entries.size() >= MAX_LOCKOUT_ADDRESSES)
        DropStale(nNowMs);
    if (m_entries.size() >= MAX_LOCKOUT_ADDRESSES)
        return NULL;
    Entry entry = Entry();
    entry.address = address;
    m_entries.push_back(entry);
    return &m_entries.back();
}

bool CPairingLockout::IsLockedOut(const std::string& address, uint32_t nNowMs) const
{
    size_t nIndex = IndexOf(address);
    return nIndex < m_entries.size() && IsLocked(m_entries[nIndex], nNowMs);
}

bool CPairingLockout::IsFullFor(const std::string& address, uint32_t nNowMs) const
{
    return IndexOf(address) == m_entries.size() && SecondsUntilRoom(nNowMs) > 0;
}

unsigned CPairingLockout::SecondsUntilRoom(uint32_t nNowMs) const
{
    if (m_entries.size() < MAX_LOCKOUT_ADDRESSES)
        return 0;
    uint32_t nSoonestMs = LOCKOUT_MS;
    for (size_t i = 0; i < m_entries.size(); i++)
    {
        uint32_t nMs = MsUntilStale(m_entries[i], nNowMs);
        if (nMs < nSoonestMs)
            nSoonestMs = nMs;
    }
    return (nSoonestMs + 999) / 1000;
}

bool CPairingLockout::RecordWrongTry(const std::string& address, uint32_t nNowMs)
{
    Entry* pEntry = FindOrAdd(address, nNowMs);
    if (!pEntry)
        return false;
    if (IsLocked(*pEntry, nNowMs))
        return true;
    pEntry->bLocked = false;
    // Keep only the wrong tries of the last minute, then add this one.
    size_t nKept = 0;
    for (size_t i = 0; i < pEntry->nWrong; i++)
    {
        if (nNowMs - pEntry->nWrongMs[i] < WRONG_TRY_WINDOW_MS)
            pEntry->nWrongMs[nKept++] = pEntry->nWrongMs[i];
    }
    pEntry->nWrongMs[nKept++] = nNowMs;
    pEntry->nWrong = nKept;
    if (nKept < WRONG_TRIES_TO_LOCK)
        return false;
    pEntry->bLocked = true;
    pEntry->nLockedMs = nNowMs;
    pEntry->nWrong = 0;
    return true;
}

void CPairingLockout::RecordSuccess(const std::string& address)
{
    size_t nIndex = IndexOf(address);
    if (nIndex < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<ptrdiff_t>(nIndex));
}

unsigned CPairingLockout::SecondsLeft(const std::string& address, uint32_t nNowMs) const
{
    if (!IsLockedOut(address, nNowMs))
        return 0;
    uint32_t nLeftMs = LOCKOUT_MS - (nNowMs - m_entries[IndexOf(address)].nLockedMs);
    return (nLeftMs + 999) / 1000;
}

// A field of the file: no tabs or line ends inside, at most nMax bytes.
static std::string FieldText(const std::string& text, size_t nMax)
{
    std::string field = text.substr(0, nMax);
    for (size_t i = 0; i < field.size(); i++)
    {
        if (static_cast<unsigned char>(field[i]) < 0x20)
            field[i] = ' ';
    }
    return field;
}

static bool IsDate(const std::string& text)
{
    if (text.size() != 10)
        return false;
    for (size_t i = 0; i < text.size(); i++)
    {
        bool bDash = i == 4 || i == 7;
        if (bDash ? text[i] != '-' : (text[i] < '0' || text[i] > '9'))
            return false;
    }
    return true;
}

// "2026-12-09 14:05"
static bool IsSeenTime(const std::string& text)
{
    return text.size() == 16 && IsDate(text.substr(0, 10)) && text[10] == ' ' && text[13] == ':' &&
           text.find_first_not_of("0123456789", 11) == 13 &&
           text.find_first_not_of("0123456789", 14) == std::string::npos;
}

static bool IsAddress(const std::string& text)
{
    return !text.empty() && text.size() <= MAX_ADDRESS_TEXT &&
           text.find_first_not_of("0123456789abcdefABCDEF.:") == std::string::npos;
}

std::string SerializePairedBrowsers(const std::vector<StoredBrowser>& browsers)
{
    size_t nFirst =
        browsers.size() > MAX_PAIRED_BROWSERS ? browsers.size() - MAX_PAIRED_BROWSERS : 0;
    std::string text;
    for (size_t i = nFirst; i < browsers.size(); i++)
    {
        const PairedBrowser& browser = browsers[i].browser;
        text += FieldText(browser.id, 32) + "\t" + HexFromBytes(browsers[i].protectedKey) + "\t" +
                FieldText(browser.date, 10) + "\t" + FieldText(browser.name, MAX_BROWSER_NAME) +
                "\t" + FieldText(browser.address, MAX_ADDRESS_TEXT) + "\t" +
                FieldText(browser.seen, 16) + "\n";
    }
    return text;
}

// The line's fields between tabs.
static std::vector<std::string> SplitAtTabs(const std::string& line)
{
    std::vector<std::string> fields;
    size_t nStart = 0;
    for (;;)
    {
        size_t nTab = line.find('\t', nStart);
        fields.push_back(line.substr(nStart, nTab == std::string::npos ? nTab : nTab - nStart));
        if (nTab == std::string::npos)
            return fields;
        nStart = nTab + 1;
    }
}

std::vector<StoredBrowser> ParsePairedBrowsers(const std::string& text)
{
    std::vector<StoredBrowser> browsers;
    for (const std::string& line : TextLines(text))
    {
        std::vector<std::string> fields = SplitAtTabs(line);
        if (fields.size() != 6)
            continue;
        StoredBrowser stored;
        PairedBrowser& browser = stored.browser;
        browser.id = fields[0];
        browser.date = fields[2];
        browser.name = FieldText(fields[3], MAX_BROWSER_NAME);
        if (!IsHex128(browser.id) || !IsDate(browser.date) ||
            fields[1].size() > 2 * MAX_PROTECTED_KEY ||
            !BytesFromHex(fields[1], &stored.protectedKey) || stored.protectedKey.empty())
            continue;
        if (IsAddress(fields[4]))
            browser.address = fields[4];
        if (IsSeenTime(fields[5]))
            browser.seen = fields[5];
        browsers.push_back(stored);
        if (browsers.size() > MAX_PAIRED_BROWSERS)
            browsers.erase(browsers.begin());
    }
    return browsers;
}

std::string PairedBrowserLine(const PairedBrowser& browser)
{
    std::string line = browser.name.empty() ? "Browser" : browser.name;
    if (!browser.address.empty())
        line += ", " + browser.address;
    return line + (browser.seen.empty() ? ", paired " + browser.date : ", seen " + browser.seen);
}

static const char* FirstFound(const std::string& userAgent, const char* const pairs[][2],
                              size_t nPairs)
{
    for (size_t i = 0; i < nPairs; i++)
    {
        if (userAgent.find(pairs[i][0]) != std::string::npos)
            return pairs[i][1];
    }
    return NULL;
}

std::string BrowserNameFromUserAgent(const std::string& userAgent)
{
    // Most specific first: Chromium's offspring name Chrome and Safari too, every
    // browser on an iPhone says "Safari", and an iPhone says "like Mac OS X".
    static const char* const s_browsers[][2] = {
        {"EdgA/", "Edge"},
        {"EdgiOS/", "Edge"},
        {"Edg/", "Edge"},
        {"OPR/", "Opera"},
        {"OPiOS/", "Opera"},
        {"Opera", "Opera"},
        {"SamsungBrowser/", "Samsung Internet"},
        {"FxiOS/", "Firefox"},
        {"Firefox/", "Firefox"},
        {"CriOS/", "Chrome"},
        {"Chromium/", "Chromium"},
        {"Chrome/", "Chrome"},
        {"Safari/", "Safari"},
    };
    static const char* const s_systems[][2] = {
        {"iPhone", "iPhone"}, {"iPad", "iPad"},     {"Android", "Android"}, {"Windows", "Windows"},
        {"CrOS", "ChromeOS"}, {"Macintosh", "Mac"}, {"Mac OS X", "Mac"},    {"Linux", "Linux"},
    };
    const char* pszBrowser =
        FirstFound(userAgent, s_browsers, sizeof(s_browsers) / sizeof(s_browsers[0]));
    const char* pszSystem =
        FirstFound(userAgent, s_systems, sizeof(s_systems) / sizeof(s_systems[0]));
    std::string name = pszBrowser ? pszBrowser : "Browser";
    if (pszSystem)
        name += std::string(" on ") + pszSystem;
    return name.substr(0, MAX_BROWSER_NAME);
}
