// The pairing routes (docs/web-channel.md): the page proves it holds the key the
// dialog shows without sending it, and the PC proves the same back.
#include "WebRemote.h"
#include <stdio.h>
#include "../core/LogText.h"
#include "UrlText.h"
#include "WebConnection.h"
#include "WebResponses.h"
#include "../core/ServerCore.h"

// The cookie of the versions that paired with a 6-digit code.
static const char OLD_TOKEN_COOKIE[] = "quorvel_token";

// This PC's name for the page to show and check: its DNS host name, in UTF-8.
static std::string PcNameUtf8()
{
    wchar_t szName[256];
    DWORD nSize = sizeof(szName) / sizeof(szName[0]);
    if (!GetComputerNameExW(ComputerNameDnsHostname, szName, &nSize) || nSize == 0)
        return "this PC";
    char szUtf8[1024];
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, szName, static_cast<int>(nSize), szUtf8,
                                     sizeof(szUtf8), NULL, NULL);
    return nBytes > 0 ? std::string(szUtf8, static_cast<size_t>(nBytes)) : "this PC";
}

// Only to tell the page why it must pair: an old cookie means this PC once paired
// it, before the channel was private. The cookie is cleared on the way.
bool CWebRemote::ServePairReason(CWebConnection& connection, const CHttpRequest& request)
{
    const std::string* pCookie = request.FindHeader("Cookie");
    if (!pCookie || CookieValue(*pCookie, OLD_TOKEN_COOKIE).empty())
        return RespondJson(connection, request, 200, "{\"reason\":\"\"}");
    return Respond(connection, request, 200, "application/json", "{\"reason\":\"old\"}",
                   std::string("Set-Cookie: ") + OLD_TOKEN_COOKIE +
                       "=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0\r\n");
}

bool CWebRemote::ServePair(CWebConnection& connection, const CHttpRequest& request)
{
    if (request.method != "POST")
        return RespondError(connection, request, 405, "method not allowed");
    const char* pszPeer = connection.Peer().c_str();
    PairingForm form;
    if (!ReadPairingForm(request.body, &form))
    {
        m_core.LogEvent("Web remote: refused a malformed pairing form from %s\r\n", pszPeer);
        return RespondError(connection, request, 400, "malformed pairing form");
    }
    PairingTry pairing;
    PairingOutcome nOutcome = m_pairing.TryPairing(form, connection.Peer(), PcNameUtf8(), &pairing);
    switch (nOutcome)
    {
    case PAIRING_DONE:
        m_core.LogEvent("Web remote: paired %s at %s\r\n", pairing.browserName.c_str(), pszPeer);
        connection.MarkPaired();
        return RespondJson(connection, request, 200, "{\"seal\":\"" + pairing.answerSeal + "\"}");
    case PAIRING_WRONG_KEY:
    case PAIRING_EXPIRED_KEY:
        LogPairingTry(nOutcome, pszPeer);
        return RespondError(connection, request, 403,
                            nOutcome == PAIRING_WRONG_KEY ? "wrong key" : "expired");
    case PAIRING_NOW_LOCKED_OUT:
        LogPairingTry(nOutcome, pszPeer);
        break;
    case PAIRING_LOCKED_OUT:
        break;
    case PAIRING_TOO_MANY_ADDRESSES:
        if (pairing.bFirstRefusal)
            m_core.LogEvent("Web remote: %s and other new addresses may not pair for now: %u "
                            "addresses tried wrong keys within the minute\r\n",
                            pszPeer, static_cast<unsigned>(MAX_LOCKOUT_ADDRESSES));
        break;
    case PAIRING_FAILED:
        m_core.LogEvent("Web remote: could not pair %s: the system's cryptography failed\r\n",
                        pszPeer);
        return RespondError(connection, request, 500, "the PC's cryptography failed");
    }
    // Every try while locked out gets the same answer.
    char szJson[40];
    snprintf(szJson, sizeof(szJson), "{\"seconds\":%u}", pairing.nSecondsLeft);
    return RespondJson(connection, request, 429, szJson);
}

// The key is never logged, nor anything the page sent.
void CWebRemote::LogPairingTry(PairingOutcome nOutcome, const char* pszPeer)
{
    if (nOutcome == PAIRING_NOW_LOCKED_OUT)
        m_core.LogEvent("Web remote: %s locked out for a minute after 5 wrong keys\r\n", pszPeer);
    else if (nOutcome == PAIRING_EXPIRED_KEY)
        m_core.LogEvent("Web remote: a pairing from %s found the key expired\r\n", pszPeer);
    else
        m_core.LogEvent("Web remote: wrong pairing key from %s\r\n", pszPeer);
}
