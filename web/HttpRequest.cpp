#include "HttpRequest.h"
#include "UrlText.h"
#include <stdint.h>
#include <stdio.h>
#include <string.h>

// RFC 9110 token characters: what a method or a header name may hold.
static bool IsTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return c != '\0' && strchr("!#$%&'*+-.^_`|~", c) != NULL;
}

static bool IsToken(const std::string& text)
{
    if (text.empty())
        return false;
    for (size_t i = 0; i < text.size(); i++)
    {
        if (!IsTokenChar(text[i]))
            return false;
    }
    return true;
}

static char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

static bool EqualsIgnoringCase(const std::string& text, const char* pszWord)
{
    size_t i = 0;
    for (; i < text.size() && pszWord[i]; i++)
    {
        if (LowerAscii(text[i]) != LowerAscii(pszWord[i]))
            return false;
    }
    return i == text.size() && !pszWord[i];
}

static std::string TrimWhitespace(const std::string& text)
{
    size_t nFirst = text.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return std::string();
    size_t nLast = text.find_last_not_of(" \t");
    return text.substr(nFirst, nLast - nFirst + 1);
}

// Origin-form ("/path?query") of visible ASCII, or "*" for OPTIONS alone.
static bool IsValidTarget(const std::string& method, const std::string& target)
{
    if (target == "*")
        return method == "OPTIONS";
    if (target.empty() || target[0] != '/')
        return false;
    for (size_t i = 0; i < target.size(); i++)
    {
        unsigned char c = static_cast<unsigned char>(target[i]);
        if (c <= 0x20 || c >= 0x7F)
            return false;
    }
    return true;
}

// Plain digits; false on anything else or on a value that does not fit 64 bits.
static bool ParseContentLength(const std::string& value, uint64_t* pnLength)
{
    if (value.empty())
        return false;
    uint64_t nLength = 0;
    for (size_t i = 0; i < value.size(); i++)
    {
        if (value[i] < '0' || value[i] > '9')
            return false;
        unsigned nDigit = static_cast<unsigned>(value[i] - '0');
        if (nLength > (UINT64_MAX - nDigit) / 10)
            return false;
        nLength = nLength * 10 + nDigit;
    }
    *pnLength = nLength;
    return true;
}

const std::string* CHttpRequest::FindHeader(const char* pszName) const
{
    for (size_t i = 0; i < headers.size(); i++)
    {
        if (EqualsIgnoringCase(headers[i].first, pszName))
            return &headers[i].second;
    }
    return NULL;
}

bool CHttpRequest::KeepAlive() const
{
    bool bClose = false;
    bool bKeepAlive = false;
    for (size_t i = 0; i < headers.size(); i++)
    {
        if (!EqualsIgnoringCase(headers[i].first, "Connection"))
            continue;
        // A list of options: "keep-alive, Upgrade".
        const std::string& value = headers[i].second;
        size_t nStart = 0;
        while (nStart <= value.size())
        {
            size_t nEnd = value.find(',', nStart);
            if (nEnd == std::string::npos)
                nEnd = value.size();
            std::string option = TrimWhitespace(value.substr(nStart, nEnd - nStart));
            bClose = bClose || EqualsIgnoringCase(option, "close");
            bKeepAlive = bKeepAlive || EqualsIgnoringCase(option, "keep-alive");
            nStart = nEnd + 1;
        }
    }
    if (bClose)
        return false;
    return nMinorVersion >= 1 || bKeepAlive;
}

CHttpRequestParser::CHttpRequestParser()
{
    Reset();
}

void CHttpRequestParser::Reset()
{
    m_request = CHttpRequest();
    m_result = HTTP_PARSE_INCOMPLETE;
    m_bInBody = false;
    m_bSeenRequestLine = false;
    m_bInMethod = true;
    m_bPendingCR = false;
    m_bHasLength = false;
    m_nHeaderBytes = 0;
    m_nBodyLength = 0;
    m_line.clear();
}

const CHttpRequest& CHttpRequestParser::Request() const
{
    return m_request;
}

HttpParseResult CHttpRequestParser::Feed(const char* pData, size_t nSize, size_t* pnUsed)
{
    size_t nUsed = 0;
    while (m_result == HTTP_PARSE_INCOMPLETE && nUsed < nSize)
    {
        if (!m_bInBody)
        {
            m_result = FeedHeaderByte(pData[nUsed++]);
            continue;
        }
        size_t nTake = m_nBodyLength - m_request.body.size();
        if (nTake > nSize - nUsed)
            nTake = nSize - nUsed;
        m_request.body.append(pData + nUsed, nTake);
        nUsed += nTake;
        if (m_request.body.size() == m_nBodyLength)
            m_result = HTTP_PARSE_DONE;
    }
    *pnUsed = nUsed;
    return m_result;
}

// Byte by byte, so that the outcome never depends on how the bytes were split.
HttpParseResult CHttpRequestParser::FeedHeaderByte(char c)
{
    if (++m_nHeaderBytes > HTTP_MAX_HEADER_BYTES)
        return HTTP_PARSE_HEADERS_TOO_LARGE;
    if (m_bPendingCR)
    {
        m_bPendingCR = false;
        return c == '\n' ? EndOfLine() : HTTP_PARSE_BAD_REQUEST;
    }
    if (c == '\r')
    {
        m_bPendingCR = true;
        return HTTP_PARSE_INCOMPLETE;
    }
    if (c == '\n')
        return EndOfLine();
    unsigned char u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F)
        return HTTP_PARSE_BAD_REQUEST;
    // The method is checked as it comes, so that a stream that is not HTTP at all
    // (a TLS hello, say) is refused at its first byte rather than after 8 KB.
    if (m_bInMethod)
    {
        if (c == ' ')
            m_bInMethod = false;
        else if (!IsTokenChar(c))
            return HTTP_PARSE_BAD_REQUEST;
    }
    m_line += c;
    return HTTP_PARSE_INCOMPLETE;
}

HttpParseResult CHttpRequestParser::EndOfLine()
{
    HttpParseResult result = HTTP_PARSE_INCOMPLETE;
    if (!m_bSeenRequestLine)
    {
        if (!m_line.empty())
            result = ParseRequestLine();
    }
    else if (m_line.empty())
        result = EndOfHeaders();
    else
        result = ParseHeaderLine();
    m_line.clear();
    return result;
}

// "METHOD SP target SP HTTP/1.x": exactly one space between the three.
HttpParseResult CHttpRequestParser::ParseRequestLine()
{
    size_t nFirstSpace = m_line.find(' ');
    if (nFirstSpace == std::string::npos || nFirstSpace == 0)
        return HTTP_PARSE_BAD_REQUEST;
    size_t nSecondSpace = m_line.find(' ', nFirstSpace + 1);
    if (nSecondSpace == std::string::npos)
        return HTTP_PARSE_BAD_REQUEST; // HTTP/0.9 has no version
    std::string version = m_line.substr(nSecondSpace + 1);
    if (version == "HTTP/1.1")
        m_request.nMinorVersion = 1;
    else if (version == "HTTP/1.0")
        m_request.nMinorVersion = 0;
    else
        return HTTP_PARSE_BAD_REQUEST;
    m_request.method = m_line.substr(0, nFirstSpace);
    m_request.target = m_line.substr(nFirstSpace + 1, nSecondSpace - nFirstSpace - 1);
    if (!IsValidTarget(m_request.method, m_request.target))
        return HTTP_PARSE_BAD_REQUEST;
    size_t nQuestion = m_request.target.find('?');
    if (nQuestion != std::string::npos)
        m_request.query = m_request.target.substr(nQuestion + 1);
    if (!UrlDecode(m_request.target.substr(0, nQuestion), false, &m_request.path))
        return HTTP_PARSE_BAD_REQUEST;
    m_bSeenRequestLine = true;
    m_bInMethod = false;
    return HTTP_PARSE_INCOMPLETE;
}

HttpParseResult CHttpRequestParser::ParseHeaderLine()
{
    if (m_request.headers.size() >= HTTP_MAX_HEADER_LINES)
        return HTTP_PARSE_HEADERS_TOO_LARGE;
    if (m_line[0] == ' ' || m_line[0] == '\t')
        return HTTP_PARSE_BAD_REQUEST; // obsolete line folding
    size_t nColon = m_line.find(':');
    if (nColon == std::string::npos)
        return HTTP_PARSE_BAD_REQUEST;
    std::string name = m_line.substr(0, nColon);
    if (!IsToken(name))
        return HTTP_PARSE_BAD_REQUEST; // also "Name :", which RFC 9112 makes a 400
    std::string value = TrimWhitespace(m_line.substr(nColon + 1));
    if (EqualsIgnoringCase(name, "Transfer-Encoding"))
        return HTTP_PARSE_BAD_REQUEST; // no chunked uploads: nothing here needs them
    if (EqualsIgnoringCase(name, "Content-Length"))
    {
        uint64_t nLength = 0;
        if (!ParseContentLength(value, &nLength))
            return HTTP_PARSE_BAD_REQUEST;
        if (m_bHasLength && nLength != m_nBodyLength)
            return HTTP_PARSE_BAD_REQUEST;
        if (nLength > HTTP_MAX_BODY_BYTES)
            return HTTP_PARSE_BODY_TOO_LARGE;
        m_bHasLength = true;
        m_nBodyLength = static_cast<size_t>(nLength);
    }
    m_request.headers.push_back(std::make_pair(name, value));
    return HTTP_PARSE_INCOMPLETE;
}

HttpParseResult CHttpRequestParser::EndOfHeaders()
{
    size_t nHosts = 0;
    for (size_t i = 0; i < m_request.headers.size(); i++)
    {
        if (EqualsIgnoringCase(m_request.headers[i].first, "Host"))
            nHosts++;
    }
    if (nHosts > 1 || (m_request.nMinorVersion == 1 && nHosts == 0))
        return HTTP_PARSE_BAD_REQUEST;
    if (m_nBodyLength == 0)
        return HTTP_PARSE_DONE;
    m_bInBody = true;
    return HTTP_PARSE_INCOMPLETE;
}

const char* HttpReasonPhrase(int nStatus)
{
    static const struct
    {
        int nStatus;
        const char* pszPhrase;
    } s_phrases[] = {
        {200, "OK"},
        {204, "No Content"},
        {206, "Partial Content"},
        {301, "Moved Permanently"},
        {302, "Found"},
        {303, "See Other"},
        {304, "Not Modified"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {403, "Forbidden"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {408, "Request Timeout"},
        {409, "Conflict"},
        {411, "Length Required"},
        {413, "Content Too Large"},
        {414, "URI Too Long"},
        {415, "Unsupported Media Type"},
        {416, "Range Not Satisfiable"},
        {421, "Misdirected Request"},
        {429, "Too Many Requests"},
        {431, "Request Header Fields Too Large"},
        {500, "Internal Server Error"},
        {501, "Not Implemented"},
        {503, "Service Unavailable"},
        {505, "HTTP Version Not Supported"},
    };
    for (size_t i = 0; i < sizeof(s_phrases) / sizeof(s_phrases[0]); i++)
    {
        if (s_phrases[i].nStatus == nStatus)
            return s_phrases[i].pszPhrase;
    }
    return "Unknown";
}

std::string BuildHttpResponseHead(int nStatus, const char* pszContentType, size_t nContentLength,
                                  bool bKeepAlive, const std::string& extraHeaders)
{
    char szLine[96];
    snprintf(szLine, sizeof(szLine), "HTTP/1.1 %d %s\r\n", nStatus, HttpReasonPhrase(nStatus));
    std::string head = szLine;
    if (pszContentType)
        head += std::string("Content-Type: ") + pszContentType + "\r\n";
    snprintf(szLine, sizeof(szLine), "Content-Length: %llu\r\n",
             static_cast<unsigned long long>(nContentLength));
    head += szLine;
    head += bKeepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    if (extraHeaders.find("Cache-Control:") == std::string::npos)
        head += "Cache-Control: no-store\r\n";
    head += "X-Content-Type-Options: nosniff\r\n";
    head += extraHeaders;
    head += "\r\n";
    return head;
}
