// QuorvelServer.ini in the folder the program starts in: every key it keeps, read
// at start, written when the program ends, and written fresh by the first-run
// wizard. Keys added after the first version are written only when they differ
// from their absent values, after all the others, so a file that never used
// them stays as it was.
#pragma once
#include <string>
#include "PlayerKinds.h"
#include "TextSizes.h"

struct ServerSettings
{
    char szCommPort[COMM_PORT_SIZE];              // CommPort
    char szBrowseFolders[PATH_SIZE];              // Path
    int bStartApps;                               // StartWinampAutomatically
    int nDefaultKind;                             // DefaultApplication
    char szAppPath[APP_KIND_COUNT][PATH_SIZE];    // PathToApplication<n>
    char szExtensions[APP_KIND_COUNT][PATH_SIZE]; // ExtensionsHandled<n>
    int bStartMinimised;                          // StartMinimised
    int bStopWhenSwitching;                       // StopWhenSwitching
    int bListenOnSocket;                          // ListenOnSocket
    std::string allowedPhones;                    // AllowedPhones
    int bWebRemote;                               // WebRemote
    int nWebRemotePort;                           // WebRemotePort
    int bWebRemoteShutdown;                       // WebRemoteShutdown
    int bWebRemoteInput;                          // WebRemoteInput, on when absent
};

class CSettingsFile
{
public:
    CSettingsFile();
    // The folder of the file; a folder that is unknown or too long leaves the
    // file unusable: the defaults are in force and nothing is written.
    void SetFolder(const char* pszFolder);
    const char* Folder() const { return m_szFolder; }
    bool IsUsable() const;
    bool Exists() const;

    void Load(ServerSettings* pSettings) const;
    void Save(const ServerSettings& settings) const;
    // The first-run wizard's answers: the chosen kind and its path, the folders
    // and the COM port; every other key as a first run has it.
    void WriteFirstRun(int nKind, const char* pszAppPath, const char* pszBrowseFolders,
                       const char* pszCommPort) const;
    // Written as soon as a phone is allowed or the list is forgotten: the phone's
    // EXIT ends the server without saving, and an answer must not be lost with it.
    void SaveAllowedPhones(const std::string& allowed) const;

private:
    bool Path(char* pOut, size_t nOutSize) const;

    char m_szFolder[PATH_SIZE];
};
