// The name parameter shared by PLAY, LADD, FINF, DOWN and DLST: a 2-byte
// big-endian length (at most 1023) and that many bytes of the path.
#pragma once
#include "PhoneLink.h"

class CServerCore;

struct NameFailureLines
{
    const char* pszLengthFailure; // "...: %d\r\n" with the error code
    const char* pszNameFailure;   // with the error code, or the length and the error code
    bool bNameFailureHasLength;
};

extern const NameFailureLines PLAY_NAME_FAILURES;
extern const NameFailureLines FILE_NAME_FAILURES;
extern const NameFailureLines FOLDER_NAME_FAILURES;

// Reads the name into a zero-filled buffer of NAME_BUFFER_SIZE bytes. A length
// of 1024 or more is refused with "Filename length (%d) too long", leaving the
// name bytes in the stream.
bool ReadNameParameter(CServerCore& core, const CPhoneLink& link, char* pName,
                       const NameFailureLines& failures);
