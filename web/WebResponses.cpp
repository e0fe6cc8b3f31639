#include "WebResponses.h"
#include "JsonText.h"
#include "WebConnection.h"

bool Respond(CWebConnection& connection, const CHttpRequest& request, int nStatus,
             const char* pszType, const std::string& body, const std::string& extraHeaders)
{
    bool bKeepAlive = request.KeepAlive();
    std::string head =
        BuildHttpResponseHead(nStatus, pszType, body.size(), bKeepAlive, extraHeaders);
    bool bHead = request.method == "HEAD";
    return connection.SendAll(bHead ? head : head + body) && bKeepAlive;
}

bool RespondJson(CWebConnection& connection, const CHttpRequest& request, int nStatus,
                 const std::string& json)
{
    return Respond(connection, request, nStatus, "application/json; charset=utf-8", json);
}

bool RespondError(CWebConnection& connection, const CHttpRequest& request, int nStatus,
                  const char* pszError)
{
    return RespondJson(connection, request, nStatus,
                       std::string("{\"error\":") + JsonString(pszError) + "}");
}

void RespondAndEnd(CWebConnection& connection, const CHttpRequest& request, int nStatus)
{
    std::string body = std::string(HttpReasonPhrase(nStatus)) + "\n";
    std::string head = BuildHttpResponseHead(nStatus, "text/plain", body.size(), false, "");
    connection.SendAll(request.method == "HEAD" ? head : head + body);
    connection.EndAfterError();
}

void RespondParseError(CWebConnection& connection, const CHttpRequest& request,
                       HttpParseResult nParse)
{
    int nStatus = nParse == HTTP_PARSE_HEADERS_TOO_LARGE ? 431
                  : nParse == HTTP_PARSE_BODY_TOO_LARGE  ? 413
                                                         : 400;
    RespondAndEnd(connection, request, nStatus);
}
