#include <gtest/gtest.h>
#include <string>
#include "web/HttpRequest.h"

namespace
{
const char* const GET_HEAD = "GET / HTTP/1.1\r\nHost: pc\r\n";
const HttpParseResult DONE = HTTP_PARSE_DONE, MORE = HTTP_PARSE_INCOMPLETE,
                      BAD = HTTP_PARSE_BAD_REQUEST, TOO_LARGE_431 = HTTP_PARSE_HEADERS_TOO_LARGE,
                      TOO_LARGE_413 = HTTP_PARSE_BODY_TOO_LARGE;

struct RequestCase
{
    std::string text;
    HttpParseResult result;
    size_t nUsed;    // bytes of the request when DONE with more bytes after it, else 0
    bool bKeepAlive; // when DONE
};

// A header block of exactly nBytes, line ends included, padded in one header.
std::string HeadOfSize(size_t nBytes)
{
    std::string head = std::string(GET_HEAD) + "X-Pad: ";
    return head + std::string(nBytes - head.size() - 4, 'p') + "\r\n\r\n";
}

std::string HeadWithLines(size_t nLines)
{
    std::string head = GET_HEAD; // Host is the first header line
    for (size_t i = 1; i < nLines; i++)
        head += "X-Line: " + std::to_string(i) + "\r\n";
    return head + "\r\n";
}

struct Outcome
{
    HttpParseResult result;
    size_t nUsed;
    CHttpRequest request;
};

// Feeds the first nSplit bytes, then the rest nStep bytes at a time, until the parser
// stops asking; an INCOMPLETE answer must have taken every byte it was given, and any
// other answer stays, taking nothing more, until Reset.
Outcome FeedInParts(const std::string& text, size_t nSplit, size_t nStep)
{
    CHttpRequestParser parser;
    Outcome outcome = {HTTP_PARSE_INCOMPLETE, 0, CHttpRequest()};
    size_t nOffset = 0;
    size_t nChunk = nSplit;
    while (outcome.result == HTTP_PARSE_INCOMPLETE && nOffset < text.size())
    {
        if (nChunk > text.size() - nOffset)
            nChunk = text.size() - nOffset;
        size_t nUsed = nChunk + 1;
        outcome.result = parser.Feed(text.data() + nOffset, nChunk, &nUsed);
        EXPECT_LE(nUsed, nChunk);
        if (outcome.result == HTTP_PARSE_INCOMPLETE)
            EXPECT_EQ(nChunk, nUsed);
        nOffset += nUsed;
        nChunk = nStep;
    }
    size_t nMore = 1;
    if (outcome.result != HTTP_PARSE_INCOMPLETE)
        EXPECT_TRUE(parser.Feed("G", 1, &nMore) == outcome.result && nMore == 0);
    outcome.nUsed = nOffset;
    outcome.request = parser.Request();
    return outcome;
}

bool SameRequest(const CHttpRequest& a, const CHttpRequest& b)
{
    return a.method == b.method && a.target == b.target && a.path == b.path && a.query == b.query &&
           a.headers == b.headers && a.body == b.body;
}
} // namespace

// Each request whole, then split once at every point, then one byte at a time.
TEST(HttpRequest, RequestTableAtEverySplit)
{
    auto Get = [](const std::string& lines) { return GET_HEAD + lines; };
    const std::string post = "POST /api/pair HTTP/1.1\r\nHost: pc\r\nContent-Length: 11\r\n\r\n"
                             "code=123456";
    const RequestCase cases[] = {
        {Get("\r\n"), DONE, 0, true},
        {"GET / HTTP/1.1\nHost: pc\n\n", DONE, 0, true}, // bare LF line ends
        {"GET /x HTTP/1.0\r\n\r\n", DONE, 0, false},     // 1.0 needs no Host
        {"GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", DONE, 0, true},
        {"GET / HTTP/1.0\r\nConnection: keep-alive, close\r\n\r\n", DONE, 0, false},
        {Get("Connection: Upgrade, Close\r\n\r\n"), DONE, 0, false},
        {"\r\n" + Get("\r\n"), DONE, 0, true},
        {"OPTIONS * HTTP/1.1\r\nHost: pc\r\n\r\n", DONE, 0, true},
        {post + "GET / HTTP/1.1\r\n", DONE, post.size(), true}, // pipelined
        {Get("Content-Length: 2\r\ncontent-length: 02\r\n\r\nab"), DONE, 0, true},
        {Get("Content-Length: 4096\r\n\r\n") + std::string(4096, 'b'), DONE, 0, true},
        {HeadOfSize(HTTP_MAX_HEADER_BYTES), DONE, 0, true},
        {HeadWithLines(HTTP_MAX_HEADER_LINES), DONE, 0, true},
        // Incomplete: no blank line yet, or a body short of its length.
        {GET_HEAD, MORE},
        {Get("Content-Length: 5\r\n\r\nabcd"), MORE},
        // Request lines.
        {"GET  / HTTP/1.1\r\n", BAD},
        {"GET /\r\n", BAD},
        {"GET / HTTP/2.0\r\n", BAD},
        {" GET / HTTP/1.1\r\n", BAD},
        {"GET http://pc/ HTTP/1.1\r\n", BAD},
        {"GET * HTTP/1.1\r\n", BAD},
        {"GET /caf\xC3\xA9 HTTP/1.1\r\n", BAD},
        {"GET /%zz HTTP/1.1\r\n", BAD},
        {"GET /a%00 HTTP/1.1\r\n", BAD},
        {"G(T", BAD},              // refused before the line ends
        {"\x16\x03\x01\x02", BAD}, // a TLS hello
        {"GET / HTTP/1.1\rX", BAD},
        // Header lines.
        {Get(std::string("X: a\0b\r\n", 8)), BAD},
        {Get("X: a\r\n folded\r\n"), BAD},
        {Get("NoColon\r\n"), BAD},
        {Get("X : a\r\n"), BAD},
        {Get("Transfer-Encoding: chunked\r\n"), BAD},
        {"GET / HTTP/1.1\r\n\r\n", BAD}, // 1.1 without Host
        {Get("Host: other\r\n\r\n"), BAD},
        // Lengths.
        {Get("Content-Length: 1\r\nContent-Length: 2\r\n"), BAD},
        {Get("Content-Length: -1\r\n"), BAD},
        {Get("Content-Length:\r\n"), BAD},
        {Get("Content-Length: 18446744073709551616\r\n"), BAD},
        {Get("Content-Length: 18446744073709551615\r\n"), TOO_LARGE_413},
        {Get("Content-Length: 4097\r\n"), TOO_LARGE_413},
        // Sizes.
        {HeadOfSize(HTTP_MAX_HEADER_BYTES + 1), TOO_LARGE_431},
        {HeadWithLines(HTTP_MAX_HEADER_LINES + 1), TOO_LARGE_431},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        const std::string& text = cases[i].text;
        Outcome whole = FeedInParts(text, text.size(), 0);
        EXPECT_EQ(cases[i].result, whole.result) << "case " << i << ": " << text;
        if (cases[i].result == DONE)
        {
            EXPECT_EQ(cases[i].nUsed ? cases[i].nUsed : text.size(), whole.nUsed) << i;
            EXPECT_EQ(cases[i].bKeepAlive, whole.request.KeepAlive()) << i;
        }
        for (size_t nSplit = 0; nSplit <= text.size() + 1; nSplit++)
        {
            bool bBytes = nSplit > text.size();
            Outcome split = FeedInParts(text, bBytes ? 1 : nSplit, bBytes ? 1 : text.size());
            ASSERT_EQ(whole.result, split.result) << "case " << i << " split " << nSplit;
            ASSERT_EQ(whole.nUsed, split.nUsed) << "case " << i << " split " << nSplit;
            ASSERT_TRUE(SameRequest(whole.request, split.request)) << i << " at " << nSplit;
        }
    }
}

TEST(HttpRequest, PartsOfAWholeRequest)
{
    Outcome outcome = FeedInParts("POST /api/li%73t?path=C%3A%5Cx&a=b HTTP/1.0\r\n"
                                  "content-TYPE:\t text/plain \t\r\nContent-Length: 3\r\n\r\nabc",
                                  1000, 0);
    ASSERT_EQ(HTTP_PARSE_DONE, outcome.result);
    const CHttpRequest& request = outcome.request;
    EXPECT_EQ("POST", request.method);
    EXPECT_EQ("/api/li%73t?path=C%3A%5Cx&a=b", request.target);
    EXPECT_EQ("/api/list", request.path);
    EXPECT_EQ("path=C%3A%5Cx&a=b", request.query);
    EXPECT_EQ(0, request.nMinorVersion);
    ASSERT_NE(static_cast<const std::string*>(NULL), request.FindHeader("Content-Type"));
    EXPECT_EQ("text/plain", *request.FindHeader("Content-Type"));
    EXPECT_EQ("content-TYPE", request.headers[0].first);
    EXPECT_EQ(NULL, request.FindHeader("Content"));
    EXPECT_EQ("abc", request.body);
}
