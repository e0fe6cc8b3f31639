// The accept key of the WebSocket opening handshake, hashed by CNG.
#include "WebSocketHandshake.h"
#include "ByteText.h"
#include "CngCrypto.h"

static const char WEBSOCKET_GUID[] = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";

std::string WebSocketAcceptKey(const std::string& clientKey)
{
    std::string digest;
    if (!Sha1Digest(clientKey + WEBSOCKET_GUID, &digest))
        return std::string();
    return Base64Encode(digest);
}
