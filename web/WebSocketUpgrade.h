// Whether a request opens a WebSocket (RFC 6455 4.2.1), and the server's answer to it.
// Plain C++; the accept key's SHA-1 is in WebSocketHandshake (CNG).
#pragma once
#include <string>
#include "HttpRequest.h"

// A GET over HTTP/1.1 with "Upgrade: websocket", "upgrade" among the Connection
// tokens, "Sec-WebSocket-Version: 13" and one Sec-WebSocket-Key that is 16 bytes in
// base64 (given in *pClientKey). Names and tokens are compared without case.
bool IsWebSocketUpgrade(const CHttpRequest& request, std::string* pClientKey);
// The request's headers of that name, all of them, hold the token (comma-separated lists).
bool HasHeaderToken(const CHttpRequest& request, const char* pszName, const char* pszToken);
// "HTTP/1.1 101 Switching Protocols" with Upgrade, Connection and Sec-WebSocket-Accept.
std::string WebSocketUpgradeResponse(const std::string& acceptKey);
