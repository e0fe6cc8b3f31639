// SHA-256 (FIPS 180-4), for what the server keeps of a browser's token.
// Plain C++, no platform calls.
#pragma once
#include <stddef.h>
#include <string>

void Sha256(const void* pData, size_t nSize, unsigned char digest[32]);
std::string HexText(const unsigned char* pBytes, size_t nSize); // lower-case
