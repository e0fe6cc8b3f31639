// GET /api/download?ticket=: the file a channel's download request named, streamed to the browser
// as the core reads it, one chunk per block, so a big file is never held whole.
#include "WebRemote.h"
#include <stdio.h>
#include "AnsiText.h"
#include "JsonText.h"
#include "UrlText.h"
#include "WebConnection.h"
#include "WebResponses.h"
#include "../core/CommandSet.h"
#include "../core/ServerCore.h"

// Sends the response head once the core has opened the file (nothing when it
// cannot), then the file's bytes as chunks.
class CPageDownloadSink : public CDownloadSink
{
public:
    CPageDownloadSink(CWebConnection& connection, const std::string& head)
        : m_connection(connection), m_head(head), m_bStarted(false), m_bFailed(false)
    {
    }
    bool Send(const char* pData, int nCount) override
    {
        if (!m_bStarted)
            m_bFailed = !m_connection.SendAll(m_head);
        m_bStarted = true;
        if (nCount > 0 && !m_bFailed)
            m_bFailed = !SendChunk(pData, nCount);
        return !m_bFailed;
    }
    bool Started() const { return m_bStarted; }
    // The last chunk; false when the transfer broke on the way.
    bool Finish() { return !m_bFailed && m_connection.SendAll("0\r\n\r\n", 5); }

private:
    bool SendChunk(const char* pData, int nCount)
    {
        char szSize[16];
        int nSizeLength = snprintf(szSize, sizeof(szSize), "%x\r\n", nCount);
        return m_connection.SendAll(szSize, nSizeLength) && m_connection.SendAll(pData, nCount) &&
               m_connection.SendAll("\r\n", 2);
    }

    CWebConnection& m_connection;
    std::string m_head;
    bool m_bStarted;
    bool m_bFailed;
};

// The file's name for the browser's save dialog: plain ASCII in filename, the
// whole UTF-8 name percent-encoded in filename*.
static std::string ContentDisposition(const std::string& ansiPath)
{
    size_t nSlash = ansiPath.find_last_of('\\');
    std::string utf8 =
        Utf8FromAnsi(nSlash == std::string::npos ? ansiPath : ansiPath.substr(nSlash + 1));
    std::string plain, encoded;
    for (size_t i = 0; i < utf8.size(); i++)
    {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        bool bSafe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                     c == '.' || c == '-' || c == '_';
        plain += bSafe || c == ' ' ? static_cast<char>(c) : '_';
        char szEscape[4];
        snprintf(szEscape, sizeof(szEscape), "%%%02X", c);
        encoded += bSafe ? std::string(1, static_cast<char>(c)) : std::string(szEscape);
    }
    return "Content-Disposition: attachment; filename=\"" + plain + "\"; filename*=UTF-8''" +
           encoded + "\r\n";
}

bool CWebRemote::ServeDownload(CWebConnection& connection, const CHttpRequest& request)
{
    if (request.method != "GET")
        return RespondError(connection, request, 405, "method not allowed");
    std::string ticket, ansi;
    if (!FormValue(request.query, "ticket", &ticket) ||
        !m_tickets.Take(ticket, GetTickCount64(), &ansi))
    {
        m_core.LogEvent("Web remote: refused a download from %s: its ticket is unknown, used or "
                        "expired\r\n",
                        connection.Peer().c_str());
        return RespondError(connection, request, 403, "the ticket is unknown, used or expired");
    }
    bool bKeepAlive = request.KeepAlive();
    std::string head =
        "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
        "Transfer-Encoding: chunked\r\nCache-Control: no-store\r\n"
        "X-Content-Type-Options: nosniff\r\n" +
        ContentDisposition(ansi) +
        (bKeepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n");
    CPageDownloadSink sink(connection, head);
    RunForPage(connection, CMD_DOWN, [&] { m_core.Download(ansi.c_str(), sink); });
    if (sink.Started())
        return sink.Finish() && bKeepAlive;
    return RespondError(connection, request, 404, "the file can't be opened");
}
