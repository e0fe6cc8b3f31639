// The checks of a WebSocket opening request and the head of its answer.
#include "WebSocketUpgrade.h"
#include "ByteText.h"

static const size_t CLIENT_KEY_BYTES = 16;

static char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

static bool EqualsIgnoringCase(const std::string& text, const char* pszWord)
{
    size_t i = 0;
    for (; i < text.size() && pszWord[i]; i++)
    {
        if (LowerAscii(text[i]) != LowerAscii(pszWord[i]))
            return false;
    }
    return i == text.size() && pszWord[i] == '\0';
}

static std::string Trimmed(const std::string& text)
{
    size_t nStart = text.find_first_not_of(" \t");
    if (nStart == std::string::npos)
        return std::string();
    size_t nEnd = text.find_last_not_of(" \t");
    return text.substr(nStart, nEnd - nStart + 1);
}

static bool ListHasToken(const std::string& list, const char* pszToken)
{
    size_t nStart = 0;
    while (nStart <= list.size())
    {
        size_t nEnd = list.find(',', nStart);
        if (nEnd == std::string::npos)
            nEnd = list.size();
        if (EqualsIgnoringCase(Trimmed(list.substr(nStart, nEnd - nStart)), pszToken))
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

bool HasHeaderToken(const CHttpRequest& request, const char* pszName, const char* pszToken)
{
    for (size_t i = 0; i < request.headers.size(); i++)
    {
        if (EqualsIgnoringCase(request.headers[i].first, pszName) &&
            ListHasToken(request.headers[i].second, pszToken))
            return true;
    }
    return false;
}

// The one header of that name; false when absent or repeated.
static bool SingleHeader(const CHttpRequest& request, const char* pszName, std::string* pValue)
{
    size_t nFound = 0;
    for (size_t i = 0; i < request.headers.size(); i++)
    {
        if (EqualsIgnoringCase(request.headers[i].first, pszName))
        {
            *pValue = request.headers[i].second;
            nFound++;
        }
    }
    return nFound == 1;
}

bool IsWebSocketUpgrade(const CHttpRequest& request, std::string* pClientKey)
{
    if (request.method != "GET" || request.nMinorVersion != 1)
        return false;
    if (!HasHeaderToken(request, "Upgrade", "websocket") ||
        !HasHeaderToken(request, "Connection", "upgrade"))
        return false;
    std::string version;
    if (!SingleHeader(request, "Sec-WebSocket-Version", &version) || version != "13")
        return false;
    std::string key;
    std::string keyBytes;
    if (!SingleHeader(request, "Sec-WebSocket-Key", &key) || !Base64Decode(key, &keyBytes) ||
        keyBytes.size() != CLIENT_KEY_BYTES)
        return false;
    *pClientKey = key;
    return true;
}

std::string WebSocketUpgradeResponse(const std::string& acceptKey)
{
    return "HTTP/1.1 101 Switching Protocols\r\n"
           "Upgrade: websocket\r\n"
           "Connection: Upgrade\r\n"
           "Sec-WebSocket-Accept: " +
           acceptKey + "\r\n\r\n";
}
