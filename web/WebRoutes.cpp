// The web remote's routes: the page and the JSON API (pairing is WebPairRoutes.cpp). Every action
// calls the core's operation of the phone's command of the same meaning, so it
// takes the same controller calls, log lines and locks as on a phone.
#include "WebRemote.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "AnsiText.h"
#include "ImageType.h"
#include "../core/NameRules.h"
#include "JsonText.h"
#include "LogText.h"
#include "UrlText.h"
#include "WebActions.h"
#include "WebConnection.h"
#include "WebJson.h"
#include "WebPage.h"
#include "WebResponses.h"
#include "../core/BrowseTree.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"
#include "../core/Version.h"
#include "../framework/ScopedHandle.h"

// Sent by the page with every POST. A form or a plain request from another site
// cannot carry it, and a cross-site fetch that tries needs a preflight we never allow.
static const char PAGE_HEADER[] = "X-Quorvel-Page";

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

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

bool CWebRemote::RunForPage(const CWebConnection& connection, int nCommandId,
                            const std::function<void()>& operation)
{
    // A download only reads its file and may take long: it runs at once.
    if (nCommandId == CMD_DOWN)
    {
        m_core.EnsureActiveRunning();
        operation();
        return true;
    }
    // Everything else waits its turn, so the page adds no more than one caller
    // at a time to the controllers, like one more phone link.
    {
        CMutexLock lock(m_hCommandMutex, connection.Worker().GetStopEvent());
        if (!lock.IsHeld())
            return false;
        if (nCommandId != CMD_UNKNOWN && CommandRowOf(nCommandId).bStartsApp)
            m_core.EnsureActiveRunning();
        operation();
    }
    m_watch.Poke();
    return true;
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

bool CWebRemote::ServeAction(CWebConnection& connection, const CHttpRequest& request)
{
    int nCommandId = CMD_UNKNOWN;
    long nValue = 0;
    if (!ParseWebAction(request.path.substr(5), request.body, &nCommandId, &nValue))
        return RespondError(connection, request, 404, "no such action, or a value out of range");
    if (!RunForPage(connection, nCommandId, [&] { m_core.RunControl(nCommandId, nValue); }))
        return false;
    return RespondJson(connection, request, 200, "{\"done\":true}");
}

bool CWebRemote::ServeShutdown(CWebConnection& connection, const CHttpRequest& request)
{
    if (!m_bShutdownAllowed)
        return RespondError(connection, request, 403, "shutdown is not allowed");
    if (!RunForPage(connection, CMD_SHUT, [&] { m_core.Shutdown(); }))
        return false;
    return RespondJson(connection, request, 200, "{\"done\":true}");
}

bool CWebRemote::ServeState(CWebConnection& connection, const CHttpRequest& request)
{
    std::string since;
    long long nSince = -1;
    if (FormValue(request.query, "since", &since))
        nSince = strtoll(since.c_str(), NULL, 10);
    bool bUnpaired = false;
    std::string json = m_watch.WaitForChange(
        nSince, connection, [] { return true; }, &bUnpaired);
    return !json.empty() && RespondJson(connection, request, 200, json);
}

bool CWebRemote::ServeStatus(CWebConnection& connection, const CHttpRequest& request)
{
    WatchedState state;
    if (!RunForPage(connection, CMD_INF2, [&] { state = m_watch.ReadNow(); }))
        return false;
    return RespondJson(connection, request, 200, StatusJson(state.status, state.nKind, -1, ToUtf8));
}

// The picture changes only with its version: the address the state names for
// it may be kept by the browser for as long as it likes.
bool CWebRemote::ServeArtwork(CWebConnection& connection, const CHttpRequest& request)
{
    std::string bytes, type, key;
    unsigned nVersion = 0;
    bool bFound = false;
    if (!RunForPage(connection, CMD_UNKNOWN,
                    [&] { bFound = m_core.Artwork(&bytes, &type, &nVersion); }))
        return false;
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
    if (!RunForPage(connection, CMD_UNKNOWN, [&] { bChosen = m_core.ChooseMediaApp(id); }))
        return false;
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

// Keeps what the core hands over: the playlist's text without its end mark, and
// the current entry.
class CPagePlaylistSink : public CPlaylistSink
{
public:
    CPagePlaylistSink() : nIndex(0), bHasText(false) {}
    void SendPlaylist(const char* pText, int nSize, int nCurrent) override
    {
        // The count is 16 bits on the phone's wire; the page is told the same.
        nIndex = nCurrent & 0xFFFF;
        bHasText = pText != NULL;
        // The text ends with a zero byte, as on the phone's wire.
        if (pText && nSize > 0)
            text.assign(pText, static_cast<size_t>(nSize) - 1);
    }
    int nIndex;
    bool bHasText;
    std::string text;
};

bool CWebRemote::ServePlaylist(CWebConnection& connection, const CHttpRequest& request)
{
    CPagePlaylistSink playlist;
    if (!RunForPage(connection, CMD_PLST, [&] { m_core.Playlist(playlist); }))
        return false;
    // No titles (only Winamp 2 tells them): the number of entries still lets the
    // page offer them for selection.
    int nLength = 0;
    if (!playlist.bHasText &&
        !RunForPage(connection, CMD_PLEN, [&] { nLength = m_core.PlaylistLength() & 0xFFFF; }))
        return false;
    return RespondJson(connection, request, 200,
                       PlaylistJson(playlist.nIndex, playlist.bHasText,
                                    PlaylistTitles(playlist.text), nLength, ToUtf8));
}

bool CWebRemote::TakeBrowsePath(CWebConnection& connection, const CHttpRequest& request,
                                const std::string& utf8Path, std::string* pAnsi)
{
    std::wstring wide, normalised;
    if (!WideFromUtf8(utf8Path, &wide))
    {
        RespondError(connection, request, 400, "the name has no place in this PC's code page");
        return false;
    }
    if (!IsInsideBrowseFolders(wide, WideFromAnsi(m_core.BrowseFolders()), &normalised))
    {
        m_core.LogEvent("Web remote: refused \"%s\" from %s: not inside the folders to browse\r\n",
                        LogSafeText(AnsiForLog(wide)).c_str(), connection.Peer().c_str());
        RespondError(connection, request, 403, "not inside the folders to browse");
        return false;
    }
    // A name the code page cannot hold names no file the handlers could open.
    if (!AnsiFromWide(normalised, pAnsi))
    {
        RespondError(connection, request, 400, "the name has no place in this PC's code page");
        return false;
    }
    // A double-byte code page may need more bytes than the name has characters.
    if (pAnsi->size() > MAX_BROWSE_PATH)
    {
        RespondError(connection, request, 400, "the name is too long");
        return false;
    }
    return true;
}

// Keeps the listed folder's entries; the log counts the listing's bytes as a
// phone would have been sent them.
class CPageListingSink : public CListingSink
{
public:
    int SendListing(BrowseNode* pRoot) override
    {
        entries = FolderEntries(pRoot);
        return pRoot ? ListingByteTotal(pRoot) : LISTING_EMPTY;
    }
    std::vector<WebListEntry> entries;
};

bool CWebRemote::ServeList(CWebConnection& connection, const CHttpRequest& request)
{
    std::string path, ansi;
    // No path (or an empty one): the configured folders, as DLST with an empty name.
    if (FormValue(request.query, "path", &path) && !path.empty() &&
        !TakeBrowsePath(connection, request, path, &ansi))
        return request.KeepAlive();
    CPageListingSink listing;
    if (!RunForPage(connection, CMD_DLST, [&] { m_core.ListFolder(ansi.c_str(), listing); }))
        return false;
    return RespondJson(connection, request, 200, ListingJson(listing.entries, ToUtf8));
}

bool CWebRemote::ServeFileAction(CWebConnection& connection, const CHttpRequest& request,
                                 int nCommandId)
{
    std::string path, ansi;
    if (!FormValue(request.body, "path", &path))
        return RespondError(connection, request, 400, "no path");
    if (!TakeBrowsePath(connection, request, path, &ansi))
        return request.KeepAlive();
    bool bDone = RunForPage(connection, nCommandId,
                            [&]
                            {
                                if (nCommandId == CMD_LADD)
                                    m_core.Enqueue(ansi.c_str());
                                else
                                    m_core.PlayFile(ansi.c_str());
                            });
    return bDone && RespondJson(connection, request, 200, "{\"done\":true}");
}
