// The web remote: a small HTTP/1.1 server on its own port that serves the page
// and its JSON API to paired browsers on the local network. Each route calls
// the same operation of the core as the phone's command of the same meaning.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>
#include "HostNames.h"
#include "HttpRequest.h"
#include "SocketDrain.h"
#include "WebPairing.h"
#include "WebStateWatch.h"
#include "../framework/WorkerThread.h"

class CServerCore;
class CWebConnection;

// Connections served at once. When all are taken, the oldest that is idle and
// has shown no paired browser's token gives up its place to the next; when none
// is, the next gets 503 and is closed.
const int WEB_MAX_CONNECTIONS = 16;
// Connections of one peer address at once; its next one gets 503. A browser loads the page's
// modules over as many as 6 connections at once, beside its live channel.
const int WEB_MAX_CONNECTIONS_PER_PEER = 8;
// The file beside QuorvelServer.ini that keeps the paired browsers' token hashes.
const char* const PAIRED_BROWSERS_FILE_NAME = "QuorvelServer-browsers.txt";

class CWebRemote
{
public:
    explicit CWebRemote(CServerCore& core);
    ~CWebRemote();

    // Reads the paired browsers from the folder of the settings ("" keeps them
    // in memory only) and draws the first code.
    void LoadPairings(const char* pszIniDir);
    // Starts listening on the port; logs and returns false when it cannot.
    bool Start(unsigned short nPort);
    // Ends the listener and every connection, promptly.
    void Stop();
    bool IsRunning() const { return m_pAcceptThread != NULL; }

    CWebPairing& Pairing() { return m_pairing; }
    // Unpairs a browser; its waiting pages are answered 401 at once.
    void RemoveBrowser(const std::string& tokenHash);
    void AllowShutdown(bool bAllow) { m_bShutdownAllowed = bAllow; }

    // Routes one request of a connection and sends the response (WebRoutes.cpp);
    // false when the connection is to be closed.
    bool Serve(CWebConnection& connection, const CHttpRequest& request);

private:
    CWebRemote(const CWebRemote&);
    CWebRemote& operator=(const CWebRemote&);

    // One connection: its thread, its socket, and what the accept loop weighs
    // when every place is taken. Everything but pThread and peer is guarded by
    // m_slotLock. A thread left running at stop keeps its slot and deletes it.
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
        bool bAbandoned; // left running at stop: the thread deletes the slot
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
    void StopConnections(DWORD nStart);
    // The connection's state as its thread goes from request to request.
    bool TakeRequest(CSlot& slot);
    void EndRequest(CSlot& slot, bool bPaired);
    void EndConnection(CSlot& slot, bool bDrain);
    // Whether a request's Host names this PC; the names are read again on a
    // miss, at most every NAMES_REREAD_MS.
    bool IsThisPcHost(const std::string& host);

    // Routes (WebRoutes.cpp).
    bool RefusePost(CWebConnection& connection, const CHttpRequest& request);
    bool ServePage(CWebConnection& connection, const CHttpRequest& request);
    bool ServePair(CWebConnection& connection, const CHttpRequest& request);
    void LogCodeTry(PairingOutcome nOutcome, const PairingTry& pairing, const char* pszPeer);
    bool ServeApi(CWebConnection& connection, const CHttpRequest& request);
    bool ServeState(CWebConnection& connection, const CHttpRequest& request);
    bool ServeStatus(CWebConnection& connection, const CHttpRequest& request);
    bool ServeList(CWebConnection& connection, const CHttpRequest& request);
    bool ServePlaylist(CWebConnection& connection, const CHttpRequest& request);
    bool ServeVersion(CWebConnection& connection, const CHttpRequest& request);
    bool ServeFileAction(CWebConnection& connection, const CHttpRequest& request, int nCommandId);
    bool ServeDownload(CWebConnection& connection, const CHttpRequest& request);
    bool ServeArtwork(CWebConnection& connection, const CHttpRequest& request);
    bool ServeChooseApp(CWebConnection& connection, const CHttpRequest& request);
    bool ServeAction(CWebConnection& connection, const CHttpRequest& request);
    bool ServeShutdown(CWebConnection& connection, const CHttpRequest& request);
    // The browse path the page named, checked and in ANSI; false after a refusal.
    bool TakeBrowsePath(CWebConnection& connection, const CHttpRequest& request,
                        const std::string& utf8Path, std::string* pAnsi);
    // Runs an operation for the page as the phone's command nCommandId runs: the
    // application made to run first where the command's row says so, one page
    // command at a time but for downloads, and the waiting pages told to look
    // again. CMD_UNKNOWN: the page's own, which starts nothing. False when the
    // connection is stopped before its turn.
    bool RunForPage(const CWebConnection& connection, int nCommandId,
                    const std::function<void()>& operation);

    CServerCore& m_core;
    CWebPairing m_pairing;
    HANDLE m_hCommandMutex;
    CWebStateWatch m_watch;
    std::atomic<bool> m_bShutdownAllowed;
    SOCKET m_listenSocket;
    CWorkerThread* m_pAcceptThread;
    std::mutex m_slotLock;
    std::vector<CSlot*> m_slots; // changed by the accept thread, and by Stop once it has ended
    CSocketDrain m_drain;
    std::mutex m_namesLock;
    PcNames m_pcNames;
    DWORD m_nNamesReadMs;
};
