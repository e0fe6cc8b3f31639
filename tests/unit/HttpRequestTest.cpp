#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/HttpRequest.h"

namespace
{
const char* const GET_HEAD = "GET / HTTP/1.1\r\nHost: pc\r\n";

struct RequestCase
{
    std::string text;
    HttpParseResult result;
    size_t nUsed; // bytes of the request when DONE with more bytes after it, else 0
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

std::vector<RequestCase> RequestCases()
{
    const std::string post = "POST /api/pair HTTP/1.1\r\nHost: pc\r\nContent-Length: 11\r\n\r\n"
                             "code=123456";
    const RequestCase cases[] = {
        {std::string(GET_HEAD) + "\r\n", HTTP_PARSE_DONE, 0},
        {"GET / HTTP/1.1\nHost: pc\n\n", HTTP_PARSE_DONE, 0}, // bare LF line ends
        {"GET /x HTTP/1.0\r\n\r\n", HTTP_PARSE_DONE, 0},      // 1.0 needs no Host
        {"\r\n" + std::string(GET_HEAD) + "\r\n", HTTP_PARSE_DONE, 0},
        {"OPTIONS * HTTP/1.1\r\nHost: pc\r\n\r\n", HTTP_PARSE_DONE, 0},
        {post + "GET / HTTP/1.1\r\n", HTTP_PARSE_DONE, post.size()}, // pipelined
        {std::string(GET_HEAD) + "Content-Length: 2\r\ncontent-length: 02\r\n\r\nab",
         HTTP_PARSE_DONE, 0},
        {std::string(GET_HEAD) + "Content-Length: 4096\r\n\r\n" + std::string(4096, 'b'),
         HTTP_PARSE_DONE, 0},
        {HeadOfSize(HTTP_MAX_HEADER_BYTES), HTTP_PARSE_DONE, 0},
        {HeadWithLines(HTTP_MAX_HEADER_LINES), HTTP_PARSE_DONE, 0},
        // Incomplete: no blank line yet, or a body short of its length.
        {GET_HEAD, HTTP_PARSE_INCOMPLETE, 0},
        {std::string(GET_HEAD) + "Content-Length: 5\r\n\r\nabcd", HTTP_PARSE_INCOMPLETE, 0},
        // Request lines.
        {"GET / HTTP/1.1 \r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET  / HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET /\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET / HTTP/2.0\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET / HTTP/1.10\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET / http/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {" GET / HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET http://pc/ HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET * HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET /a\tb HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET /caf\xC3\xA9 HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET /%zz HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET /a%00 HTTP/1.1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"G(T", HTTP_PARSE_BAD_REQUEST, 0},              // refused before the line ends
        {"\x16\x03\x01\x02", HTTP_PARSE_BAD_REQUEST, 0}, // a TLS hello
        {"GET / HTTP/1.1\rX", HTTP_PARSE_BAD_REQUEST, 0},
        // Header lines.
        {std::string(GET_HEAD) + "X: a\x01"
                                 "b\r\n",
         HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + std::string("X: a\0b\r\n", 8), HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "X: a\r\n folded\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "NoColon\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "X : a\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + ": a\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Transfer-Encoding: chunked\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {"GET / HTTP/1.1\r\n\r\n", HTTP_PARSE_BAD_REQUEST, 0}, // 1.1 without Host
        {std::string(GET_HEAD) + "Host: other\r\n\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        // Lengths.
        {std::string(GET_HEAD) + "Content-Length: 1\r\nContent-Length: 2\r\n",
         HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Content-Length: -1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Content-Length: +1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Content-Length: 1 1\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Content-Length: 0x10\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Content-Length:\r\n", HTTP_PARSE_BAD_REQUEST, 0},
        {std::string(GET_HEAD) + "Content-Length: 18446744073709551616\r\n", HTTP_PARSE_BAD_REQUEST,
         0},
        {std::string(GET_HEAD) + "Content-Length: 18446744073709551615\r\n",
         HTTP_PARSE_BODY_TOO_LARGE, 0},
        {std::string(GET_HEAD) + "Content-Length: 4097\r\n", HTTP_PARSE_BODY_TOO_LARGE, 0},
        // Sizes.
        {HeadOfSize(HTTP_MAX_HEADER_BYTES + 1), HTTP_PARSE_HEADERS_TOO_LARGE, 0},
        {HeadWithLines(HTTP_MAX_HEADER_LINES + 1), HTTP_PARSE_HEADERS_TOO_LARGE, 0},
    };
    return std::vector<RequestCase>(cases, cases + sizeof(cases) / sizeof(cases[0]));
}

struct Outcome
{
    HttpParseResult result;
    size_t nUsed;
    CHttpRequest request;
};

// Feeds the first nSplit bytes, then the rest nStep bytes at a time, until the parser
// stops asking; an INCOMPLETE answer must have taken every byte it was given.
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
    outcome.nUsed = nOffset;
    outcome.request = parser.Request();
    return outcome;
}

void ExpectSameRequest(const CHttpRequest& expected, const CHttpRequest& actual)
{
    EXPECT_EQ(expected.method, actual.method);
    EXPECT_EQ(expected.target, actual.target);
    EXPECT_EQ(expected.path, actual.path);
    EXPECT_EQ(expected.query, actual.query);
    EXPECT_EQ(expected.headers, actual.headers);
    EXPECT_EQ(expected.body, actual.body);
}
} // namespace

TEST(HttpRequest, RulesOfTheRequestTable)
{
    std::vector<RequestCase> cases = RequestCases();
    for (size_t i = 0; i < cases.size(); i++)
    {
        Outcome whole = FeedInParts(cases[i].text, cases[i].text.size(), 0);
        EXPECT_EQ(cases[i].result, whole.result) << "case " << i << ": " << cases[i].text;
        if (cases[i].result == HTTP_PARSE_DONE)
        {
            size_t nExpected = cases[i].nUsed ? cases[i].nUsed : cases[i].text.size();
            EXPECT_EQ(nExpected, whole.nUsed) << "case " << i;
        }
    }
}

TEST(HttpRequest, EverySplitGivesTheSameOutcome)
{
    std::vector<RequestCase> cases = RequestCases();
    for (size_t i = 0; i < cases.size(); i++)
    {
        const std::string& text = cases[i].text;
        Outcome whole = FeedInParts(text, text.size(), 0);
        for (size_t nSplit = 0; nSplit <= text.size() + 1; nSplit++)
        {
            // Split once at nSplit, and, past the end, one byte at a time.
            bool bBytes = nSplit > text.size();
            Outcome split = FeedInParts(text, bBytes ? 1 : nSplit, bBytes ? 1 : text.size());
            ASSERT_EQ(whole.result, split.result) << "case " << i << " split " << nSplit;
            ASSERT_EQ(whole.nUsed, split.nUsed) << "case " << i << " split " << nSplit;
            ExpectSameRequest(whole.request, split.request);
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

TEST(HttpRequest, ParserAnswersTheSameUntilReset)
{
    CHttpRequestParser parser;
    size_t nUsed = 0;
    std::string text = std::string(GET_HEAD) + "\r\n";
    ASSERT_EQ(HTTP_PARSE_DONE, parser.Feed(text.data(), text.size(), &nUsed));
    EXPECT_EQ(HTTP_PARSE_DONE, parser.Feed("GET", 3, &nUsed));
    EXPECT_EQ(0u, nUsed);
    parser.Reset();
    EXPECT_EQ(HTTP_PARSE_BAD_REQUEST, parser.Feed("@", 1, &nUsed));
    parser.Reset();
    EXPECT_EQ(HTTP_PARSE_DONE, parser.Feed(text.data(), text.size(), &nUsed));
    EXPECT_EQ("/", parser.Request().path);
}

TEST(HttpRequest, KeepAliveByVersionAndConnection)
{
    const struct
    {
        const char* pszRequest;
        bool bKeepAlive;
    } cases[] = {
        {"GET / HTTP/1.1\r\nHost: pc\r\n\r\n", true},
        {"GET / HTTP/1.1\r\nHost: pc\r\nConnection: close\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nHost: pc\r\nConnection: Upgrade, Close\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nHost: pc\r\nConnection: x\r\nConnection: close\r\n\r\n", false},
        {"GET / HTTP/1.0\r\n\r\n", false},
        {"GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", true},
        {"GET / HTTP/1.0\r\nConnection: keep-alive, close\r\n\r\n", false},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        Outcome outcome = FeedInParts(cases[i].pszRequest, 1000, 0);
        ASSERT_EQ(HTTP_PARSE_DONE, outcome.result) << cases[i].pszRequest;
        EXPECT_EQ(cases[i].bKeepAlive, outcome.request.KeepAlive()) << cases[i].pszRequest;
    }
}

TEST(HttpRequest, ResponseHead)
{
    EXPECT_EQ("HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Type: text/plain\r\n"
              "Content-Length: 12\r\nConnection: close\r\nCache-Control: no-store\r\n"
              "X-Content-Type-Options: nosniff\r\nSet-Cookie: a=b\r\n\r\n",
              BuildHttpResponseHead(431, "text/plain", 12, false, "Set-Cookie: a=b\r\n"));
    EXPECT_EQ("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: keep-alive\r\n"
              "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n\r\n",
              BuildHttpResponseHead(204, NULL, 0, true, ""));
    EXPECT_STREQ("Content Too Large", HttpReasonPhrase(413));
    EXPECT_STREQ("Unknown", HttpReasonPhrase(299));
}
