// The live channel from a page's side, for the tests: the WebSocket opening,
// masked frames, the opening with a browser's id and nonce, and sealed
// requests, answers and pushes (the seals from the server's CNG code).
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "PhoneClient.h"

class CChannelSealer;
class CChannelOpener;

struct ChannelFrame
{
    int nOpcode; // -1: none came (closed or timed out)
    std::string payload;
};

class CChannelClient
{
public:
    CChannelClient();
    ~CChannelClient();
    // The TCP connection and the WebSocket opening; false unless 101 came.
    bool Connect(const char* pszFrom = "127.0.0.1");
    // The opening with this browser: its id (hex) and K; false unless a nonce came.
    bool Open(const std::string& idHex, const std::string& K);
    // A client frame, masked unless told otherwise; its bytes are kept in LastSent.
    bool SendFrame(int nOpcode, const std::string& payload, bool bMasked = true);
    bool SendSealed(const std::string& json);
    // The next frame from the server but pings, as it came.
    ChannelFrame ReadFrame(DWORD nTimeoutMs);
    // The answer to a request sent now ({"id":n,...} with n filled in); pushes
    // that come before it are kept. "" when none came.
    std::string Request(const std::string& members);
    // The next push (opened), or "" when none came in time.
    std::string NextPush(DWORD nTimeoutMs);
    // The close code of the server's close frame, once it comes (-1: none; pushes
    // before it are kept).
    int WaitForCloseCode(DWORD nTimeoutMs);
    const std::string& LastSent() const { return m_lastSent; }
    CPhoneClient& Link() { return m_link; }

private:
    ChannelFrame ReadAnyFrame(DWORD nTimeoutMs);
    // A server frame opened; false for anything else (kept in m_other).
    bool ReadSealed(DWORD nTimeoutMs, std::string* pPlain);
    CPhoneClient m_link;
    std::unique_ptr<CChannelSealer> m_pSealer;
    std::unique_ptr<CChannelOpener> m_pOpener;
    std::vector<std::string> m_pushes;
    ChannelFrame m_other;
    std::string m_lastSent;
    int m_nNextId;
};

// Text as it goes inside a JSON string (the tests' paths: ASCII).
std::string JsonEscaped(const std::string& text);
// nBytes random bytes in hex.
std::string RandomHex(size_t nBytes);

class CServerProcess;
// A paired browser as the page keeps it: its id (hex) and K ("" when pairing failed).
struct TestBrowser
{
    std::string id;
    std::string K;
};
// Pairs a new browser with the key the server's dialog shows.
TestBrowser PairBrowser(const CServerProcess& server);
