// Reading a browser's WebSocket frames and writing the server's; the opening request's checks.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/ByteText.h"
#include "web/HttpRequest.h"
#include "web/WebSocketFrames.h"
#include "web/WebSocketUpgrade.h"

// A client frame, masked, its length in the shortest form or in nLengthBytes (2 or 8).
static std::string ClientFrame(int nFirst, const std::string& payload, size_t nLengthBytes = 0)
{
    size_t nSize = payload.size();
    if (nLengthBytes == 0)
        nLengthBytes = nSize < 126 ? 0 : nSize <= 0xFFFF ? 2 : 8;
    std::string frame(1, static_cast<char>(nFirst));
    frame += static_cast<char>(0x80 | (nLengthBytes == 0 ? nSize : nLengthBytes == 2 ? 126 : 127));
    for (size_t i = nLengthBytes; i > 0; i--)
        frame +=
            static_cast<char>((static_cast<unsigned long long>(nSize) >> (8 * (i - 1))) & 0xFF);
    const char mask[4] = {'\x37', '\xfa', '\x21', '\x3d'};
    frame.append(mask, 4);
    for (size_t i = 0; i < nSize; i++)
        frame += static_cast<char>(payload[i] ^ mask[i % 4]);
    return frame;
}

static int FeedAll(const std::string& bytes, size_t nStep, std::vector<WsMessage>* pMessages)
{
    CWebSocketReader reader;
    int nCode = 0;
    for (size_t i = 0; i < bytes.size() && nCode == 0; i += nStep)
        nCode = reader.Feed(bytes.data() + i, std::min(nStep, bytes.size() - i), pMessages);
    return nCode;
}

// The messages as "opcode payload|..." for comparing whole sequences.
static std::string Listed(const std::vector<WsMessage>& messages)
{
    std::string text;
    for (size_t i = 0; i < messages.size(); i++)
        text += std::to_string(messages[i].nOpcode) + " " + messages[i].payload + "|";
    return text;
}

TEST(WebSocketFrames, EveryLengthFormInAnySplit)
{
    const size_t sizes[] = {0, 125, 126, 65535, 65536}; // and the server frames' headers:
    const char* const headers[] = {"8200", "827d", "827e007e", "827effff", "827f0000000000010000"};
    for (size_t n = 0; n < 5; n++)
    {
        std::string payload(sizes[n], '\0');
        for (size_t i = 0; i < sizes[n]; i++)
            payload[i] = static_cast<char>(i * 7 + 3);
        const std::string frames = ClientFrame(0x82, payload) + ClientFrame(0x81, "after");
        for (size_t nStep : {frames.size(), static_cast<size_t>(1), static_cast<size_t>(1000)})
        {
            std::vector<WsMessage> messages;
            ASSERT_EQ(0, FeedAll(frames, nStep, &messages)) << sizes[n] << " by " << nStep;
            EXPECT_TRUE(Listed(messages) == "2 " + payload + "|1 after|")
                << sizes[n] << " by " << nStep;
        }
        EXPECT_TRUE(std::string(headers[n]) + HexFromBytes(payload) ==
                    HexFromBytes(EncodeWebSocketFrame(WS_BINARY, payload)))
            << sizes[n];
    }
}

TEST(WebSocketFrames, JoinsFragmentsAroundControlFrames)
{
    // "wörld" split inside its "ö": only the whole message need be UTF-8.
    const std::string bytes = ClientFrame(0x01, "Hel") + ClientFrame(0x89, "ping") +
                              ClientFrame(0x00, "lo w\xc3") + ClientFrame(0x8a, "") +
                              ClientFrame(0x80, "\xb6rld") + ClientFrame(0x88, "\x03\xe8");
    for (size_t nStep = 1; nStep <= bytes.size(); nStep += 5)
    {
        std::vector<WsMessage> messages;
        ASSERT_EQ(0, FeedAll(bytes, nStep, &messages)) << nStep;
        EXPECT_EQ("9 ping|10 |1 Hello w\xc3\xb6rld|8 \x03\xe8|", Listed(messages)) << nStep;
    }
}

TEST(WebSocketFrames, RefusesWhatBreaksTheProtocolWithItsCode)
{
    std::string topBit = ClientFrame(0x82, std::string(70000, 'a'));
    topBit[2] = '\x80';
    // Unmasked (after a ping), a reserved bit, opcode 3, a fragmented ping, a ping of 126, a
    // lone continuation, a text inside a message, a length not in its shortest form or with
    // its top bit; not UTF-8 (JsonTextTest has the rest of the decoder's cases) whole or cut
    // short; over the limit.
    const std::pair<std::string, int> cases[] = {
        {ClientFrame(0x89, "") + "\x81\x02hi", 1002},
        {ClientFrame(0xC1, "hi"), 1002},
        {ClientFrame(0x83, "hi"), 1002},
        {ClientFrame(0x09, "p"), 1002},
        {ClientFrame(0x89, std::string(126, 'p')), 1002},
        {ClientFrame(0x80, "x"), 1002},
        {ClientFrame(0x01, "a") + ClientFrame(0x81, "b"), 1002},
        {ClientFrame(0x82, "short", 2), 1002},
        {topBit, 1002},
        {ClientFrame(0x81, "\xc0\x80"), 1007},
        {ClientFrame(0x01, "ok") + ClientFrame(0x80, "\xe2\x82"), 1007},
        {ClientFrame(0x02, std::string(WS_MAX_MESSAGE, 'a')) + ClientFrame(0x80, "a"), 1009}};
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::vector<WsMessage> messages;
        EXPECT_EQ(cases[i].second, FeedAll(cases[i].first, cases[i].first.size(), &messages)) << i;
        EXPECT_EQ(i == 0 ? 1u : 0u, messages.size()) << i;
    }
    // The limit holds at the length: no payload byte need arrive, nothing more is taken.
    CWebSocketReader reader;
    std::vector<WsMessage> messages;
    std::string bytes = ClientFrame(0x82, std::string(WS_MAX_MESSAGE + 1, 'a')).substr(0, 14);
    EXPECT_EQ(1009, reader.Feed(bytes.data(), bytes.size(), &messages));
    EXPECT_EQ(1009, reader.Feed("\x89\x80mask", 6, &messages)); // a ping
    EXPECT_TRUE(messages.empty());
    bytes = ClientFrame(0x02, std::string(WS_MAX_MESSAGE - 1, 'a')) + ClientFrame(0x80, "b");
    EXPECT_EQ(0, FeedAll(bytes, 4096, &messages));
    EXPECT_TRUE(messages.size() == 1 && messages[0].payload.size() == WS_MAX_MESSAGE);
}

TEST(WebSocketFrames, CloseFramesCarryAValidCodeAndReason)
{
    // The payload and its code; 0: malformed (1005 and 5000 may not be sent).
    const std::pair<std::string, int> cases[] = {
        {"", 1005},      {"\x03\xe8", 1000}, {"\x0b\xb8ok", 3000}, {"\x03", 0},
        {"\x03\xed", 0}, {"\x13\x88", 0},    {"\x03\xe8\xff", 0}};
    for (const auto& c : cases)
    {
        int nCode = -1;
        EXPECT_EQ(c.second != 0, ParseWebSocketClose(c.first, &nCode)) << c.second;
        EXPECT_EQ(c.second != 0 ? c.second : -1, nCode);
    }
    EXPECT_EQ("880503f0627965", HexFromBytes(EncodeWebSocketClose(1008, "bye")));
    // A long reason is cut to fit, not inside a character.
    std::string reason;
    for (int i = 0; i < 100; i++)
        reason += "\xc3\xa9";
    std::string frame = EncodeWebSocketClose(1000, reason);
    ASSERT_EQ(126u, frame.size());
    int nCode = 0;
    EXPECT_TRUE(ParseWebSocketClose(frame.substr(2), &nCode));
}

TEST(WebSocketUpgrade, TakesOnlyAWholeVersion13Request)
{
    const std::string good = "GET /api/live HTTP/1.1\r\nHost: pc\r\nupgrade: WebSocket\r\n"
                             "Connection: keep-alive\r\nCONNECTION: x,Upgrade \r\n"
                             "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                             "Sec-WebSocket-Version: 13\r\n\r\n";
    // What is changed in the good request ("ZR==" has bits past the 16 bytes); only the
    // first, unchanged, opens a WebSocket.
    const std::pair<const char*, const char*> cases[] = {
        {"GET", "GET"},       {"HTTP/1.1", "HTTP/1.0"},
        {"WebSocket", "h2c"}, {"x,Upgrade", "upgraded"},
        {": 13", ": 8"},      {"ZQ==", "Z==="},
        {"ZQ==", "ZR=="},     {"13\r\n", "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"}};
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::string text = good;
        text.replace(text.find(cases[i].first), strlen(cases[i].first), cases[i].second);
        CHttpRequestParser parser;
        size_t nUsed = 0;
        ASSERT_EQ(HTTP_PARSE_DONE, parser.Feed(text.data(), text.size(), &nUsed)) << i;
        std::string key;
        EXPECT_EQ(i == 0, IsWebSocketUpgrade(parser.Request(), &key)) << i;
        EXPECT_EQ(i == 0 ? "dGhlIHNhbXBsZSBub25jZQ==" : "", key) << i;
    }
}
