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

// True when the first 4 bytes of a TCP connection open an HTTP request ("GET ",
// "POST", ...): a web page made the browser send them, never a phone, whose
// commands are 4 capital letters none of which starts that way.
bool IsHttpRequestStart(const char* pFirst4);

// Writes the 7-byte reply tag: the 4 command letters and "ACK".
void WriteReplyTag(const char* pszCommand, unsigned char* pDest);
