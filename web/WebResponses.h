// Whole responses of the web remote: head and body in one send.
#pragma once
#include <string>
#include "HttpRequest.h"

class CWebConnection;

// Sends the response (the head alone to HEAD); true when the connection stays open.
bool Respond(CWebConnection& connection, const CHttpRequest& request, int nStatus,
             const char* pszType, const std::string& body,
             const std::string& extraHeaders = std::string());
bool RespondJson(CWebConnection& connection, const CHttpRequest& request, int nStatus,
                 const std::string& json);
// {"error": text}
bool RespondError(CWebConnection& connection, const CHttpRequest& request, int nStatus,
                  const char* pszError);
// An error after which the connection ends: its reason as plain text (none to
// HEAD) and "Connection: close"; the client's unread bytes are drained then.
void RespondAndEnd(CWebConnection& connection, const CHttpRequest& request, int nStatus);
// 400, 413 or 431 for a request the parser refused (as far as it was read).
void RespondParseError(CWebConnection& connection, const CHttpRequest& request,
                       HttpParseResult nParse);
