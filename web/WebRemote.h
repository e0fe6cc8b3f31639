// The web remote: a small HTTP/1.1 server on its own port that serves the page
// and, to paired browsers on the local network, a private live channel. Each of
// its requests calls the same operation of the core as the phone's command of
// the same meaning.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>
#include "DownloadTickets.h"
#include "HostNames.h"
#include "HttpRequest.h"
#include "LiveChannels.h"
#include "SocketDrain.h"
#include "WebPairing.h"
#include "WebStateWatch.h"
#include "../framework/WorkerThread.h"

class CServerCore;
class CWebConnection;
class CJsonValue;

// How a page's operation went: done, or its turn never came.
enum PageRun
{
    PAGE_RUN_DONE,
    PAGE_RUN_BUSY,    // the player's lock was not had in time
    PAGE_RUN_STOPPED, // the listener stops
};

// A channel request's answer: its members after "ok" (",\"a\":1"), or a refusal.
struct ChannelAnswer
{
    int nStatus; // 200, or 400, 403, 404, 503
    std::string members;
    std::string error;
    static ChannelAnswer Done(const std::string& members = std::string());
    static ChannelAnswer Refused(int nStatus, const char* pszError);
    // 503 for a run whose turn never came (the stop's is never sent).
    static ChannelAnswer NotRun(PageRun nRun);
    // {"re":re,"ok":true...} or {"re":re,"ok":false,"status":...,"error":...}
    std::string Json(const std::string& re) const;
};

// Connections served at once. When all are taken, the oldest that is idle and
// has shown no paired browser gives up its place to the next; when none
// is, the next gets 503 and is closed.
const int WEB_MAX_CONNECTIONS = 16;
// Connections of one peer address at once; its next one gets 503. A browser loads the page's
// modules over as many as 6 connections at once, beside its live channel.
const int WEB_MAX_CONNECTIONS_PER_PEER = 8;
// The file beside QuorvelServer.ini that keeps the paired browsers' keys (protected for this user).
const char* const PAIRED_BROWSERS_FILE_NAME = "QuorvelServer-browsers.txt";

class CWebRemote
{
public:
    explicit CWebRemote(CServerCore& core);
    ~CWebRemote();

    // Reads the paired browsers from the folder of the settings ("" keeps them
    // in memory only) and draws the first key.
    void LoadPairings(const char* pszIniDir);
    // Starts listening on the port; logs and returns false when it cannot.
    bool Start(unsigned short nPort);
    // Ends the listener and every connection, promptly.
    void Stop();
    bool IsRunning() const { return m_pAcceptThread != NULL; }

    CWebPairing& Pairing() { return m_pairing; }
    // Unpairs a browser; its live channels are told so and closed at once.
    void RemoveBrowser(const std::string& idHex);
    void AllowShutdown(bool bAllow) { m_bShutdownAllowed = bAllow; }
    // Whether paired browsers may use the PC's mouse and keyboard.
    void AllowInput(bool bAllow) { m_bInputAllowed = bAllow; }
    bool IsInputAllowed() const { return m_bInputAllowed; }

    // Routes one request of a connection and sends the response (WebRoutes.cpp);
    // false when the connection is to be closed.
    bool Serve(CWebConnection& connection, const CHttpRequest& request);

private:
    CWebRemote(const CWebRemote&);
    CWebRemote& operator=(const CWebRemote&);

    // One connection: its thread, its socket, and what the accept loop weighs
    // when every place is taken. Everything but pThread and peer is guarded by
    // m_slotLock. The slot goes once its thread has been joined.
    struct CSlot
    {
        CWorkerThread* pThread;
        SOCKET socket;
        std::string peer;
        DWORD nAcceptedMs;
        bool bIdle;      // waiting for (the rest of) a request
        bool bPaired;    // a request on it showed a paired browser's token
        bool bEvicted;   // it gave up its place to a newer connection
        bool bDone;      // its thread touches it no more
        CWebRemote* pOwner;
    };

    static void AcceptThread(CWorkerThread& thread, void* pParam);
    static void ConnectionThread(CWorkerThread& thread, void* pParam);
    void AcceptWaiting(CWorkerThread& thread, SOCKET listenSocket);
    void AcceptOne(SOCKET client, const sockaddr_in& address);
    // A place for the peer's new connection, the slot it gives up marked (under
    // m_slotLock); false when it gets 503.
    bool MakeRoom(const std::string& peer);
    void ReapEndedSlots();
    void StopConnections();
    // The connection's state as its thread goes from request to request.
    bool TakeRequest(CSlot& slot);
    void EndRequest(CSlot& slot, bool bPaired);
    void EndConnection(CSlot& slot, bool bDrain);
    // Whether a request's Host names this PC; the names are read again on a
    // miss, at most every NAMES_REREAD_MS.
    bool IsThisPcHost(const std::string& host);

    // Routes (WebRoutes.cpp, WebDownload.cpp).
    bool RefusePost(CWebConnection& connection, const CHttpRequest& request);
    bool ServePage(CWebConnection& connection, const CHttpRequest& request);
    // Pairing (WebPairRoutes.cpp).
    bool ServePair(CWebConnection& connection, const CHttpRequest& request);
    bool ServePairReason(CWebConnection& connection, const CHttpRequest& request);
    void LogPairingTry(PairingOutcome nOutcome, const char* pszPeer);
    bool ServeDownload(CWebConnection& connection, const CHttpRequest& request);
    // Upgrades to the live channel and runs it to its end (WebChannel.cpp).
    bool ServeLive(CWebConnection& connection, const CHttpRequest& request);

    // The channel's requests (ChannelRequests.cpp, ChannelLibrary.cpp).
    friend class CWebChannel;
    ChannelAnswer AnswerRequest(const CWebConnection& connection, const CJsonValue& request);
    ChannelAnswer AnswerAction(const CWebConnection& connection, const CJsonValue& request);
    ChannelAnswer AnswerShutdown(const CWebConnection& connection);
    ChannelAnswer AnswerHello(const CWebConnection& connection);
    ChannelAnswer AnswerStatus(const CWebConnection& connection);
    ChannelAnswer AnswerArtwork(const CWebConnection& connection, const CJsonValue& request);
    ChannelAnswer AnswerChooseApp(const CWebConnection& connection, const CJsonValue& request);
    ChannelAnswer AnswerPlaylist(const CWebConnection& connection);
    ChannelAnswer AnswerList(const CWebConnection& connection, const CJsonValue& request);
    ChannelAnswer AnswerFileAction(const CWebConnection& connection, const CJsonValue& request,
                                   int nCommandId);
    ChannelAnswer AnswerDownload(const CWebConnection& connection, const CJsonValue& request);
    // The browse path the page named, checked and in ANSI; a refusal otherwise.
    ChannelAnswer TakeBrowsePath(const CWebConnection& connection, const std::string& utf8Path,
                                 std::string* pAnsi);
    // The same for the request's "path" field; 400 without one.
    ChannelAnswer TakeRequestPath(const CWebConnection& connection, const CJsonValue& request,
                                  std::string* pAnsi);
    // Runs an operation for the page as the phone's command nCommandId runs: the
    // application made to run first where the command's row says so, one page
    // command at a time but for downloads, and the watchers told to look again.
    // CMD_UNKNOWN: the page's own, which starts nothing.
    PageRun RunForPage(const CWebConnection& connection, int nCommandId,
                       const std::function<void()>& operation);

    CServerCore& m_core;
    CWebPairing m_pairing;
    HANDLE m_hCommandMutex;
    CWebStateWatch m_watch;
    CDownloadTickets m_tickets;
    CLiveChannels m_channels;
    std::atomic<bool> m_bShutdownAllowed;
    std::atomic<bool> m_bInputAllowed;
    SOCKET m_listenSocket;
    CWorkerThread* m_pAcceptThread;
    std::mutex m_slotLock;
    std::vector<CSlot*> m_slots; // changed by the accept thread, and by Stop once it has ended
    CSocketDrain m_drain;
    std::mutex m_namesLock;
    PcNames m_pcNames;
    DWORD m_nNamesReadMs;
};
