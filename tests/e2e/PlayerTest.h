// The phone driving a fake media application that is the default application:
// the fixture prepares the fake, starts the server with it, and collects what
// the fake received for each command.
#pragma once
#include <string>
#include "FakePlayer.h"
#include "ServerTest.h"

const std::string CONNECTED = "Client connected on Internet socket\r\n";
const std::string ACK = "Sent ACK to phone\r\n";

struct FakePlayerKind
{
    int nKind;                  // the AppKind the fake stands in for
    const char* pszFolder;      // where the test's copy goes
    const char* pszName;        // exe and settings file name
    const char* pszWindowClass; // its main window
    const char* pszExtensions;  // ExtensionsHandled<kind>
};

class CPlayerTest : public CServerTest
{
protected:
    explicit CPlayerTest(const FakePlayerKind& kind);

    // The settings that make the fake the default application, on TCP.
    std::string Settings() const;
    // Starts the fake (when bStartFake), the server and the phone.
    void StartWith(const std::string& fakeConfig, const std::string& extraSettings = "",
                   bool bStartFake = true);
    // Sends the bytes; once a CHCK after them is answered, all their messages are in.
    std::string MessagesFor(const std::string& bytes);
    // The same for a command that starts the application: waits until the
    // record holds lastLine, since nothing in the server waits for the start.
    std::string MessagesUpTo(const std::string& bytes, const std::string& lastLine);
    // Sends a command and reads a reply of nSize bytes.
    std::string ReplyTo(const std::string& command, size_t nSize);
    // DINF gives zeros, PLEN no entries and PLST the answer for no playlist.
    void ExpectNoDetailsAndNoPlaylist();

    FakePlayerKind m_kind;
    CFakePlayer m_fake;
};
