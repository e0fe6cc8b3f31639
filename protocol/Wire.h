// Byte layouts shared by every command: big-endian numbers and the reply tags.
// Plain C++, no platform calls.
#pragma once
#include <stdint.h>
#include "../core/TextSizes.h"
#include "../core/Version.h"

const int COMMAND_LENGTH = 4;
const int REPLY_TAG_LENGTH = 7;

void PackBE32(uint32_t nValue, unsigned char* pDest);
void PackBE16(uint32_t nValue, unsigned char* pDest);
uint32_t UnpackBE16(const unsigned char* pSrc);
uint32_t UnpackBE32(const unsigned char* pSrc);

// Writes the 7-byte reply tag: the 4 command letters and "ACK".
void WriteReplyTag(const char* pszCommand, unsigned char* pDest);
