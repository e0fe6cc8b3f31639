// Rules for the values of the settings file, apart from reading and writing it.
// Plain C++, no platform calls.
#pragma once
#include <stddef.h>

const char* const SETTINGS_FILE_NAME = "QuorvelServer.ini";
const char* const SETTINGS_SECTION = "QuorvelServer";

// A value read with "%d": its leading number, or 0 when it does not start with one.
int ParseSettingNumber(const char* pszValue);

// A DefaultApplication value outside the kinds falls back to Winamp 2 (0), so
// it can never index past the per-kind arrays.
int ClampAppKind(int nKind);

// The web remote's port: WebRemotePort when it names a port (1..65535), else 7655.
const int WEB_REMOTE_PORT_ABSENT = 7655;
int ClampWebRemotePort(int nPort);

// Removes one trailing backslash from a non-empty text.
void RemoveTrailingBackslash(char* pszText);

// The extensions a kind handles when its ExtensionsHandled key is missing.
const char* DefaultExtensions(int nKind);

// The extensions the first-run wizard writes for a kind: the media list for the
// chosen kind, "ppt;pps" for PowerPoint Viewer when it is not the chosen one.
const char* FirstRunExtensions(int nKind, int nChosenKind);

// Forms "<dir>\QuorvelServer.ini" in pOut; false (and an empty pOut) when the
// directory is unknown (empty) or the path does not fit: a cut path would name
// another file.
bool BuildSettingsFilePath(const char* pszDir, char* pOut, size_t nOutSize);

// Appends a folder to a ";"-separated list (no ";" before the first). A folder
// that would make the list longer than its buffer holds is refused whole: false,
// and the list is left as it was.
bool AppendFolderToList(char* pList, size_t nSize, const char* pszFolder);
// The event log's line for a folder so refused: the folder and the longest list.
const char* const FOLDER_REFUSED_FORMAT =
    "Couldn't add \"%s\": the list of folders would be longer than %d characters\r\n";
