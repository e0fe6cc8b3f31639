// An incremental HTTP/1.1 request parser and the head of a response, for the web
// remote. Everything a browser sends is hostile input: every size is bounded.
// Plain C++, no platform calls.
//
// Decisions beyond the bare grammar (additions to the web branches' contract):
// - A line may end in CRLF or in a bare LF (tools send those); a CR not followed by
//   LF, and any other control character but a tab in a header value, is 400 at once.
// - Empty lines before the request line are skipped, as RFC 9112 asks (some clients
//   send a CRLF after a body); their bytes count towards the 8 KB.
// - An HTTP/1.1 request needs exactly one Host header, an HTTP/1.0 one at most one
//   (400 otherwise, as RFC 9112 requires of a server).
// - The request target is visible ASCII only; a path whose percent-escapes are
//   malformed or decode to a zero byte is 400.
// - Duplicate Content-Length headers are fine when their values are equal.
#pragma once
#include <stddef.h>
#include <string>
#include <utility>
#include <vector>

const size_t HTTP_MAX_HEADER_BYTES = 8192; // request line and headers, with their CRLFs
const size_t HTTP_MAX_BODY_BYTES = 4096;
const size_t HTTP_MAX_HEADER_LINES = 100;

struct CHttpRequest
{
    std::string method; // "GET", "POST", ... as sent (tokens only)
    std::string target; // the request target as sent, e.g. "/api/list?path=C%3A%5Cx"
    std::string path;   // the target's path part, percent-decoded ("/api/list")
    std::string query;  // the raw query after "?", not decoded ("" when none)
    int nMinorVersion;  // 0 for HTTP/1.0, 1 for HTTP/1.1
    std::vector<std::pair<std::string, std::string>> headers; // as sent, values trimmed
    std::string body; // Content-Length bytes (chunked request bodies are refused)

    CHttpRequest() : nMinorVersion(1) {}
    // The first header of that name, compared without case; NULL when absent.
    const std::string* FindHeader(const char* pszName) const;
    // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only with "Connection: keep-alive".
    bool KeepAlive() const;
};

enum HttpParseResult
{
    HTTP_PARSE_INCOMPLETE,        // feed more bytes
    HTTP_PARSE_DONE,              // Request() is whole; *pnUsed tells where it ended
    HTTP_PARSE_BAD_REQUEST,       // 400: malformed request line or header, bad length,
                                  // Transfer-Encoding in a request, HTTP/2+ or 0.9
    HTTP_PARSE_HEADERS_TOO_LARGE, // 431: request line and headers beyond 8 KB, or more
                                  // than 100 header lines
    HTTP_PARSE_BODY_TOO_LARGE     // 413: Content-Length beyond 4 KB (known from the header)
};

class CHttpRequestParser
{
public:
    CHttpRequestParser();
    // Takes bytes as they arrive (any split, one byte at a time included). Returns the
    // state; *pnUsed is how many of these bytes belong to this request (the rest start
    // the next one, for keep-alive). After DONE or an error, call Reset() for the next;
    // until then Feed uses nothing and answers the same. On an error *pnUsed counts the
    // bytes up to the one that showed it.
    HttpParseResult Feed(const char* pData, size_t nSize, size_t* pnUsed);
    const CHttpRequest& Request() const;
    void Reset();

private:
    HttpParseResult FeedHeaderByte(char c);
    HttpParseResult EndOfLine();
    HttpParseResult ParseRequestLine();
    HttpParseResult ParseHeaderLine();
    HttpParseResult EndOfHeaders();

    CHttpRequest m_request;
    HttpParseResult m_result;
    bool m_bInBody;
    bool m_bSeenRequestLine;
    bool m_bInMethod;  // still in the first token of the request line
    bool m_bPendingCR; // the last byte was a CR: only LF may follow
    bool m_bHasLength; // a Content-Length header was seen
    size_t m_nHeaderBytes;
    size_t m_nBodyLength;
    std::string m_line; // the line being read, without its line end
};

// "HTTP/1.1 200 OK\r\n" ... up to and including the blank line: Content-Type (when not
// NULL), Content-Length, Connection (keep-alive or close), Cache-Control: no-store
// (unless extraHeaders has its own), X-Content-Type-Options: nosniff, then
// extraHeaders (each line ending in "\r\n").
std::string BuildHttpResponseHead(int nStatus, const char* pszContentType, size_t nContentLength,
                                  bool bKeepAlive, const std::string& extraHeaders);
const char* HttpReasonPhrase(int nStatus); // "OK", "Bad Request", ... "Unknown"
