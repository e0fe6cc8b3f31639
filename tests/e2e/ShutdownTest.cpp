// SHUT on a twin of the server whose call ending the Windows session only
// records its arguments (ExitWindowsEx.log in the working directory), run
// with the shutdown privilege and with a token that lacks it.
#include "ServerTest.h"

static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const char* const TWIN = "QuorvelServerNoPowerOff.exe";

class Shutdown : public CServerTest
{
protected:
    void StartTwin(HANDLE hToken)
    {
        WriteSettings("ListenOnSocket=1\r\n");
        ASSERT_TRUE(m_server.StartProgram(m_dir.Path(), TWIN, hToken));
        ConnectPhone(m_phone);
    }
};

TEST_F(Shutdown, AsksForPowerOffWithThePrivilegeEnabled)
{
    StartTwin(NULL);
    ASSERT_TRUE(m_phone.Send("SHUT"));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("ExitWindowsEx 0x8 0x0\n", m_dir.ReadFile("ExitWindowsEx.log"));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Shutting down Windows\r\n" + ACK))
        << m_server.LogAfterBanner();
}

// The test's own token without the shutdown privilege, for starting the server.
static HANDLE TokenWithoutShutdownPrivilege()
{
    HANDLE hToken = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_QUERY,
                          &hToken))
        return NULL;
    LUID_AND_ATTRIBUTES removed = {};
    HANDLE hRestricted = NULL;
    if (LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &removed.Luid))
        CreateRestrictedToken(hToken, 0, 0, NULL, 1, &removed, 0, NULL, &hRestricted);
    CloseHandle(hToken);
    return hRestricted;
}

TEST_F(Shutdown, WithoutThePrivilegeLogsTheRefusalAndStillAsks)
{
    HANDLE hToken = TokenWithoutShutdownPrivilege();
    ASSERT_TRUE(hToken != NULL);
    StartTwin(hToken);
    CloseHandle(hToken);
    ASSERT_TRUE(m_phone.Send("SHUT"));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("ExitWindowsEx 0x8 0x0\n", m_dir.ReadFile("ExitWindowsEx.log"));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Shutting down Windows\r\n" +
                                        "AdjustTokenPrivileges failed: 1300\n" + ACK))
        << m_server.LogAfterBanner();
}
