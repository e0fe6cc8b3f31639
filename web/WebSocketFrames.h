// WebSocket frames (RFC 6455) as the server reads and writes them: client frames are
// masked, server frames are not, no extension is taken. Everything a browser sends is
// hostile input: a message is bounded as its length arrives. Plain C++.
#pragma once
#include <stddef.h>
#include <string>
#include <vector>

enum WsOpcode
{
    WS_CONTINUATION = 0,
    WS_TEXT = 1,
    WS_BINARY = 2,
    WS_CLOSE = 8,
    WS_PING = 9,
    WS_PONG = 10
};

const size_t WS_MAX_MESSAGE = 1024 * 1024;
const size_t WS_MAX_CONTROL_PAYLOAD = 125;

// A whole text/binary message (fragments joined) or one control frame.
struct WsMessage
{
    WsOpcode nOpcode;
    std::string payload;
};

class CWebSocketReader
{
public:
    CWebSocketReader();
    // Takes bytes as they arrive (any split); appends whole messages and control frames
    // in order. Returns 0 while all is well, else the close code to send and close with:
    // 1002 protocol error (unmasked client frame, reserved bits, bad opcode, control
    // frame fragmented or over 125 bytes, a length not in its shortest form,
    // continuation without a start, a new message inside a fragmented one), 1007 text
    // not UTF-8, 1009 over WS_MAX_MESSAGE. After an error it takes nothing more and
    // answers the same code.
    int Feed(const char* pData, size_t nSize, std::vector<WsMessage>* pMessages);

private:
    int ReadHeader();
    int EndOfFrame(std::vector<WsMessage>* pMessages);

    int m_nError;
    std::string m_header;       // the frame header read so far (2 to 14 bytes)
    size_t m_nHeaderSize;       // its whole size once the second byte is known, else 2
    bool m_bInPayload;          // the header is read, the payload is coming
    bool m_bFin;                // this frame ends its message
    WsOpcode m_nFrameOpcode;    // this frame's opcode
    unsigned long long m_nLeft; // payload bytes of this frame still to come
    unsigned char m_mask[4];
    size_t m_nMaskAt;      // the mask byte for the next payload byte
    std::string m_control; // a control frame's payload
    bool m_bInMessage;     // a fragmented message has started and not ended
    WsOpcode m_nMessageOpcode;
    std::string m_message; // the data message's payload so far
};

// A server frame: FIN set, unmasked, 7/16/64-bit length as needed.
std::string EncodeWebSocketFrame(WsOpcode nOpcode, const std::string& payload);
// A close frame: the code and the reason (cut to fit 125 bytes); 1005 sends none.
std::string EncodeWebSocketClose(int nCode, const std::string& reason);
// Close frame payload -> code (1005 when empty); false when malformed (one byte, a code
// that may not be sent, a reason not UTF-8).
bool ParseWebSocketClose(const std::string& payload, int* pnCode);
// The whole text is UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(const std::string& text);
