// One browser's connection: its socket in non-blocking mode with an event, so
// that every wait also ends on the listener's stop request, and the deadlines
// that keep an idle or trickling client from holding its thread.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <string>
#include "HttpRequest.h"
#include "../framework/WorkerThread.h"

// A connection with no request under way is closed after this long; one that
// has not shown a paired browser's token, sooner: it may hold a place for nothing.
const DWORD WEB_IDLE_LIMIT_MS = 30000;
const DWORD WEB_UNPAIRED_IDLE_LIMIT_MS = 10000;
// A request must be whole this long after its first byte arrived, however
// steadily its bytes trickle in.
const DWORD WEB_REQUEST_LIMIT_MS = 10000;
// A response the browser does not take in for this long is given up.
const DWORD WEB_SEND_LIMIT_MS = 30000;

enum WebReadResult
{
    WEB_READ_REQUEST, // a whole request; see the parser
    WEB_READ_BAD,     // the parser refused it; see the parser's result
    WEB_READ_CLOSED,  // closed by the browser, timed out, or the listener stops
};

enum WebWaitResult
{
    WEB_WAIT_BYTES,
    WEB_WAIT_WAKE,
    WEB_WAIT_TIMEOUT,
    WEB_WAIT_CLOSED, // closed by the browser, broken, or the listener stops
};

class CWebConnection
{
public:
    CWebConnection(SOCKET client, const CWorkerThread& worker, const std::string& peer);
    ~CWebConnection();
    bool IsReady() const { return m_hEvent != NULL; }

    // Reads the next request into the parser (reset first), keeping the bytes
    // after it for the next call. *pnParse tells what the parser said.
    WebReadResult ReadRequest(CHttpRequestParser& parser, HttpParseResult* pnParse);
    // Sends every byte, waiting as the browser takes them in; false when it
    // went away, stopped reading for WEB_SEND_LIMIT_MS or the listener stops.
    bool SendAll(const char* pData, size_t nSize);
    bool SendAll(const std::string& bytes) { return SendAll(bytes.data(), bytes.size()); }
    // A live channel's wait, up to nMs: the bytes that came (those after the
    // upgrade request first), hWake, or the end of the link or of the listener.
    WebWaitResult WaitForBytes(HANDLE hWake, DWORD nMs, std::string* pBytes);
    // Small frames go out at once, not held back to be joined with the next.
    void SendAtOnce();

    const std::string& Peer() const { return m_peer; }
    const CWorkerThread& Worker() const { return m_worker; }
    // A request on it showed a paired browser's token (or paired it).
    void MarkPaired() { m_bPaired = true; }
    bool IsPaired() const { return m_bPaired; }
    // The answer sent was an error after which the connection ends: the client's
    // unread bytes are to be drained, not reset (SocketDrain.h).
    void EndAfterError() { m_bEndAfterError = true; }
    bool EndsAfterError() const { return m_bEndAfterError; }

private:
    CWebConnection(const CWebConnection&);
    CWebConnection& operator=(const CWebConnection&);
    // Waits for the socket's events (or hWake, when given) up to nMs: 0 the
    // socket, 1 hWake, -1 time-out, -2 the stop request.
    int Wait(HANDLE hWake, DWORD nMs);
    // Takes in what has arrived, up to what the parser may take at once; false
    // when the link broke (m_bPeerClosed tells of the browser's close).
    bool ReceiveAvailable();

    SOCKET m_socket;
    HANDLE m_hEvent; // auto-reset, set by the socket's events
    const CWorkerThread& m_worker;
    std::string m_peer;
    std::string m_pending; // bytes received beyond the last request
    bool m_bPeerClosed;
    bool m_bMayBeReadable;
    bool m_bPaired;
    bool m_bEndAfterError;
};
