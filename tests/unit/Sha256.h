// SHA-256 (FIPS 180-4), only to pin the QR encoder's symbols in the tests: the
// tests build natively, without the system's crypto that the server uses.
#pragma once
#include <stddef.h>
#include <string>

void Sha256(const void* pData, size_t nSize, unsigned char digest[32]);
