// The live channel's requests: each calls the core's operation of the phone's
// command of the same meaning, so it takes the same controller calls, log lines
// and locks as on a phone, and answers with the fields the page reads.
#include "WebRemote.h"
#include <stdio.h>
#include "AnsiText.h"
#include "ByteText.h"
#include "ImageType.h"
#include "JsonReader.h"
#include "JsonText.h"
#include "../core/LogText.h"
#include "WebActions.h"
#include "WebConnection.h"
#include "WebJson.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"
#include "../core/Version.h"
#include "../framework/ScopedHandle.h"

// A request waits this long for the player's lock before it is answered 503.
static const DWORD PLAYER_LOCK_LIMIT_MS = 5000;

static std::string ToUtf8(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

ChannelAnswer ChannelAnswer::Done(const std::string& members)
{
    ChannelAnswer answer = {200, members, ""};
    return answer;
}

ChannelAnswer ChannelAnswer::Refused(int nStatus, const char* pszError)
{
    ChannelAnswer answer = {nStatus, "", pszError};
    return answer;
}

std::string ChannelAnswer::Json(const std::string& re) const
{
    if (nStatus == 200)
        return "{\"re\":" + re + ",\"ok\":true" + members + "}";
    return "{\"re\":" + re + ",\"ok\":false,\"status\":" + std::to_string(nStatus) +
           ",\"error\":" + JsonString(error) + "}";
}

PageRun CWebRemote::RunForPage(const CWebConnection& connection, int nCommandId,
                               const std::function<void()>& operation)
{
    // A download only reads its file and may take long: it runs at once.
    if (nCommandId == CMD_DOWN)
    {
        m_core.EnsureActiveRunning();
        operation();
        return PAGE_RUN_DONE;
    }
    // Everything else waits its turn, so the pages add no more than one caller
    // at a time to the controllers, like one more phone link.
    {
        CMutexLock lock(m_hCommandMutex, connection.Worker().GetStopEvent(), PLAYER_LOCK_LIMIT_MS);
        if (!lock.IsHeld())
            return connection.Worker().IsStopRequested() ? PAGE_RUN_STOPPED : PAGE_RUN_BUSY;
        if (nCommandId != CMD_UNKNOWN && CommandRowOf(nCommandId).bStartsApp)
            m_core.EnsureActiveRunning();
        operation();
    }
    m_watch.Poke();
    // A command that met a hung player went on as if it were not running: the
    // page is told the player is not answering rather than that it was done.
    if (nCommandId != CMD_UNKNOWN && !m_core.IsPlayerAnswering())
        return PAGE_RUN_BUSY;
    return PAGE_RUN_DONE;
}

ChannelAnswer ChannelAnswer::NotRun(PageRun nRun)
{
    return ChannelAnswer::Refused(503, nRun == PAGE_RUN_BUSY ? "The player is not answering"
                                                             : "The server is stopping");
}

ChannelAnswer CWebRemote::AnswerRequest(const CWebConnection& connection, const CJsonValue& request)
{
    const CJsonValue* pOp = request.Find("op");
    const std::string op = pOp ? pOp->Text() : std::string();
    if (op == "hello")
        return AnswerHello(connection);
    if (op == "status")
        return AnswerStatus(connection);
    if (op == "playlist")
        return AnswerPlaylist(connection);
    if (op == "list")
        return AnswerList(connection, request);
    if (op == "play-file" || op == "enqueue")
        return AnswerFileAction(connection, request, op == "play-file" ? CMD_PLAY : CMD_LADD);
    if (op == "download")
        return AnswerDownload(connection, request);
    if (op == "art")
        return AnswerArtwork(connection, request);
    if (op == "app")
        return AnswerChooseApp(connection, request);
    if (op == "shutdown")
        return AnswerShutdown(connection);
    return AnswerAction(connection, request);
}

ChannelAnswer CWebRemote::AnswerAction(const CWebConnection& connection, const CJsonValue& request)
{
    int nCommandId = CMD_UNKNOWN;
    long nValue = 0;
    if (!ParseWebAction(request, &nCommandId, &nValue))
        return ChannelAnswer::Refused(404, "no such action, or a value out of range");
    PageRun nRun =
        RunForPage(connection, nCommandId, [&] { m_core.RunControl(nCommandId, nValue); });
    return nRun == PAGE_RUN_DONE ? ChannelAnswer::Done() : ChannelAnswer::NotRun(nRun);
}

ChannelAnswer CWebRemote::AnswerShutdown(const CWebConnection& connection)
{
    if (!m_bShutdownAllowed)
        return ChannelAnswer::Refused(403, "shutdown is not allowed");
    PageRun nRun = RunForPage(connection, CMD_SHUT, [&] { m_core.Shutdown(); });
    return nRun == PAGE_RUN_DONE ? ChannelAnswer::Done() : ChannelAnswer::NotRun(nRun);
}

// The state as it is, without starting the application: the page's first look.
ChannelAnswer CWebRemote::AnswerHello(const CWebConnection& connection)
{
    WatchedState state;
    PageRun nRun = RunForPage(connection, CMD_UNKNOWN, [&] { state = m_watch.ReadNow(); });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    char szVersion[80];
    snprintf(szVersion, sizeof(szVersion), ",\"version\":\"%d.%d\",\"shutdown\":%s",
             PROTOCOL_VERSION_MAJOR, PROTOCOL_VERSION_MINOR, m_bShutdownAllowed ? "true" : "false");
    return ChannelAnswer::Done(",\"state\":" + StatusJson(state.status, state.nKind, -1, ToUtf8) +
                               szVersion);
}

// As the phone's status command: it finds (and starts) the application.
ChannelAnswer CWebRemote::AnswerStatus(const CWebConnection& connection)
{
    WatchedState state;
    PageRun nRun = RunForPage(connection, CMD_INF2, [&] { state = m_watch.ReadNow(); });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    return ChannelAnswer::Done(",\"state\":" + StatusJson(state.status, state.nKind, -1, ToUtf8));
}

// The key names the picture of one version: a page asking for an older one
// is told so, and asks again with the key of the next state it is pushed.
ChannelAnswer CWebRemote::AnswerArtwork(const CWebConnection& connection, const CJsonValue& request)
{
    std::string bytes, type;
    unsigned nVersion = 0;
    bool bFound = false;
    PageRun nRun = RunForPage(connection, CMD_UNKNOWN,
                              [&] { bFound = m_core.Artwork(&bytes, &type, &nVersion); });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    std::string served = ServedImageType(type);
    const CJsonValue* pKey = request.Find("key");
    if (!bFound || served.empty() ||
        (pKey && !pKey->Text().empty() && pKey->Text() != m_watch.ArtworkKey(nVersion)))
        return ChannelAnswer::Refused(404, "no artwork");
    return ChannelAnswer::Done(",\"type\":" + JsonString(served) + ",\"data\":\"" +
                               Base64Encode(bytes) + "\"");
}

ChannelAnswer CWebRemote::AnswerChooseApp(const CWebConnection& connection,
                                          const CJsonValue& request)
{
    // "id" is the request's own number: the app's id goes in "app".
    const CJsonValue* pApp = request.Find("app");
    if (!pApp || !pApp->IsString())
        return ChannelAnswer::Refused(400, "no app");
    const std::string& app = pApp->Text();
    bool bChosen = false;
    PageRun nRun =
        RunForPage(connection, CMD_UNKNOWN, [&] { bChosen = m_core.ChooseMediaApp(app); });
    if (nRun != PAGE_RUN_DONE)
        return ChannelAnswer::NotRun(nRun);
    if (bChosen)
        return ChannelAnswer::Done();
    std::wstring wide;
    m_core.LogEvent("Web remote: refused the app \"%s\" from %s: it has no media session\r\n",
                    LogSafeText(WideFromUtf8(app, &wide) ? AnsiForLog(wide) : app).c_str(),
                    connection.Peer().c_str());
    return ChannelAnswer::Refused(404, "no app of that id has a media session");
}
