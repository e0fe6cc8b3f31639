// The web remote's routes: the page, pairing, and the JSON API, whose commands
// are in WebCommands.cpp. Every action calls the core's operation of the phone's
// command of the same meaning, so it takes the same controller calls, log lines
// and locks as on a phone.
#include "WebRemote.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "AnsiText.h"
#include "ImageType.h"
#include "JsonText.h"
#include "../core/LogText.h"
#include "UrlText.h"
#include "WebConnection.h"
#include "WebJson.h"
#include "WebPage.h"
#include "WebResponses.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"
#include "../core/Version.h"
#include "../framework/ScopedHandle.h"

static const char TOKEN_COOKIE[] = "quorvel_token";
// Sent by the page with every POST. A form or a plain request from another site
// cannot carry it, and a cross-site fetch that tries needs a preflight we never allow.
static const char PAGE_HEADER[] = "X-Quorvel-Page";
// The cookie lasts as long as browsers let one (400 days), so a phone stays paired.
static const char TOKEN_MAX_AGE[] = "34560000";

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

static std::string HeaderValue(const CHttpRequest& request, const char* pszName)
{
    const std::string* pValue = request.FindHeader(pszName);
    return pValue ? *pValue : std::string();
}

static std::string TokenOf(const CHttpRequest& request)
{
    return CookieValue(HeaderValue(request, "Cookie"), TOKEN_COOKIE);
}

// The page tells the user why it must pair again.
static bool RespondNotPaired(CWebConnection& connection, const CHttpRequest& request,
                             TokenCheck nCheck)
{
    const char* pszReason = nCheck == TOKEN_REMOVED ? "removed"
                            : nCheck == TOKEN_NONE  ? "none"
                                                    : "unknown";
    return RespondJson(connection, request, 401,
                       std::string("{\"error\":\"not paired\",\"reason\":\"") + pszReason + "\"}");
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
    TokenCheck nCheck = m_pairing.CheckToken(TokenOf(request));
    if (nCheck != TOKEN_PAIRED)
        return RespondNotPaired(connection, request, nCheck);
    connection.MarkPaired();
    return ServeApi(connection, request);
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

bool CWebRemote::ServeApi(CWebConnection& connection, const CHttpRequest& request)
{
    const std::string name = request.path.substr(5);
    bool bGet = request.method == "GET";
    bool bPost = request.method == "POST";
    if (bGet && name == "state")
        return ServeState(connection, request);
    if (bGet && name == "status")
        return ServeStatus(connection, request);
    if (bGet && name == "list")
        return ServeList(connection, request);
    if (bGet && name == "playlist")
        return ServePlaylist(connection, request);
    if (bGet && name == "version")
        return ServeVersion(connection, request);
    if (bGet && name == "download")
        return ServeDownload(connection, request);
    if (bGet && name == "art")
        return ServeArtwork(connection, request);
    if (bPost && name == "app")
        return ServeChooseApp(connection, request);
    if (bPost && name == "play-file")
        return ServeFileAction(connection, request, CMD_PLAY);
    if (bPost && name == "enqueue")
        return ServeFileAction(connection, request, CMD_LADD);
    if (bPost && name == "shutdown")
        return ServeShutdown(connection, request);
    if (bPost)
        return ServeAction(connection, request);
    return RespondError(connection, request, 404, "no such endpoint");
}

bool CWebRemote::ServeState(CWebConnection& connection, const CHttpRequest& request)
{
    std::string since;
    long long nSince = -1;
    if (FormValue(request.query, "since", &since))
        nSince = strtoll(since.c_str(), NULL, 10);
    // A browser removed in the dialog meanwhile is told at once.
    std::string token = TokenOf(request);
    TokenCheck nCheck = TOKEN_PAIRED;
    bool bUnpaired = false;
    std::string json = m_watch.WaitForChange(
        nSince, connection,
        [&]
        {
            nCheck = m_pairing.CheckToken(token);
            return nCheck == TOKEN_PAIRED;
        },
        &bUnpaired);
    if (bUnpaired)
        return RespondNotPaired(connection, request, nCheck);
    return !json.empty() && RespondJson(connection, request, 200, json);
}

bool CWebRemote::ServeStatus(CWebConnection& connection, const CHttpRequest& request)
{
    WatchedState state;
    PageRun nRun = RunForPage(connection, CMD_INF2, [&] { state = m_watch.ReadNow(); });
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
    return RespondJson(connection, request, 200, StatusJson(state.status, state.nKind, -1, ToUtf8));
}

// The picture changes only with its version: the address the state names for
// it may be kept by the browser for as long as it likes.
bool CWebRemote::ServeArtwork(CWebConnection& connection, const CHttpRequest& request)
{
    std::string bytes, type, key;
    unsigned nVersion = 0;
    bool bFound = false;
    PageRun nRun = RunForPage(connection, CMD_UNKNOWN,
                              [&] { bFound = m_core.Artwork(&bytes, &type, &nVersion); });
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
    std::string served = ServedImageType(type);
    if (!bFound || served.empty())
        return RespondError(connection, request, 404, "no artwork");
    bool bKept = FormValue(request.query, "v", &key) && key == m_watch.ArtworkKey(nVersion);
    // Opened as a page of its own, it may do nothing.
    std::string headers = "Content-Security-Policy: default-src 'none'; sandbox\r\n";
    if (bKept)
        headers += "Cache-Control: private, max-age=31536000, immutable\r\n";
    return Respond(connection, request, 200, served.c_str(), bytes, headers);
}

bool CWebRemote::ServeChooseApp(CWebConnection& connection, const CHttpRequest& request)
{
    std::string id;
    if (!FormValue(request.body, "id", &id))
        return RespondError(connection, request, 400, "no id");
    bool bChosen = false;
    PageRun nRun =
        RunForPage(connection, CMD_UNKNOWN, [&] { bChosen = m_core.ChooseMediaApp(id); });
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
    if (bChosen)
        return RespondJson(connection, request, 200, "{\"done\":true}");
    std::wstring wide;
    m_core.LogEvent("Web remote: refused the app \"%s\" from %s: it has no media session\r\n",
                    LogSafeText(WideFromUtf8(id, &wide) ? AnsiForLog(wide) : id).c_str(),
                    connection.Peer().c_str());
    return RespondError(connection, request, 404, "no app of that id has a media session");
}

bool CWebRemote::ServeVersion(CWebConnection& connection, const CHttpRequest& request)
{
    char szJson[80];
    snprintf(szJson, sizeof(szJson), "{\"version\":\"%d.%d\",\"shutdown\":%s}",
             PROTOCOL_VERSION_MAJOR, PROTOCOL_VERSION_MINOR, m_bShutdownAllowed ? "true" : "false");
    return RespondJson(connection, request, 200, szJson);
}
