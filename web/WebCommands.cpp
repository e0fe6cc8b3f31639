// The web remote's commands: the page's buttons, files and folders, each run
// as the phone's command of the same meaning runs, one at a time, and answered
// 503 when the player does not answer.
#include "WebRemote.h"
#include "AnsiText.h"
#include "LogText.h"
#include "UrlText.h"
#include "WebActions.h"
#include "WebConnection.h"
#include "WebJson.h"
#include "WebResponses.h"
#include "../core/BrowseTree.h"
#include "../core/CommandSet.h"
#include "../core/NameRules.h"
#include "../core/ServerCore.h"

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

PageRun CWebRemote::RunForPage(CWebConnection& connection, int nCommandId,
                               const std::function<void()>& operation)
{
    // A download only reads its file and may take long: it runs at once.
    if (nCommandId == CMD_DOWN)
    {
        m_core.EnsureActiveRunning();
        operation();
        return PAGE_RAN;
    }
    // Everything else waits its turn, so the page adds no more than one caller
    // at a time to the controllers, like one more phone link. A turn that does
    // not come in time is a command stuck in a player.
    WebLockResult nLock = connection.TakeLock(m_hCommandMutex, WEB_COMMAND_WAIT_MS);
    if (nLock != WEB_LOCK_HELD)
        return nLock == WEB_LOCK_GONE ? PAGE_GONE : PAGE_NOT_ANSWERING;
    if (nCommandId != CMD_UNKNOWN && CommandRowOf(nCommandId).bStartsApp)
        m_core.EnsureActiveRunning();
    operation();
    ReleaseMutex(m_hCommandMutex);
    m_watch.Poke();
    return PAGE_RAN;
}

bool CWebRemote::RespondNotRun(CWebConnection& connection, const CHttpRequest& request,
                               PageRun nRun)
{
    if (nRun == PAGE_GONE)
        return false;
    return RespondError(connection, request, 503, PLAYER_NOT_ANSWERING);
}

bool CWebRemote::ServeAction(CWebConnection& connection, const CHttpRequest& request)
{
    int nCommandId = CMD_UNKNOWN;
    long nValue = 0;
    if (!ParseWebAction(request.path.substr(5), request.body, &nCommandId, &nValue))
        return RespondError(connection, request, 404, "no such action, or a value out of range");
    PageRun nRun =
        RunForPage(connection, nCommandId, [&] { m_core.RunControl(nCommandId, nValue); });
    // What a player that does not answer was asked has not been done.
    if (nRun == PAGE_RAN && !m_core.IsPlayerAnswering())
        nRun = PAGE_NOT_ANSWERING;
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
    return RespondJson(connection, request, 200, "{\"done\":true}");
}

bool CWebRemote::ServeShutdown(CWebConnection& connection, const CHttpRequest& request)
{
    if (!m_bShutdownAllowed)
        return RespondError(connection, request, 403, "shutdown is not allowed");
    PageRun nRun = RunForPage(connection, CMD_SHUT, [&] { m_core.Shutdown(); });
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
    return RespondJson(connection, request, 200, "{\"done\":true}");
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
    PageRun nRun = RunForPage(connection, CMD_PLST, [&] { m_core.Playlist(playlist); });
    // No titles (only Winamp 2 tells them): the number of entries still lets the
    // page offer them for selection.
    int nLength = 0;
    if (nRun == PAGE_RAN && !playlist.bHasText)
        nRun =
            RunForPage(connection, CMD_PLEN, [&] { nLength = m_core.PlaylistLength() & 0xFFFF; });
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
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
    PageRun nRun =
        RunForPage(connection, CMD_DLST, [&] { m_core.ListFolder(ansi.c_str(), listing); });
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
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
    PageRun nRun = RunForPage(connection, nCommandId,
                              [&]
                              {
                                  if (nCommandId == CMD_LADD)
                                      m_core.Enqueue(ansi.c_str());
                                  else
                                      m_core.PlayFile(ansi.c_str());
                              });
    if (nRun == PAGE_RAN && !m_core.IsPlayerAnswering())
        nRun = PAGE_NOT_ANSWERING;
    if (nRun != PAGE_RAN)
        return RespondNotRun(connection, request, nRun);
    return RespondJson(connection, request, 200, "{\"done\":true}");
}
