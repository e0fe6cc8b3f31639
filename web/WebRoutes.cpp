// The web remote's routes: the page, the live channel (whose requests are
// ChannelRequests.cpp's) and downloads by ticket; pairing is WebPairRoutes.cpp.
#include "WebRemote.h"
#include <stdio.h>
#include "JsonText.h"
#include "../core/LogText.h"
#include "UrlText.h"
#include "WebConnection.h"
#include "WebPage.h"
#include "WebResponses.h"
#include "../core/ServerCore.h"

// Sent by the page with every POST. A form or a plain request from another site
// cannot carry it, and a cross-site fetch that tries needs a preflight we never allow.
static const char PAGE_HEADER[] = "X-Quorvel-Page";

static std::string HeaderValue(const CHttpRequest& request, const char* pszName)
{
    const std::string* pValue = request.FindHeader(pszName);
    return pValue ? *pValue : std::string();
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
    // The page's own files need no pairing.
    if (path.compare(0, 5, "/api/") != 0)
        return ServePage(connection, request);
    if (request.method == "POST" && RefusePost(connection, request))
        return false;
    if (path == "/api/pair")
        return request.method == "GET" ? ServePairReason(connection, request)
                                       : ServePair(connection, request);
    // The channel and the tickets carry credentials of their own.
    if (path == "/api/live")
        return ServeLive(connection, request);
    if (path == "/api/download")
        return ServeDownload(connection, request);
    // The JSON routes of before the live channel: no browser holds what they asked
    // for any more (a cookie), and the page pairs again.
    return RespondJson(connection, request, 401, "{\"error\":\"not paired\",\"reason\":\"old\"}");
}

// Cross-site requests: the page's own header is required, and an Origin, when sent, must be this
// server.
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
