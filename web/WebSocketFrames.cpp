// Reading client WebSocket frames byte by byte, and writing the server's.
#include "WebSocketFrames.h"
#include "JsonText.h"

static const int CLOSE_PROTOCOL_ERROR = 1002;
static const int CLOSE_NOT_UTF8 = 1007;
static const int CLOSE_TOO_BIG = 1009;
static const int CLOSE_NO_CODE = 1005;

static bool IsControl(int nOpcode)
{
    return nOpcode >= WS_CLOSE;
}

CWebSocketReader::CWebSocketReader()
    : m_nError(0), m_nHeaderSize(2), m_bInPayload(false), m_bFin(false),
      m_nFrameOpcode(WS_CONTINUATION), m_nLeft(0), m_nMaskAt(0), m_bInMessage(false),
      m_nMessageOpcode(WS_CONTINUATION)
{
    m_mask[0] = m_mask[1] = m_mask[2] = m_mask[3] = 0;
}

int CWebSocketReader::Feed(const char* pData, size_t nSize, std::vector<WsMessage>* pMessages)
{
    size_t nAt = 0;
    while (m_nError == 0 && nAt < nSize)
    {
        if (!m_bInPayload)
        {
            m_header += pData[nAt++];
            if (m_header.size() < m_nHeaderSize)
                continue;
            m_nError = ReadHeader();
            if (m_nError == 0 && m_bInPayload && m_nLeft == 0)
                m_nError = EndOfFrame(pMessages);
            continue;
        }
        size_t nTake = nSize - nAt;
        if (nTake > m_nLeft)
            nTake = static_cast<size_t>(m_nLeft);
        std::string& target = IsControl(m_nFrameOpcode) ? m_control : m_message;
        size_t nFrom = target.size();
        target.append(pData + nAt, nTake);
        for (size_t i = nFrom; i < target.size(); i++)
        {
            target[i] = static_cast<char>(target[i] ^ m_mask[m_nMaskAt]);
            m_nMaskAt = (m_nMaskAt + 1) & 3;
        }
        nAt += nTake;
        m_nLeft -= nTake;
        if (m_nLeft == 0)
            m_nError = EndOfFrame(pMessages);
    }
    return m_nError;
}

// Called at each header byte from the second on: learns the header's size from the
// second byte, checks the frame once the header is whole.
int CWebSocketReader::ReadHeader()
{
    unsigned char nFirst = static_cast<unsigned char>(m_header[0]);
    unsigned char nSecond = static_cast<unsigned char>(m_header[1]);
    if (m_header.size() == 2)
    {
        if (!(nSecond & 0x80))
            return CLOSE_PROTOCOL_ERROR; // a client's frames are masked
        unsigned nLength7 = nSecond & 0x7F;
        m_nHeaderSize = 2 + (nLength7 == 126 ? 2 : nLength7 == 127 ? 8 : 0) + 4;
        // Refuse what is wrong as early as the bytes show it.
        if (nFirst & 0x70)
            return CLOSE_PROTOCOL_ERROR; // no extension gives the reserved bits a meaning
        int nOpcode = nFirst & 0x0F;
        if ((nOpcode > WS_BINARY && nOpcode < WS_CLOSE) || nOpcode > WS_PONG)
            return CLOSE_PROTOCOL_ERROR;
        m_bFin = (nFirst & 0x80) != 0;
        m_nFrameOpcode = static_cast<WsOpcode>(nOpcode);
        if (IsControl(nOpcode) && (!m_bFin || nLength7 > WS_MAX_CONTROL_PAYLOAD))
            return CLOSE_PROTOCOL_ERROR;
        if (nOpcode == WS_CONTINUATION && !m_bInMessage)
            return CLOSE_PROTOCOL_ERROR;
        if ((nOpcode == WS_TEXT || nOpcode == WS_BINARY) && m_bInMessage)
            return CLOSE_PROTOCOL_ERROR;
        return 0;
    }
    if (m_header.size() < m_nHeaderSize)
        return 0;
    unsigned long long nLength = nSecond & 0x7F;
    size_t nLengthBytes = m_nHeaderSize - 6;
    if (nLengthBytes > 0)
    {
        nLength = 0;
        for (size_t i = 0; i < nLengthBytes; i++)
            nLength = (nLength << 8) | static_cast<unsigned char>(m_header[2 + i]);
        // The shortest form only; the 64-bit form has its top bit clear.
        if (nLengthBytes == 2 && nLength < 126)
            return CLOSE_PROTOCOL_ERROR;
        if (nLengthBytes == 8 && (nLength <= 0xFFFF || (nLength >> 63) != 0))
            return CLOSE_PROTOCOL_ERROR;
    }
    if (!IsControl(m_nFrameOpcode) && nLength > WS_MAX_MESSAGE - m_message.size())
        return CLOSE_TOO_BIG;
    for (size_t i = 0; i < 4; i++)
        m_mask[i] = static_cast<unsigned char>(m_header[m_nHeaderSize - 4 + i]);
    m_nMaskAt = 0;
    m_nLeft = nLength;
    m_bInPayload = true;
    if (m_nFrameOpcode == WS_TEXT || m_nFrameOpcode == WS_BINARY)
    {
        m_bInMessage = true;
        m_nMessageOpcode = m_nFrameOpcode;
    }
    return 0;
}

int CWebSocketReader::EndOfFrame(std::vector<WsMessage>* pMessages)
{
    m_header.clear();
    m_nHeaderSize = 2;
    m_bInPayload = false;
    WsMessage message;
    if (IsControl(m_nFrameOpcode))
    {
        message.nOpcode = m_nFrameOpcode;
        message.payload.swap(m_control);
        pMessages->push_back(message);
        return 0;
    }
    if (!m_bFin)
        return 0;
    m_bInMessage = false;
    if (m_nMessageOpcode == WS_TEXT && !IsValidUtf8(m_message))
        return CLOSE_NOT_UTF8;
    message.nOpcode = m_nMessageOpcode;
    message.payload.swap(m_message);
    pMessages->push_back(message);
    return 0;
}

std::string EncodeWebSocketFrame(WsOpcode nOpcode, const std::string& payload)
{
    std::string frame;
    frame += static_cast<char>(0x80 | nOpcode);
    unsigned long long nSize = payload.size();
    if (nSize < 126)
        frame += static_cast<char>(nSize);
    else if (nSize <= 0xFFFF)
    {
        frame += static_cast<char>(126);
        frame += static_cast<char>((nSize >> 8) & 0xFF);
        frame += static_cast<char>(nSize & 0xFF);
    }
    else
    {
        frame += static_cast<char>(127);
        for (int nShift = 56; nShift >= 0; nShift -= 8)
            frame += static_cast<char>((nSize >> nShift) & 0xFF);
    }
    return frame + payload;
}

std::string EncodeWebSocketClose(int nCode, const std::string& reason)
{
    std::string payload;
    if (nCode != CLOSE_NO_CODE)
    {
        payload += static_cast<char>((nCode >> 8) & 0xFF);
        payload += static_cast<char>(nCode & 0xFF);
        // Cut on a character's start, so the reason stays UTF-8.
        size_t nKeep = reason.size();
        if (nKeep > WS_MAX_CONTROL_PAYLOAD - 2)
        {
            nKeep = WS_MAX_CONTROL_PAYLOAD - 2;
            while (nKeep > 0 && (static_cast<unsigned char>(reason[nKeep]) & 0xC0) == 0x80)
                nKeep--;
        }
        payload.append(reason, 0, nKeep);
    }
    return EncodeWebSocketFrame(WS_CLOSE, payload);
}

// The codes an endpoint may put in a close frame (RFC 6455 7.4 and the IANA registry).
static bool IsSendableCloseCode(int nCode)
{
    if (nCode >= 3000 && nCode <= 4999)
        return true;
    return (nCode >= 1000 && nCode <= 1003) || (nCode >= 1007 && nCode <= 1011);
}

bool ParseWebSocketClose(const std::string& payload, int* pnCode)
{
    if (payload.empty())
    {
        *pnCode = CLOSE_NO_CODE;
        return true;
    }
    if (payload.size() < 2)
        return false;
    int nCode =
        static_cast<unsigned char>(payload[0]) * 256 + static_cast<unsigned char>(payload[1]);
    if (!IsSendableCloseCode(nCode) || !IsValidUtf8(payload.substr(2)))
        return false;
    *pnCode = nCode;
    return true;
}

bool IsValidUtf8(const std::string& text)
{
    const unsigned char* pText = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();)
    {
        unsigned long nCodePoint = 0;
        bool bValid = false;
        i += DecodeUtf8(pText + i, text.size() - i, &nCodePoint, &bValid);
        if (!bValid)
            return false;
    }
    return true;
}
