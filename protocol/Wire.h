// Byte layouts shared by every command: big-endian numbers and the reply tags.
// Plain C++, no platform calls.
#pragma once
#include <stdint.h>

const int COMMAND_LENGTH = 4;
const int REPLY_TAG_LENGTH = 7;
const int MAX_NAME_LENGTH = 1023;
const int NAME_BUFFER_SIZE = 1024;

const int PROTOCOL_VERSION_MAJOR = 1;
const int PROTOCOL_VERSION_MINOR = 72;

void PackBE32(uint32_t nValue, unsigned char* pDest);
void PackBE16(uint32_t nValue, unsigned char* pDest);
uint32_t UnpackBE16(const unsigned char* pSrc);
uint32_t UnpackBE32(const unsigned char* pSrc);

// Writes the 7-byte reply tag: the 4 command letters and "ACK".
void WriteReplyTag(const char* pszCommand, unsigned char* pDest);
