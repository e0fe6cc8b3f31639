// libFuzzer target for the web remote's live channel: the WebSocket frame reader fed in
// splits chosen by the input, the close frames it gives, and the pairing key, hex and
// base64 readers. Built and run by tools/fuzz.sh; a broken invariant aborts.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "web/ByteText.h"
#include "web/PairingKey.h"
#include "web/WebSocketFrames.h"

#define FUZZ_CHECK(condition)                                                                      \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
        {                                                                                          \
            fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);                \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

// A client's frame of the message, masked, to read again.
static std::string ClientFrame(const WsMessage& message)
{
    std::string frame = EncodeWebSocketFrame(message.nOpcode, message.payload);
    size_t nHeader = frame.size() - message.payload.size();
    frame[1] = static_cast<char>(frame[1] | 0x80);
    const char mask[4] = {'\x5a', '\x01', '\xc3', '\x7e'};
    std::string masked = frame.substr(0, nHeader) + std::string(mask, 4);
    for (size_t i = 0; i < message.payload.size(); i++)
        masked += static_cast<char>(message.payload[i] ^ mask[i % 4]);
    return masked;
}

static void CheckMessage(const WsMessage& message)
{
    if (message.nOpcode >= WS_CLOSE)
        FUZZ_CHECK(message.payload.size() <= WS_MAX_CONTROL_PAYLOAD);
    else
        FUZZ_CHECK(message.nOpcode != WS_CONTINUATION && message.payload.size() <= WS_MAX_MESSAGE);
    if (message.nOpcode == WS_TEXT)
        FUZZ_CHECK(IsValidUtf8(message.payload));
    // Written as a frame and read back, it is the same message.
    std::string frame = ClientFrame(message);
    CWebSocketReader reader;
    std::vector<WsMessage> again;
    FUZZ_CHECK(reader.Feed(frame.data(), frame.size(), &again) == 0);
    FUZZ_CHECK(again.size() == 1 && again[0].nOpcode == message.nOpcode &&
               again[0].payload == message.payload);
    int nCode = 0;
    if (message.nOpcode == WS_CLOSE && ParseWebSocketClose(message.payload, &nCode))
    {
        std::string reason = message.payload.size() > 2 ? message.payload.substr(2) : "";
        std::string answer = EncodeWebSocketClose(nCode, reason);
        int nAnswered = 0;
        FUZZ_CHECK(ParseWebSocketClose(answer.substr(2), &nAnswered) && nAnswered == nCode);
    }
}

// Text readers: what they take, written again, reads the same.
static void CheckTextReaders(const std::string& text)
{
    std::string bytes;
    if (ParsePairingKey(text, &bytes))
    {
        std::string again;
        FUZZ_CHECK(bytes.size() == PAIRING_KEY_BYTES &&
                   ParsePairingKey(PairingKeyText(bytes), &again) && again == bytes);
    }
    if (Base64Decode(text, &bytes))
        FUZZ_CHECK(Base64Encode(bytes) == text);
    if (BytesFromHex(text, &bytes))
        FUZZ_CHECK(bytes.size() * 2 == text.size() && BytesFromHex(HexFromBytes(bytes), &bytes));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 2)
        return 0;
    size_t nFirst = pData[0] * 16u + 1;
    size_t nStep = pData[1] % 61u + 1;
    const char* pText = reinterpret_cast<const char*>(pData + 2);
    size_t nText = nSize - 2;
    CheckTextReaders(std::string(pText, nText < 64 ? nText : 64));

    CWebSocketReader reader;
    std::vector<WsMessage> messages;
    int nCode = 0;
    size_t nChunk = nFirst;
    for (size_t nOffset = 0; nOffset < nText && nCode == 0; nOffset += nChunk, nChunk = nStep)
    {
        if (nChunk > nText - nOffset)
            nChunk = nText - nOffset;
        nCode = reader.Feed(pText + nOffset, nChunk, &messages);
    }
    FUZZ_CHECK(nCode == 0 || nCode == 1002 || nCode == 1007 || nCode == 1009);
    // The split changes nothing: the same bytes at once give the same.
    CWebSocketReader whole;
    std::vector<WsMessage> wholeMessages;
    int nWholeCode = whole.Feed(pText, nText, &wholeMessages);
    FUZZ_CHECK(nWholeCode == nCode && wholeMessages.size() == messages.size());
    for (size_t i = 0; i < messages.size(); i++)
    {
        FUZZ_CHECK(wholeMessages[i].nOpcode == messages[i].nOpcode &&
                   wholeMessages[i].payload == messages[i].payload);
        CheckMessage(messages[i]);
    }
    return 0;
}
