// libFuzzer target for the web remote's front door: the request parser fed in splits
// chosen by the input, then the URL, form, cookie, JSON and path rules on what it gave.
// Built and run by tools/fuzz.sh; a broken invariant aborts, which the fuzzer reports.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "core/NameRules.h"
#include "core/NameRules.h"
#include "web/HostNames.h"
#include "web/HttpRequest.h"
#include "web/JsonText.h"
#include "core/LogText.h"
#include "web/Pairing.h"
#include "web/UrlText.h"

#define FUZZ_CHECK(condition)                                                                      \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
        {                                                                                          \
            fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);                \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

static const char* const FOLDERS = "Z:\\home\\me\\Music;\\\\nas\\media;C:\\";

static void CheckJsonIsValidUtf8(const std::string& text)
{
    std::string json = JsonString(text);
    const unsigned char* pJson = reinterpret_cast<const unsigned char*>(json.data());
    for (size_t i = 0; i < json.size();)
    {
        unsigned long nCodePoint = 0;
        bool bValid = false;
        i += DecodeUtf8(pJson + i, json.size() - i, &nCodePoint, &bValid);
        FUZZ_CHECK(bValid && nCodePoint >= 0x20);
    }
}

// The bytes as the characters of the same numbers (the listener converts from
// UTF-8; any character beyond these is one the rule handles alike).
static std::wstring Widened(const std::string& text)
{
    std::wstring wide(text.size(), L' ');
    for (size_t i = 0; i < text.size(); i++)
        wide[i] = static_cast<unsigned char>(text[i]);
    return wide;
}

static std::string Narrowed(const std::wstring& wide)
{
    std::string text(wide.size(), ' ');
    for (size_t i = 0; i < wide.size(); i++)
        text[i] = static_cast<char>(wide[i]);
    return text;
}

static void CheckPathRule(const std::string& path)
{
    std::wstring wide;
    if (!IsInsideBrowseFolders(Widened(path), Widened(FOLDERS), &wide))
        return;
    std::string normalised = Narrowed(wide);
    FUZZ_CHECK(normalised.size() <= MAX_BROWSE_PATH);
    FUZZ_CHECK(normalised.find(':', 2) == std::string::npos);
    FUZZ_CHECK(!IsDeviceName(normalised.c_str()));
    FUZZ_CHECK(normalised.rfind("Z:\\home\\me\\Music", 0) == 0 ||
               normalised.rfind("\\\\nas\\media", 0) == 0 || normalised.rfind("C:\\", 0) == 0);
    size_t nStart = 0;
    while (nStart < normalised.size())
    {
        size_t nEnd = normalised.find('\\', nStart);
        if (nEnd == std::string::npos)
            nEnd = normalised.size();
        std::string part = normalised.substr(nStart, nEnd - nStart);
        FUZZ_CHECK(part != "." && part != "..");
        FUZZ_CHECK(part.empty() || (part[part.size() - 1] != '.' && part[part.size() - 1] != ' '));
        nStart = nEnd + 1;
    }
    // Normalising is idempotent: the result is inside, unchanged.
    std::wstring again;
    FUZZ_CHECK(IsInsideBrowseFolders(wide, Widened(FOLDERS), &again) && again == wide);
}

// What the listener logs of a client's text and how it reads a Host.
static void CheckLogAndHost(const std::string& text)
{
    std::string safe = LogSafeText(text);
    FUZZ_CHECK(safe.size() <= LOG_TEXT_MAX + 3);
    for (size_t i = 0; i < safe.size(); i++)
        FUZZ_CHECK(static_cast<unsigned char>(safe[i]) >= 0x20 && safe[i] != 0x7F);
    PcNames pc;
    pc.names.push_back("PC");
    if (IsHostOfThisPc(text, pc))
        FUZZ_CHECK(text.find_first_of("[]/@ ") == std::string::npos);
}

// The rules the routes run on a request's parts.
static void CheckTextRules(const std::string& text)
{
    std::string decoded;
    if (UrlDecode(text, true, &decoded))
    {
        FUZZ_CHECK(decoded.size() <= text.size());
        FUZZ_CHECK(decoded.find('\0') == std::string::npos);
        CheckPathRule(decoded);
    }
    std::string value;
    if (FormValue(text, "path", &value))
        CheckPathRule(value);
    FUZZ_CHECK(CookieValue(text, "quorvel").size() <= text.size());
    CheckPathRule(text);
    CheckJsonIsValidUtf8(text);
    CheckLogAndHost(text);
}

static void CheckRequest(const CHttpRequest& request, const char* pText, size_t nUsed)
{
    FUZZ_CHECK(!request.method.empty());
    FUZZ_CHECK(request.target == "*" || request.target[0] == '/');
    FUZZ_CHECK(request.nMinorVersion == 0 || request.nMinorVersion == 1);
    FUZZ_CHECK(request.headers.size() <= HTTP_MAX_HEADER_LINES);
    FUZZ_CHECK(request.body.size() <= HTTP_MAX_BODY_BYTES);
    FUZZ_CHECK(nUsed <= HTTP_MAX_HEADER_BYTES + request.body.size());
    FUZZ_CHECK(nUsed >= request.body.size());
    FUZZ_CHECK(
        memcmp(pText + nUsed - request.body.size(), request.body.data(), request.body.size()) == 0);
    // The same bytes in one piece give the same request.
    CHttpRequestParser whole;
    size_t nWholeUsed = 0;
    FUZZ_CHECK(whole.Feed(pText, nUsed, &nWholeUsed) == HTTP_PARSE_DONE && nWholeUsed == nUsed);
    FUZZ_CHECK(whole.Request().path == request.path && whole.Request().body == request.body &&
               whole.Request().headers == request.headers);
    request.KeepAlive();
    CheckTextRules(request.path);
    CheckTextRules(request.query);
    CheckTextRules(request.body);
    const std::string* pAgent = request.FindHeader("User-Agent");
    if (pAgent)
        FUZZ_CHECK(BrowserNameFromUserAgent(*pAgent).size() <= MAX_BROWSER_NAME);
    PairingForm form;
    if (ReadPairingForm(request.body, &form))
        FUZZ_CHECK(form.idHex.size() == 32 && form.nonce.size() == 16 && form.seal.size() >= 16 &&
                   form.seal.size() <= MAX_PAIRING_SEAL);
    const std::string* pCookie = request.FindHeader("Cookie");
    if (pCookie)
        CheckTextRules(*pCookie);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 2)
        return 0;
    // The first two bytes choose the split: the size of the first piece, then the step.
    size_t nFirst = pData[0] * 64u + 1;
    size_t nStep = pData[1] % 97u + 1;
    const char* pText = reinterpret_cast<const char*>(pData + 2);
    size_t nText = nSize - 2;
    CheckTextRules(std::string(pText, nText < 2048 ? nText : 2048));

    CHttpRequestParser parser;
    size_t nOffset = 0;     // where the bytes not yet fed start
    size_t nRequestAt = 0;  // where the request being parsed started
    size_t nChunk = nFirst; // the size of the next piece
    while (nOffset < nText)
    {
        if (nChunk > nText - nOffset)
            nChunk = nText - nOffset;
        size_t nUsed = nChunk + 1;
        HttpParseResult result = parser.Feed(pText + nOffset, nChunk, &nUsed);
        FUZZ_CHECK(nUsed <= nChunk);
        FUZZ_CHECK(result != HTTP_PARSE_INCOMPLETE || nUsed == nChunk);
        nOffset += nUsed;
        nChunk = nStep;
        if (result == HTTP_PARSE_INCOMPLETE)
        {
            FUZZ_CHECK(nOffset - nRequestAt <= HTTP_MAX_HEADER_BYTES + HTTP_MAX_BODY_BYTES);
            continue;
        }
        if (result != HTTP_PARSE_DONE)
            return 0; // the listener answers the error and closes the connection
        CheckRequest(parser.Request(), pText + nRequestAt, nOffset - nRequestAt);
        parser.Reset();
        nRequestAt = nOffset; // keep-alive: the rest is the next request
    }
    return 0;
}
