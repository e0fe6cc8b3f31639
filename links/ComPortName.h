// COM port names and Bluetooth service names. Plain C++, no platform calls.
#pragma once
#include <stddef.h>

// What the user typed becomes "COM<n>" for the first position from which a
// decimal number greater than 0 can be read the way atoi reads it ("3",
// "COM3", "com 3" and "COM03" all give COM3); otherwise it stays as typed.
void NormaliseComPortName(char* pszName, size_t nSize);

// "\\.\<name>", so that ports above COM9 open too. False for a name of 252
// characters or more, or one that does not fit.
bool BuildComDevicePath(const char* pszName, char* pOut, size_t nOutSize);

// The log line for a port that could not be opened, by the system error code.
void FormatSerialOpenFailure(char* pOut, size_t nOutSize, const char* pszName,
                             unsigned long nError);

// A Bluetooth serial service that the phone may connect to: the name holds
// "uorvel" or "erial", case-sensitively.
bool IsQuorvelServiceName(const char* pszName);
