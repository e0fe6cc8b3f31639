// Reading a browser's WebSocket frames and writing the server's; the opening request's checks.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/WebSocketFrames.h"
#include "web/WebSocketUpgrade.h"

// A client frame: the first byte as given, masked with a fixed key, the length in the
// form given (0: the shortest; 2 or 8: that many length bytes).
static std::string ClientFrame(int nFirst, const std::string& payload, size_t nLengthBytes = 0)
{
    if (nLengthBytes == 0)
        nLengthBytes = payload.size() < 126 ? 0 : payload.size() <= 0xFFFF ? 2 : 8;
    std::string frame(1, static_cast<char>(nFirst));
    frame += static_cast<char>(0x80 | (nLengthBytes == 0 ? payload.size() : nLengthBytes == 2 ? 126 : 127));
    for (size_t i = nLengthBytes; i > 0; i--)
        frame += static_cast<char>((static_cast<unsigned long long>(payload.size()) >> (8 * (i - 1))) & 0xFF);
    const char mask[4] = {'\x37', '\xfa', '\x21', '\x3d'};
    frame.append(mask, 4);
    for (size_t i = 0; i < payload.size(); i++)
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

TEST(WebSocketFrames, UnmasksEveryLengthFormInAnySplit)
{
    const size_t sizes[] = {0, 1, 125, 126, 65535, 65536};
    for (size_t nSize : sizes)
    {
        std::string payload(nSize, '\0');
        for (size_t i = 0; i < nSize; i++)
            payload[i] = static_cast<char>(i * 7 + 3);
        const std::string frames = ClientFrame(0x82, payload) + ClientFrame(0x81, "after");
        for (size_t nStep : {frames.size(), static_cast<size_t>(1), static_cast<size_t>(1000)})
        {
            std::vector<WsMessage> messages;
            ASSERT_EQ(0, FeedAll(frames, nStep, &messages)) << nSize << " by " << nStep;
            ASSERT_EQ(2u, messages.size());
            EXPECT_EQ(WS_BINARY, messages[0].nOpcode);
            EXPECT_TRUE(messages[0].payload == payload) << nSize << " by " << nStep;
            EXPECT_EQ(WS_TEXT, messages[1].nOpcode);
            EXPECT_EQ("after", messages[1].payload);
        }
        // The server's frame: the header in the shortest form, then the bytes unmasked.
        std::string frame = EncodeWebSocketFrame(WS_BINARY, payload);
        size_t nHeader = nSize < 126 ? 2 : nSize <= 0xFFFF ? 4 : 10;
        ASSERT_EQ(nHeader + nSize, frame.size());
        EXPECT_EQ('\x82', frame[0]);
        EXPECT_EQ(nSize < 126 ? static_cast<char>(nSize) : nSize <= 0xFFFF ? '\x7e' : '\x7f', frame[1]);
        EXPECT_TRUE(frame.compare(nHeader, nSize, payload) == 0) << nSize;
    }
    EXPECT_EQ(std::string("\x81\x7e\x01\x00", 4), EncodeWebSocketFrame(WS_TEXT, std::string(256, 'a')).substr(0, 4));
    EXPECT_EQ(std::string("\x82\x7f\0\0\0\0\0\x01\0\0", 10), EncodeWebSocketFrame(WS_BINARY, std::string(65536, 'a')).substr(0, 10));
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
        ASSERT_EQ(4u, messages.size()) << nStep;
        EXPECT_EQ(WS_PING, messages[0].nOpcode);
        EXPECT_EQ("ping", messages[0].payload);
        EXPECT_EQ(WS_PONG, messages[1].nOpcode);
        EXPECT_EQ(WS_TEXT, messages[2].nOpcode);
        EXPECT_EQ("Hello w\xc3\xb6rld", messages[2].payload);
        EXPECT_EQ(WS_CLOSE, messages[3].nOpcode);
    }
}

TEST(WebSocketFrames, RefusesWhatBreaksTheProtocolWithItsCode)
{
    std::string unmasked = ClientFrame(0x81, "hi");
    unmasked[1] = static_cast<char>(unmasked[1] & 0x7F);
    std::string topBit = ClientFrame(0x82, std::string(70000, 'a'));
    topBit[2] = '\x80';
    const struct
    {
        const char* pszWhat;
        std::string bytes;
        int nCode;
        size_t nMessages; // taken before the fault
    } cases[] = {
        {"unmasked", ClientFrame(0x89, "") + unmasked, 1002, 1},
        {"reserved bit", ClientFrame(0xC1, "hi"), 1002, 0},
        {"opcode 3", ClientFrame(0x83, "hi"), 1002, 0},
        {"opcode 11", ClientFrame(0x8B, ""), 1002, 0},
        {"fragmented ping", ClientFrame(0x09, "p"), 1002, 0},
        {"ping of 126", ClientFrame(0x89, std::string(126, 'p')), 1002, 0},
        {"lone continuation", ClientFrame(0x80, "x"), 1002, 0},
        {"text inside a message", ClientFrame(0x01, "a") + ClientFrame(0x81, "b"), 1002, 0},
        {"16-bit length under 126", ClientFrame(0x82, "short", 2), 1002, 0},
        {"64-bit length under 65536", ClientFrame(0x82, "short", 8), 1002, 0},
        {"64-bit length's top bit", topBit, 1002, 0},
        {"overlong", ClientFrame(0x81, "\xc0\x80"), 1007, 0},
        {"surrogate", ClientFrame(0x81, "a\xed\xa0\x80"), 1007, 0},
        {"past U+10FFFF", ClientFrame(0x81, "\xf4\x90\x80\x80"), 1007, 0},
        {"cut short", ClientFrame(0x01, "ok") + ClientFrame(0x80, "\xe2\x82"), 1007, 0},
        {"over the limit in pieces",
         ClientFrame(0x02, std::string(WS_MAX_MESSAGE, 'a')) + ClientFrame(0x80, "a"), 1009, 0},
    };
    for (const auto& c : cases)
    {
        std::vector<WsMessage> messages;
        EXPECT_EQ(c.nCode, FeedAll(c.bytes, c.bytes.size(), &messages)) << c.pszWhat;
        EXPECT_EQ(c.nMessages, messages.size()) << c.pszWhat;
    }
    // The limit holds at the length: no payload byte need arrive, nothing more is taken.
    CWebSocketReader reader;
    std::vector<WsMessage> messages;
    std::string header = ClientFrame(0x82, std::string(WS_MAX_MESSAGE + 1, 'a')).substr(0, 14);
    EXPECT_EQ(1009, reader.Feed(header.data(), header.size(), &messages));
    std::string ping = ClientFrame(0x89, "");
    EXPECT_EQ(1009, reader.Feed(ping.data(), ping.size(), &messages));
    EXPECT_TRUE(messages.empty());
    std::string whole = ClientFrame(0x02, std::string(WS_MAX_MESSAGE - 1, 'a')) + ClientFrame(0x80, "b");
    EXPECT_EQ(0, FeedAll(whole, 4096, &messages));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(WS_MAX_MESSAGE, messages[0].payload.size());
}

TEST(WebSocketFrames, CloseFramesCarryAValidCodeAndReason)
{
    const struct
    {
        std::string payload;
        int nCode; // 0: malformed
    } cases[] = {
        {"", 1005},         {"\x03\xe8", 1000},       {"\x03\xf3going", 1011}, {"\x0b\xb8", 3000},
        {"\x03", 0},        {std::string("\x03\xe7", 2), 0}, {"\x03\xec", 0},   {"\x03\xed", 0},
        {"\x03\xee", 0},    {"\x13\x88", 0},          {"\x03\xe8\xff", 0},
    };
    for (const auto& c : cases)
    {
        int nCode = -1;
        EXPECT_EQ(c.nCode != 0, ParseWebSocketClose(c.payload, &nCode)) << c.nCode;
        if (c.nCode != 0)
            EXPECT_EQ(c.nCode, nCode);
    }
    EXPECT_EQ(std::string("\x88\x05\x03\xf0" "bye", 7), EncodeWebSocketClose(1008, "bye"));
    EXPECT_EQ(std::string("\x88\x00", 2), EncodeWebSocketClose(1005, "ignored"));
    // A long reason is cut to fit, not inside a character.
    std::string reason;
    for (int i = 0; i < 100; i++)
        reason += "\xc3\xa9";
    std::string frame = EncodeWebSocketClose(1000, reason);
    ASSERT_EQ(126u, frame.size());
    EXPECT_EQ('\x7c', frame[1]);
    int nCode = 0;
    EXPECT_TRUE(ParseWebSocketClose(frame.substr(2), &nCode));
}

TEST(WebSocketUpgrade, TakesOnlyAWholeVersion13Request)
{
    typedef std::vector<std::pair<std::string, std::string>> Headers;
    const Headers good = {{"Host", "pc:7655"},
                          {"upgrade", "WebSocket"},
                          {"Connection", "keep-alive"},
                          {"CONNECTION", "x,Upgrade "},
                          {"Sec-WebSocket-Key", "dGhlIHNhbXBsZSBub25jZQ=="},
                          {"Sec-WebSocket-Version", "13"}};
    const struct
    {
        const char* pszWhat;
        size_t nDrop; // the header left out, or good.size()
        std::pair<std::string, std::string> added;
        bool bUpgrade;
    } cases[] = {
        {"whole", good.size(), {}, true},
        {"no Upgrade", 1, {}, false},
        {"no Connection upgrade", 3, {}, false},
        {"upgraded", 3, {"Connection", "upgraded"}, false},
        {"no key", 4, {}, false},
        {"key of 15 bytes", 4, {"Sec-WebSocket-Key", "dGhlIHNhbXBsZSBub25jZQ="}, false},
        {"two keys", good.size(), {"Sec-WebSocket-Key", "dGhlIHNhbXBsZSBub25jZQ=="}, false},
        {"version 8", 5, {"Sec-WebSocket-Version", "8"}, false},
    };
    for (const auto& c : cases)
    {
        CHttpRequest request;
        request.method = "GET";
        for (size_t i = 0; i < good.size(); i++)
        {
            if (i != c.nDrop)
                request.headers.push_back(good[i]);
        }
        if (!c.added.first.empty())
            request.headers.push_back(c.added);
        std::string key;
        EXPECT_EQ(c.bUpgrade, IsWebSocketUpgrade(request, &key)) << c.pszWhat;
        EXPECT_EQ(c.bUpgrade ? "dGhlIHNhbXBsZSBub25jZQ==" : "", key) << c.pszWhat;
        request.nMinorVersion = 0;
        EXPECT_FALSE(IsWebSocketUpgrade(request, &key)) << c.pszWhat;
        request.nMinorVersion = 1;
        request.method = "POST";
        EXPECT_FALSE(IsWebSocketUpgrade(request, &key)) << c.pszWhat;
    }
    EXPECT_EQ("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
              "Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n\r\n",
              WebSocketUpgradeResponse("s3pPLMBiTxaQ9kYGzzhZRbK+xOo="));
}
