// The web remote: a small HTTP/1.1 server on its own port that serves the page
// and its JSON API to paired browsers on the local network. It reaches the rest
// of the program as the phone links do: through the command handlers (over an
// in-memory link) and the active controller.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <string>
#include <vector>
#include "HttpRequest.h"
#include "WebPairing.h"
#include "WebStateWatch.h"
#include "../framework/WorkerThread.h"

class CServerDlg;
class CWebConnection;
class CReplySink;

// Connections served at once; the next one gets 503 and is closed.
const int WEB_MAX_CONNECTIONS = 16;
// The file beside QuorvelServer.ini that keeps the paired browsers' token hashes.
const char* const PAIRED_BROWSERS_FILE_NAME = "QuorvelServer-browsers.txt";

class CWebRemote
{
public:
    explicit CWebRemote(CServerDlg& dlg);
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
    void AllowShutdown(bool bAllow) { m_bShutdownAllowed = bAllow; }

    // Routes one request of a connection and sends the response (WebRoutes.cpp);
    // false when the connection is to be closed.
    bool Serve(CWebConnection& connection, const CHttpRequest& request);

private:
    CWebRemote(const CWebRemote&);
    CWebRemote& operator=(const CWebRemote&);

    // One connection's thread and socket; the socket is closed by whichever
    // of the thread and the listener's stop takes it first.
    struct CSlot
    {
        CWorkerThread thread;
        std::atomic<SOCKET> socket;
        std::atomic<bool> bDone;
        std::string peer;
        CWebRemote* pOwner;
    };

    static void AcceptThread(CWorkerThread& thread, void* pParam);
    static void ConnectionThread(CWorkerThread& thread, void* pParam);
    void AcceptOne(SOCKET client, const sockaddr_in& address);
    CSlot* FreeSlot();
    static void CloseSlotSocket(CSlot& slot);

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
    bool ServeFileAction(CWebConnection& connection, const CHttpRequest& request,
                         const char* pszCommand);
    bool ServeDownload(CWebConnection& connection, const CHttpRequest& request);
    bool ServeAction(CWebConnection& connection, const CHttpRequest& request);
    bool ServeShutdown(CWebConnection& connection, const CHttpRequest& request);
    // The browse path the page named, checked and in ANSI; false after a refusal.
    bool TakeBrowsePath(CWebConnection& connection, const CHttpRequest& request,
                        const std::string& utf8Path, std::string* pAnsi);
    // Runs a phone command for the page: one at a time, but for downloads.
    void RunCommand(const CWorkerThread& worker, const char* pszCommand, const std::string& params,
                    CReplySink& sink);

    CServerDlg& m_dlg;
    CWebPairing m_pairing;
    HANDLE m_hCommandMutex;
    CWebStateWatch m_watch;
    std::atomic<bool> m_bShutdownAllowed;
    SOCKET m_listenSocket;
    CWorkerThread* m_pAcceptThread;
    CSlot m_slots[WEB_MAX_CONNECTIONS];
};
