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
