#include "ChannelClient.h"
#include "ServerProcess.h"
#include "WebClient.h"
#include "web/ByteText.h"
#include "web/ChannelCrypto.h"
#include "web/CngCrypto.h"

std::string RandomHex(size_t nBytes)
{
    std::string bytes(nBytes, '\0');
    SystemRandom(&bytes[0], nBytes);
    return HexFromBytes(bytes);
}

std::string JsonEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' || c == '"' ? std::string("\\") + c : std::string(1, c);
    return escaped;
}

CChannelClient::CChannelClient() : m_nNextId(1)
{
    m_other.nOpcode = -1;
}

CChannelClient::~CChannelClient() {}

bool CChannelClient::Connect(const char* pszFrom)
{
    if (!m_link.ConnectTcp(pszFrom, WEB_PORT, WAIT_LIMIT_MS, pszFrom))
        return false;
    std::string host = std::string(pszFrom) + ":7655";
    std::string request = "GET /api/live HTTP/1.1\r\nHost: " + host + "\r\nOrigin: http://" + host +
                          "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                          "Sec-WebSocket-Version: 13\r\n\r\n";
    CWebResponse response;
    if (!m_link.Send(request) || !ReadWebResponse(m_link, &response))
        return false;
    // RFC 6455's own example of the key and its answer.
    return response.nStatus == 101 &&
           response.Header("Sec-WebSocket-Accept") == "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=";
}

bool CChannelClient::SendFrame(int nOpcode, const std::string& payload, bool bMasked)
{
    std::string frame(1, static_cast<char>(0x80 | nOpcode));
    char cMask = bMasked ? static_cast<char>(0x80) : 0;
    size_t nSize = payload.size();
    if (nSize < 126)
        frame += static_cast<char>(cMask | nSize);
    else
    {
        frame += static_cast<char>(cMask | (nSize < 65536 ? 126 : 127));
        for (int nShift = nSize < 65536 ? 8 : 56; nShift >= 0; nShift -= 8)
            frame += static_cast<char>((static_cast<unsigned long long>(nSize) >> nShift) & 0xFF);
    }
    std::string mask(4, '\0');
    SystemRandom(&mask[0], 4);
    if (bMasked)
        frame += mask;
    for (size_t i = 0; i < nSize; i++)
        frame += bMasked ? static_cast<char>(payload[i] ^ mask[i % 4]) : payload[i];
    m_lastSent = frame;
    return m_link.Send(frame);
}

// Pings are answered as a browser does, and not handed on.
ChannelFrame CChannelClient::ReadFrame(DWORD nTimeoutMs)
{
    ChannelFrame frame = ReadAnyFrame(nTimeoutMs);
    while (frame.nOpcode == 9 && SendFrame(10, frame.payload))
        frame = ReadAnyFrame(nTimeoutMs);
    return frame;
}

ChannelFrame CChannelClient::ReadAnyFrame(DWORD nTimeoutMs)
{
    ChannelFrame frame = {-1, ""};
    std::string head, length;
    if (!m_link.Receive(2, head, nTimeoutMs))
        return frame;
    unsigned long long nSize = static_cast<unsigned char>(head[1]) & 0x7F;
    size_t nLengthBytes = nSize == 126 ? 2 : nSize == 127 ? 8 : 0;
    if (nLengthBytes > 0)
    {
        if (!m_link.Receive(nLengthBytes, length, nTimeoutMs))
            return frame;
        nSize = 0;
        for (unsigned char c : length)
            nSize = nSize << 8 | c;
    }
    if (nSize > 0 && !m_link.Receive(static_cast<size_t>(nSize), frame.payload, nTimeoutMs))
        return frame;
    frame.nOpcode = head[0] & 0x0F;
    return frame;
}

bool CChannelClient::Open(const std::string& idHex, const std::string& K)
{
    std::string clientNonce(CHANNEL_NONCE_BYTES, '\0'), serverNonce;
    SystemRandom(&clientNonce[0], clientNonce.size());
    if (!SendFrame(1, "{\"id\":\"" + idHex + "\",\"nonce\":\"" + HexFromBytes(clientNonce) + "\"}"))
        return false;
    m_other = ReadFrame(WAIT_LIMIT_MS);
    size_t nAt = m_other.payload.find("{\"nonce\":\"");
    ChannelKeys keys;
    if (m_other.nOpcode != 1 || nAt != 0 ||
        !BytesFromHex(m_other.payload.substr(10, 2 * CHANNEL_NONCE_BYTES), &serverNonce) ||
        !DeriveChannelKeys(K, clientNonce, serverNonce, &keys))
        return false;
    m_pSealer.reset(new CChannelSealer(keys.up));
    m_pOpener.reset(new CChannelOpener(keys.down));
    return true;
}

bool CChannelClient::SendSealed(const std::string& json)
{
    std::string frame;
    return m_pSealer && m_pSealer->Seal(json, &frame) && SendFrame(2, frame);
}

bool CChannelClient::ReadSealed(DWORD nTimeoutMs, std::string* pPlain)
{
    ChannelFrame frame = ReadFrame(nTimeoutMs);
    if (frame.nOpcode == 2 && m_pOpener && m_pOpener->Open(frame.payload, pPlain))
        return true;
    m_other = frame;
    return false;
}

std::string CChannelClient::Request(const std::string& members)
{
    std::string re = "{\"re\":" + std::to_string(m_nNextId) + ",";
    if (!SendSealed("{\"id\":" + std::to_string(m_nNextId++) + (members.empty() ? "" : ",") +
                    members + "}"))
        return std::string();
    std::string plain;
    while (ReadSealed(WAIT_LIMIT_MS, &plain))
    {
        if (plain.compare(0, re.size(), re) == 0)
            return plain;
        m_pushes.push_back(plain);
    }
    return std::string();
}

std::string CChannelClient::NextPush(DWORD nTimeoutMs)
{
    std::string plain;
    if (m_pushes.empty() && ReadSealed(nTimeoutMs, &plain))
        m_pushes.push_back(plain);
    if (m_pushes.empty())
        return std::string();
    plain = m_pushes.front();
    m_pushes.erase(m_pushes.begin());
    return plain;
}

int CChannelClient::WaitForCloseCode(DWORD nTimeoutMs)
{
    std::string plain;
    while (ReadSealed(nTimeoutMs, &plain))
        m_pushes.push_back(plain);
    if (m_other.nOpcode != 8 || m_other.payload.size() < 2)
        return -1;
    return static_cast<unsigned char>(m_other.payload[0]) << 8 |
           static_cast<unsigned char>(m_other.payload[1]);
}

TestBrowser PairBrowser(const CServerProcess& server)
{
    PagePairing page = PairWithServer(server);
    TestBrowser browser = {page.idHex, page.key};
    return browser;
}
