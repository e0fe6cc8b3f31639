// Bytes as text and back: lower-case hex for ids, nonces and keys on the wire,
// base64 (RFC 4648, padded) for the WebSocket handshake and artwork.
#pragma once
#include <string>

// 0..15 for a hex digit of either case, -1 for anything else.
int HexDigitValue(char c);
std::string HexFromBytes(const std::string& bytes); // lower-case
// Either case; false unless an even number of hex digits and nothing else.
bool BytesFromHex(const std::string& hex, std::string* pBytes);
std::string Base64Encode(const std::string& bytes);
// Strict: the standard alphabet, padded to a multiple of 4, no spaces, unused bits zero.
bool Base64Decode(const std::string& text, std::string* pBytes);
