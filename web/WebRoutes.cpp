// The web remote's routes: the page, pairing, the live channel (whose requests
// are ChannelRequests.cpp's) and downloads by ticket.
#include "WebRemote.h"
#include <stdio.h>
#include "JsonText.h"
#include "LogText.h"
#include "UrlText.h"
#include "WebConnection.h"
#include "WebPage.h"
#include "WebResponses.h"
#include "../core/ServerCore.h"

static const char TOKEN_COOKIE[] = "quorvel_token";
// Sent by the page with every POST. A form or a plain request from another site
// cannot carry it, and a cross-site fetch that tries needs a preflight we never allow.
static const char PAGE_HEADER[] = "X-Quorvel-Page";
// The cookie lasts as long as browsers let one (400 days), so a phone stays paired.
static const char TOKEN_MAX_AGE[] = "34560000";

static std::string HeaderValue(const CHttpRequest& request, const char* pszName)
{
    const std::string* pValue = request.FindHeader(pszName);
    return pValue ? *pValue : std::string();
}

static std::string TokenOf(const CHttpRequest& request)
{
    return CookieValue(HeaderValue(request, "Cookie"), TOKEN_COOKIE);
}

bool CWebRemote::Serve(CWebConnection& connection, const CHttpRequest& request)
{
    // Before anything else: a page of another site that had its name point here
    // says so in its Host.
    std::string host = HeaderValue(request, "Host");
    if (!IsThisPcHost(host))
    {
        m_core.LogEvent("Web remote: refused host \"%s\" from %s: not a name of this PC\r\n",
                        LogSafeText(host).c_str(), connection.Peer().c_str());
        RespondAndEnd(connection, request, 421);
        return false;
    }
    const std::string& path = request.path;
    // The page's own files need no pairing, but a paired browser's connection
    // that fetched them keeps the paired idle limit for its next request.
    if (path.compare(0, 5, "/api/") != 0)
    {
        if (m_pairing.CheckToken(TokenOf(request)) == TOKEN_PAIRED)
            connection.MarkPaired();
        return ServePage(connection, request);
    }
    if (request.method == "POST" && RefusePost(connection, request))
        return false;
    if (path == "/api/pair")
        return ServePair(connection, request);
    // The channel and the tickets carry credentials of their own.
    if (path == "/api/live")
        return ServeLive(connection, request);
    if (path == "/api/download")
        return ServeDownload(connection, request);
    return RespondError(connection, request, 404, "no such endpoint");
}

// Cross-site requests: SameSite=Strict keeps the cookie off them, the page's
// own header is required, and an Origin, when sent, must be this server.
bool CWebRemote::RefusePost(CWebConnection& connection, const CHttpRequest& request)
{
    std::string origin = HeaderValue(request, "Origin");
    bool bSameOrigin = origin.empty() || origin == "http://" + HeaderValue(request, "Host");
    if (request.FindHeader(PAGE_HEADER) && bSameOrigin)
        return false;
    RespondError(connection, request, 403, "cross-site request refused");
    return true;
}

bool CWebRemote::ServePage(CWebConnection& connection, const CHttpRequest& request)
{
    if (request.method != "GET" && request.method != "HEAD")
        return RespondError(connection, request, 405, "method not allowed");
    WebPageFile file;
    if (!FindWebPageFile(request.path, &file))
        return Respond(connection, request, 404, "text/plain", "Not Found\n");
    // The page never runs inside another site's frame, nor loads anything from elsewhere.
    const std::string headers = "Content-Security-Policy: default-src 'self'; "
                                "frame-ancestors 'none'\r\nX-Frame-Options: DENY\r\n"
                                "Referrer-Policy: no-referrer\r\n";
    return Respond(connection, request, 200, file.pszType, std::string(file.pData, file.nSize),
                   headers);
}

bool CWebRemote::ServePair(CWebConnection& connection, const CHttpRequest& request)
{
    if (request.method != "POST")
        return RespondError(connection, request, 405, "method not allowed");
    std::string code;
    FormValue(request.body, "code", &code);
    PairingTry pairing;
    const char* pszPeer = connection.Peer().c_str();
    PairingOutcome nOutcome =
        m_pairing.TryCode(code, connection.Peer(), HeaderValue(request, "User-Agent"), &pairing);
    const char* pszLockout = "locked out";
    switch (nOutcome)
    {
    case PAIRING_DONE:
        m_core.LogEvent("Web remote: paired %s at %s\r\n", pairing.browserName.c_str(), pszPeer);
        connection.MarkPaired();
        return Respond(connection, request, 200, "application/json", "{\"paired\":true}",
                       std::string("Set-Cookie: ") + TOKEN_COOKIE + "=" + pairing.token +
                           "; HttpOnly; SameSite=Strict; Path=/; Max-Age=" + TOKEN_MAX_AGE +
                           "\r\n");
    case PAIRING_WRONG_CODE:
    case PAIRING_EXPIRED_CODE:
        LogCodeTry(nOutcome, pairing, pszPeer);
        if (nOutcome == PAIRING_WRONG_CODE)
            return RespondError(connection, request, 403, "wrong code");
        return RespondJson(connection, request, 403,
                           "{\"error\":\"The code has expired: press New code on the PC.\","
                           "\"expired\":true}");
    case PAIRING_NOW_LOCKED_OUT:
        LogCodeTry(nOutcome, pairing, pszPeer);
        break;
    case PAIRING_LOCKED_OUT:
        break;
    case PAIRING_TOO_MANY_ADDRESSES:
        if (pairing.bFirstRefusal)
            m_core.LogEvent("Web remote: %s and other new addresses may not pair for now: %u "
                            "addresses tried wrong codes within the minute\r\n",
                            pszPeer, static_cast<unsigned>(MAX_LOCKOUT_ADDRESSES));
        pszLockout = "Too many devices are trying codes.";
        break;
    case PAIRING_FAILED:
        return RespondError(connection, request, 500, "no random numbers for a token");
    }
    // Every try while locked out gets the same answer.
    char szSeconds[40];
    snprintf(szSeconds, sizeof(szSeconds), ",\"seconds\":%u}", pairing.nSecondsLeft);
    return RespondJson(connection, request, 429,
                       "{\"error\":" + JsonString(pszLockout) + szSeconds);
}

void CWebRemote::LogCodeTry(PairingOutcome nOutcome, const PairingTry& pairing, const char* pszPeer)
{
    if (nOutcome == PAIRING_NOW_LOCKED_OUT)
        m_core.LogEvent("Web remote: %s locked out for a minute after 5 wrong codes\r\n", pszPeer);
    else
        m_core.LogEvent("Web remote: %s pairing code from %s\r\n",
                        nOutcome == PAIRING_EXPIRED_CODE ? "expired" : "wrong", pszPeer);
    if (pairing.bCodeReplaced)
        m_core.LogEvent("Web remote: a new pairing code after %d wrong ones\r\n",
                        static_cast<int>(CPairingCode::FAILED_TRIES_TO_REPLACE));
}
