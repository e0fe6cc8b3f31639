// The live channel on one upgraded connection (docs/web-channel.md): its
// opening, the sealed messages both ways, the state's pushes, pings and the
// close handshake. It runs on the connection's own thread.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "ChannelCrypto.h"
#include "LiveChannels.h"
#include "WebInput.h"
#include "WebSocketFrames.h"

class CWebRemote;
class CWebConnection;

// Silence from the page this long is answered with a ping; a ping's pong must
// come within CHANNEL_PONG_LIMIT_MS, or the channel is taken for dead.
const DWORD CHANNEL_PING_MS = 20000;
const DWORD CHANNEL_PONG_LIMIT_MS = 30000;
// The opening and the first sealed message must come this soon: until then the
// channel holds a place for a browser that has proved nothing.
const DWORD CHANNEL_OPENING_LIMIT_MS = 10000;
// After our close frame, the page's answer is waited for this long.
const DWORD CHANNEL_CLOSE_WAIT_MS = 2000;

class CWebChannel
{
public:
    CWebChannel(CWebRemote& remote, CWebConnection& connection);
    ~CWebChannel();
    void Run();

private:
    CWebChannel(const CWebChannel&);
    CWebChannel& operator=(const CWebChannel&);

    enum Phase
    {
        PHASE_OPENING, // waiting for the page's id and nonce
        PHASE_OPENED,  // keys derived, waiting for the first sealed message
        PHASE_LIVE,    // the page's key proved itself: requests and pushes
        PHASE_CLOSING, // our close frame sent, waiting for the page's
        PHASE_ENDED,
    };

    DWORD WaitLimit() const;
    void TakeBytes(const std::string& bytes);
    void TakeMessage(const WsMessage& message);
    void TakeOpening(const std::string& text);
    void TakeSealed(const std::string& frame);
    void Answer(const std::string& plain);
    void Woken();
    void TimedOut();
    // The touchpad's and keyboard's events of one input message (ChannelInput.cpp).
    void TakeInput(const CJsonValue& events);
    // Tells the page what its touchpad can reach, when that changed (ChannelInput.cpp).
    void PushInputReach();
    bool SendSealed(const std::string& json);
    bool SendFrame(WsOpcode nOpcode, const std::string& payload);
    // Sends our close frame; the channel ends once the page answers (or soon after).
    void Close(int nCode, const char* pszReason);
    void Refuse(int nCode, const char* pszWhy);

    CWebRemote& m_remote;
    CWebConnection& m_connection;
    HANDLE m_hWake; // auto-reset: state changes and the registry's word
    Phase m_nPhase;
    CWebSocketReader m_reader;
    std::unique_ptr<CChannelSealer> m_pSealer;
    std::unique_ptr<CChannelOpener> m_pOpener;
    std::unique_ptr<CLiveChannel> m_pEntry;
    std::unique_ptr<CWebInput> m_pInput; // once the page has used its touchpad
    bool m_bWatching;
    unsigned m_nReadsBefore;
    long long m_nStateSeen;
    DWORD m_nPhaseStartMs;
    DWORD m_nLastHeardMs;
    bool m_bPingOut;
    DWORD m_nPingSentMs;
};
