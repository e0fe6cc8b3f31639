// The fixture of the end-to-end tests: a working directory with its settings
// file, the real server started in it, and phones that talk to it over TCP.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "PhoneClient.h"
#include "ReplyText.h"
#include "ServerProcess.h"

const unsigned short SERVER_PORT = 7654;
// Generous: a reply that comes at all comes well within it, even on a busy machine.
const DWORD REPLY_TIMEOUT_MS = 60000;

class CServerTest : public ::testing::Test
{
protected:
    void TearDown() override;

    // Writes QuorvelServer.ini with the given lines under [QuorvelServer].
    void WriteSettings(const std::string& keyLines);
    // Starts the server; settings default to listening on TCP only.
    void StartServer();
    void StartServer(const std::string& keyLines);
    void ConnectPhone(CPhoneClient& phone);

    CTempDir m_dir;
    CServerProcess m_server;
    CPhoneClient m_phone;
};

// The reply must be exactly these bytes; shows both in hex when it is not.
void ExpectReply(CPhoneClient& phone, const std::string& expected);
// Nothing was sent before: the next byte to arrive is the "Y" of a fresh CHCK.
void ExpectNothingBeforeCheck(CPhoneClient& phone);
std::string Bytes(const unsigned char* pBytes, size_t nCount);
