// The command lines that start Winamp 3 and Windows Media Player with a file.
// A path is put on a command line whole or not at all: a cut path could open
// another file. Plain C++, no platform calls.
#pragma once
#include <stddef.h>

// The controllers' copy of the application path and their command-line buffers.
const size_t APP_PATH_SIZE = 256;
const size_t COMMAND_LINE_SIZE = 256;

enum CommandLineResult
{
    COMMAND_LINE_OK,
    COMMAND_LINE_TOO_LONG,     // the path does not fit the buffer with the fixed text
    COMMAND_LINE_QUOTE_IN_PATH // a double quote would end the quoted path early
};

// Copies an application path whole into pOut; false (and an empty pOut) when it
// is longer than nOutSize - 1 characters.
bool KeepApplicationPath(const char* pszPath, char* pOut, size_t nOutSize);

// "/play \"<path>\"". On a refusal pOut is left empty.
CommandLineResult BuildPlayCommandLine(const char* pszPath, char* pOut, size_t nOutSize);

// "\"<application>\" /add \"<path>\"". On a refusal pOut is left empty.
CommandLineResult BuildAddCommandLine(const char* pszAppPath, const char* pszPath, char* pOut,
                                      size_t nOutSize);
