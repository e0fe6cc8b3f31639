// The server's half of the WebSocket opening handshake that needs CNG's SHA-1.
#pragma once
#include <string>

// base64(SHA-1(clientKey + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11")), RFC 6455 4.2.2;
// "" if CNG fails.
std::string WebSocketAcceptKey(const std::string& clientKey);
