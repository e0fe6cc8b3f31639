// The live channel's requests on the library: the playlist, the folders to
// browse, playing or queueing a file, and the tickets that download one.
#include "WebRemote.h"
#include "AnsiText.h"
#include "CngCrypto.h"
#include "ByteText.h"
#include "JsonReader.h"
#include "../core/LogText.h"
#include "WebConnection.h"
#include "WebJson.h"
#include "../core/BrowseTree.h"
#include "../core/CommandSet.h"
#include "../core/NameRules.h"
#include "../core/ServerCore.h"

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

// The members of a JSON object's text, without its braces, to go into an answer.
static std::string Members(const std::string& object)
{
    return object.size() > 2 ? "," + object.substr(1, object.size() - 2) : std::string();
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

ChannelAnswer CWebRemote::AnswerPlaylist(const CWebConnection& connection)
{
    CPagePlaylistSink playlist;
    PageRun nRun = RunForPage(connection, CMD_PLST, [&] { m_core.Playlist(playlist); });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    // No titles (only Winamp 2 tells them): the number of entries still lets the
    // page offer them for selection.
    int nLength = 0;
    if (!playlist.bHasText)
        nRun =
            RunForPage(connection, CMD_PLEN, [&] { nLength = m_core.PlaylistLength() & 0xFFFF; });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    return ChannelAnswer::Done(Members(PlaylistJson(
        playlist.nIndex, playlist.bHasText, PlaylistTitles(playlist.text), nLength, ToUtf8)));
}

ChannelAnswer CWebRemote::TakeBrowsePath(const CWebConnection& connection,
                                         const std::string& utf8Path, std::string* pAnsi)
{
    std::wstring wide, normalised;
    if (!WideFromUtf8(utf8Path, &wide))
        return ChannelAnswer::Refused(400, "the name has no place in this PC's code page");
    if (!IsInsideBrowseFolders(wide, WideFromAnsi(m_core.BrowseFolders()), &normalised))
    {
        m_core.LogEvent("Web remote: refused \"%s\" from %s: not inside the folders to browse\r\n",
                        LogSafeText(AnsiForLog(wide)).c_str(), connection.Peer().c_str());
        return ChannelAnswer::Refused(403, "not inside the folders to browse");
    }
    // A name the code page cannot hold names no file the handlers could open.
    if (!AnsiFromWide(normalised, pAnsi))
        return ChannelAnswer::Refused(400, "the name has no place in this PC's code page");
    // A double-byte code page may need more bytes than the name has characters.
    if (pAnsi->size() > MAX_BROWSE_PATH)
        return ChannelAnswer::Refused(400, "the name is too long");
    return ChannelAnswer::Done();
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

ChannelAnswer CWebRemote::AnswerList(const CWebConnection& connection, const CJsonValue& request)
{
    std::string ansi;
    // No path (or an empty one): the configured folders, as DLST with an empty name.
    const CJsonValue* pPath = request.Find("path");
    if (pPath && !pPath->Text().empty())
    {
        ChannelAnswer taken = TakeBrowsePath(connection, pPath->Text(), &ansi);
        if (taken.nStatus != 200)
            return taken;
    }
    CPageListingSink listing;
    PageRun nRun =
        RunForPage(connection, CMD_DLST, [&] { m_core.ListFolder(ansi.c_str(), listing); });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    return ChannelAnswer::Done(Members(ListingJson(listing.entries, ToUtf8)));
}

ChannelAnswer CWebRemote::TakeRequestPath(const CWebConnection& connection,
                                          const CJsonValue& request, std::string* pAnsi)
{
    const CJsonValue* pPath = request.Find("path");
    if (!pPath || !pPath->IsString())
        return ChannelAnswer::Refused(400, "no path");
    return TakeBrowsePath(connection, pPath->Text(), pAnsi);
}

ChannelAnswer CWebRemote::AnswerFileAction(const CWebConnection& connection,
                                           const CJsonValue& request, int nCommandId)
{
    std::string ansi;
    ChannelAnswer taken = TakeRequestPath(connection, request, &ansi);
    if (taken.nStatus != 200)
        return taken;
    PageRun nRun = RunForPage(connection, nCommandId,
                              [&]
                              {
                                  if (nCommandId == CMD_LADD)
                                      m_core.Enqueue(ansi.c_str());
                                  else
                                      m_core.PlayFile(ansi.c_str());
                              });
    return nRun == PAGE_RUN_DONE ? ChannelAnswer::Done() : ChannelAnswer::NotRun(nRun);
}

// The file is checked now; the plain GET that follows names only the ticket.
ChannelAnswer CWebRemote::AnswerDownload(const CWebConnection& connection,
                                         const CJsonValue& request)
{
    std::string ansi;
    ChannelAnswer taken = TakeRequestPath(connection, request, &ansi);
    if (taken.nStatus != 200)
        return taken;
    std::string random(16, '\0');
    if (!SystemRandom(&random[0], random.size()))
        return ChannelAnswer::Refused(503, "no random numbers for a ticket");
    std::string ticket = HexFromBytes(random);
    m_tickets.Add(ticket, ansi, GetTickCount64());
    return ChannelAnswer::Done(",\"ticket\":\"" + ticket + "\"");
}
