#include "WebChannel.h"
#include "WebRemote.h"
#include "ByteText.h"
#include "CngCrypto.h"
#include "JsonReader.h"
#include "JsonText.h"
#include "../core/LogText.h"
#include "WebConnection.h"
#include "WebResponses.h"
#include "WebSocketHandshake.h"
#include "WebSocketUpgrade.h"
#include "../core/ServerCore.h"

bool CWebRemote::ServeLive(CWebConnection& connection, const CHttpRequest& request)
{
    std::string clientKey;
    if (!IsWebSocketUpgrade(request, &clientKey))
        return RespondError(connection, request, 400, "not a WebSocket opening");
    // A page of another site carries its own Origin; a script may send none.
    const std::string* pOrigin = request.FindHeader("Origin");
    const std::string* pHost = request.FindHeader("Host");
    if (pOrigin && (!pHost || *pOrigin != "http://" + *pHost))
    {
        m_core.LogEvent("Web remote: refused a channel from %s: opened by the page of \"%s\"\r\n",
                        connection.Peer().c_str(), LogSafeText(*pOrigin).c_str());
        return RespondError(connection, request, 403, "cross-site request refused");
    }
    std::string acceptKey = WebSocketAcceptKey(clientKey);
    if (acceptKey.empty())
        return RespondError(connection, request, 500, "no SHA-1 for the opening");
    connection.SendAtOnce();
    if (!connection.SendAll(WebSocketUpgradeResponse(acceptKey)))
        return false;
    CWebChannel channel(*this, connection);
    channel.Run();
    // The socket now speaks WebSocket: it is never handed back to HTTP.
    return false;
}

CWebChannel::CWebChannel(CWebRemote& remote, CWebConnection& connection)
    : m_remote(remote), m_connection(connection), m_hWake(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_nPhase(PHASE_OPENING), m_bWatching(false), m_nReadsBefore(0), m_nStateSeen(-1),
      m_nPhaseStartMs(GetTickCount()), m_nLastHeardMs(GetTickCount()), m_bPingOut(false),
      m_nPingSentMs(0)
{
}

CWebChannel::~CWebChannel()
{
    // Whatever the page held goes up before anything else of the channel goes.
    m_pInput.reset();
    if (m_bWatching)
        m_remote.m_watch.RemoveWatcher(m_hWake);
    if (m_pEntry)
        m_remote.m_channels.Remove(m_pEntry.get());
    if (m_hWake)
        CloseHandle(m_hWake);
}

void CWebChannel::Run()
{
    if (!m_hWake)
        return;
    while (m_nPhase != PHASE_ENDED)
    {
        std::string bytes;
        // A page that uses its touchpad is told of its reach as it changes.
        DWORD nWait = WaitLimit();
        if (m_pInput && nWait > WEB_INPUT_REACH_PERIOD_MS)
            nWait = WEB_INPUT_REACH_PERIOD_MS;
        switch (m_connection.WaitForBytes(m_hWake, nWait, &bytes))
        {
        case WEB_WAIT_BYTES:
            m_nLastHeardMs = GetTickCount();
            TakeBytes(bytes);
            break;
        case WEB_WAIT_WAKE:
            Woken();
            break;
        case WEB_WAIT_TIMEOUT:
            if (WaitLimit() == 0)
                TimedOut();
            break;
        case WEB_WAIT_CLOSED:
            // The listener stops: the page is told so, as far as its buffer takes it.
            if (m_connection.Worker().IsStopRequested() && m_nPhase != PHASE_CLOSING)
                m_connection.SendAll(EncodeWebSocketClose(1001, "the server stops"));
            m_nPhase = PHASE_ENDED;
            break;
        }
        PushInputReach();
    }
}

DWORD CWebChannel::WaitLimit() const
{
    DWORD nNow = GetTickCount();
    DWORD nFrom = m_nPhaseStartMs;
    DWORD nLimit = CHANNEL_OPENING_LIMIT_MS;
    if (m_nPhase == PHASE_CLOSING)
        nLimit = CHANNEL_CLOSE_WAIT_MS;
    else if (m_nPhase == PHASE_LIVE && m_bPingOut)
        nFrom = m_nPingSentMs, nLimit = CHANNEL_PONG_LIMIT_MS;
    else if (m_nPhase == PHASE_LIVE)
        nFrom = m_nLastHeardMs, nLimit = CHANNEL_PING_MS;
    DWORD nElapsed = nNow - nFrom;
    return nElapsed >= nLimit ? 0 : nLimit - nElapsed;
}

void CWebChannel::TimedOut()
{
    if (m_nPhase == PHASE_CLOSING)
    {
        m_nPhase = PHASE_ENDED;
        return;
    }
    if (m_nPhase != PHASE_LIVE)
    {
        Refuse(1008, "it did not open in time");
        return;
    }
    if (!m_bPingOut)
    {
        m_bPingOut = true;
        m_nPingSentMs = GetTickCount();
        if (!SendFrame(WS_PING, ""))
            m_nPhase = PHASE_ENDED;
        return;
    }
    m_remote.m_core.LogEvent("Web remote: the channel from %s gave no pong in %u s: closed\r\n",
                             m_connection.Peer().c_str(), CHANNEL_PONG_LIMIT_MS / 1000);
    m_nPhase = PHASE_ENDED;
}

void CWebChannel::TakeBytes(const std::string& bytes)
{
    std::vector<WsMessage> messages;
    int nError = m_reader.Feed(bytes.data(), bytes.size(), &messages);
    for (size_t i = 0; i < messages.size() && m_nPhase != PHASE_ENDED; i++)
        TakeMessage(messages[i]);
    if (nError != 0 && m_nPhase != PHASE_ENDED && m_nPhase != PHASE_CLOSING)
    {
        m_remote.m_core.LogEvent("Web remote: closed the channel from %s: a frame broke the "
                                 "WebSocket rules (%d)\r\n",
                                 m_connection.Peer().c_str(), nError);
        Close(nError, "");
    }
}

void CWebChannel::TakeMessage(const WsMessage& message)
{
    switch (message.nOpcode)
    {
    case WS_PING:
        if (!SendFrame(WS_PONG, message.payload))
            m_nPhase = PHASE_ENDED;
        return;
    case WS_PONG:
        m_bPingOut = false;
        return;
    case WS_CLOSE:
    {
        // The page's close: answered with its code, then the link ends.
        int nCode = 1000;
        bool bValid = ParseWebSocketClose(message.payload, &nCode);
        if (m_nPhase != PHASE_CLOSING)
            m_connection.SendAll(EncodeWebSocketClose(bValid ? nCode : 1002, ""));
        m_nPhase = PHASE_ENDED;
        return;
    }
    default:
        break;
    }
    if (m_nPhase == PHASE_CLOSING)
        return;
    if (m_nPhase == PHASE_OPENING && message.nOpcode == WS_TEXT)
        TakeOpening(message.payload);
    else if (m_nPhase != PHASE_OPENING && message.nOpcode == WS_BINARY)
        TakeSealed(message.payload);
    else
        Refuse(1008, "a message out of turn");
}

void CWebChannel::TakeOpening(const std::string& text)
{
    CJsonValue opening;
    std::string id, clientNonce;
    const CJsonValue* pId = NULL;
    const CJsonValue* pNonce = NULL;
    if (!ParseJson(text, &opening) || !(pId = opening.Find("id")) ||
        !(pNonce = opening.Find("nonce")) || !BytesFromHex(pId->Text(), &id) || id.size() != 16 ||
        !BytesFromHex(pNonce->Text(), &clientNonce) || clientNonce.size() != CHANNEL_NONCE_BYTES)
    {
        Refuse(1008, "its opening was not an id and a nonce");
        return;
    }
    std::string browserId = HexFromBytes(id);
    std::string K;
    BrowserCheck nCheck = m_remote.m_pairing.FindBrowserKey(browserId, &K);
    // Registered before the key is looked at again: a Remove in between is not missed.
    if (nCheck == BROWSER_PAIRED)
    {
        m_pEntry.reset(new CLiveChannel(browserId, m_hWake));
        m_remote.m_channels.Add(m_pEntry.get());
        nCheck = m_remote.m_pairing.FindBrowserKey(browserId, &K);
    }
    if (nCheck != BROWSER_PAIRED)
    {
        const char* pszReason = nCheck == BROWSER_REMOVED ? "removed" : "unknown";
        SendFrame(WS_TEXT,
                  std::string("{\"error\":\"not paired\",\"reason\":\"") + pszReason + "\"}");
        Refuse(1008, "its browser is not paired");
        return;
    }
    std::string serverNonce(CHANNEL_NONCE_BYTES, '\0');
    ChannelKeys keys;
    if (!SystemRandom(&serverNonce[0], serverNonce.size()) ||
        !DeriveChannelKeys(K, clientNonce, serverNonce, &keys))
    {
        Refuse(1011, "no keys could be made");
        return;
    }
    m_pSealer.reset(new CChannelSealer(keys.down));
    m_pOpener.reset(new CChannelOpener(keys.up));
    m_nPhase = PHASE_OPENED;
    m_nPhaseStartMs = GetTickCount();
    if (!SendFrame(WS_TEXT, "{\"nonce\":\"" + HexFromBytes(serverNonce) + "\"}"))
        m_nPhase = PHASE_ENDED;
}

void CWebChannel::TakeSealed(const std::string& frame)
{
    std::string plain;
    if (!m_pOpener->Open(frame, &plain))
    {
        Refuse(1008, "a message did not open or was replayed");
        return;
    }
    if (m_nPhase == PHASE_OPENED)
    {
        // The key proved itself: this is the browser's channel now, and it is pushed changes.
        m_nPhase = PHASE_LIVE;
        m_remote.m_channels.ReplaceOlder(m_pEntry.get());
        m_bWatching = m_remote.m_watch.AddWatcher(m_hWake, &m_nReadsBefore);
    }
    Answer(plain);
}

void CWebChannel::Answer(const std::string& plain)
{
    CJsonValue request;
    if (!ParseJson(plain, &request) || request.GetType() != CJsonValue::JSON_OBJECT)
    {
        SendSealed(ChannelAnswer::Refused(400, "not a JSON object").Json("null"));
        return;
    }
    const CJsonValue* pOp = request.Find("op");
    if (pOp && pOp->Text() == "input")
    {
        const CJsonValue* pEvents = request.Find("events");
        TakeInput(pEvents ? *pEvents : CJsonValue());
        return;
    }
    // The page's numbers are JavaScript's: whole up to 2^53.
    long long nId = 0;
    const CJsonValue* pId = request.Find("id");
    std::string re =
        pId && pId->WholeNumber(0, 9007199254740991LL, &nId) ? std::to_string(nId) : "null";
    ChannelAnswer answer = m_remote.AnswerRequest(m_connection, request);
    if (m_connection.Worker().IsStopRequested())
    {
        m_nPhase = PHASE_ENDED;
        return;
    }
    SendSealed(answer.Json(re));
}

void CWebChannel::Woken()
{
    ChannelEnd nEnd = m_pEntry ? m_remote.m_channels.EndOf(m_pEntry.get()) : CHANNEL_GOES_ON;
    if (nEnd == CHANNEL_REMOVED && m_nPhase != PHASE_CLOSING)
    {
        if (m_nPhase == PHASE_LIVE)
            SendSealed("{\"push\":\"removed\"}");
        Close(1008, "removed");
        return;
    }
    if (nEnd == CHANNEL_REPLACED && m_nPhase != PHASE_CLOSING)
    {
        Close(1000, "replaced");
        return;
    }
    std::string json;
    while (m_nPhase == PHASE_LIVE && m_bWatching &&
           m_remote.m_watch.TakeChange(m_nReadsBefore, &m_nStateSeen, &json))
        SendSealed("{\"push\":\"state\",\"state\":" + json + "}");
}

bool CWebChannel::SendSealed(const std::string& json)
{
    std::string frame;
    if (m_pSealer->Seal(json, &frame) && SendFrame(WS_BINARY, frame))
        return true;
    m_nPhase = PHASE_ENDED;
    return false;
}

bool CWebChannel::SendFrame(WsOpcode nOpcode, const std::string& payload)
{
    return m_connection.SendAll(EncodeWebSocketFrame(nOpcode, payload));
}

void CWebChannel::Close(int nCode, const char* pszReason)
{
    bool bSent = m_connection.SendAll(EncodeWebSocketClose(nCode, pszReason));
    m_nPhase = bSent ? PHASE_CLOSING : PHASE_ENDED;
    m_nPhaseStartMs = GetTickCount();
}

void CWebChannel::Refuse(int nCode, const char* pszWhy)
{
    m_remote.m_core.LogEvent("Web remote: closed the channel from %s: %s\r\n",
                             m_connection.Peer().c_str(), pszWhy);
    Close(nCode, "");
}
