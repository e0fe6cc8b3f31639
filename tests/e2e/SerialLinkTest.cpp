// The serial link over the rig's pty COM ports (COM3 is the server's end of
// COM13, COM12 of COM22): commands, Connect, a dropped link, a port whose reads
// fail until it is mended, and the Bluetooth stack's registry records behind "Find".
#include <stdlib.h>
#include <atomic>
#include <thread>
#include <vector>
#include "FakeWinamp.h"
#include "ServerTest.h"
#include <tlhelp32.h>

static const std::string ACK = "Sent ACK to phone\r\n";
static const std::string CONNECTED_COM3 = "Connected to port COM3\r\n";

class SerialLink : public CServerTest
{
protected:
    SerialLink() : m_winamp(m_dir) {}
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Widcomm"); }
    void TearDown() override
    {
        m_serialPhone.Close();
        CServerTest::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Widcomm");
    }

    void OpenPhoneEnd(const char* pszPort = "COM13")
    {
        ASSERT_TRUE(m_serialPhone.OpenComPort(pszPort)) << pszPort;
    }

    void Connect(const std::string& typed)
    {
        m_server.SetControlText(1001, typed);
        m_server.Click(1002);
    }

    static void AddService(int nNumber, const char* pszName, int nPort)
    {
        char szKey[128];
        snprintf(szKey, sizeof(szKey), "Software\\Widcomm\\BTConfig\\Services\\%04d", nNumber);
        HKEY hKey = NULL;
        RegCreateKeyExA(HKEY_CURRENT_USER, szKey, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL);
        RegSetValueExA(hKey, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszName),
                       static_cast<DWORD>(strlen(pszName) + 1));
        if (nPort >= 0)
        {
            DWORD nValue = static_cast<DWORD>(nPort);
            RegSetValueExA(hKey, "ComPortNumber", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&nValue), sizeof(nValue));
        }
        RegCloseKey(hKey);
    }

    CFakeWinamp m_winamp;
    CPhoneClient m_serialPhone;
};

TEST_F(SerialLink, CommandsWorkOverTheComPort)
{
    m_winamp.Prepare("caption=Song - Winamp\nstate=1\nlength=180\nposition_ms=65000\nshuffle=1\n");
    ASSERT_TRUE(m_winamp.Start());
    CreateDirectoryA(m_dir.File("Empty").c_str(), NULL);
    StartServer("CommPort=COM3\r\nPath=" + m_dir.File("Empty") +
                "\r\nPathToApplication0=" + m_winamp.ExePath() + "\r\n");
    OpenPhoneEnd();
    ExpectNothingBeforeCheck(m_serialPhone);
    ASSERT_TRUE(m_serialPhone.Send("VERS"));
    ExpectReply(m_serialPhone, std::string("VERSACK\x01\x48", 9));
    ASSERT_TRUE(m_serialPhone.Send("INFO"));
    ExpectReply(m_serialPhone,
                std::string("INFOACK\x01\x00\x00\x00\xB4\x00\x00\x00\x41\x01\x00Song", 22));
    ASSERT_TRUE(m_serialPhone.Send(std::string("DLST\x00\x00", 6)));
    ExpectReply(m_serialPhone, "LISTACK\x01" + m_dir.File("Empty") + std::string("\0\xFF\x00", 3));

    m_winamp.ForgetMessages();
    ASSERT_TRUE(m_serialPhone.Send(std::string("SLCT\x01", 5)));
    Sleep(300);
    EXPECT_EQ("WM_USER 0 0\n", JoinLines(m_winamp.Messages())) << "waits for the second byte";
    ASSERT_TRUE(m_serialPhone.Send(std::string("\x02", 1)));
    ExpectNothingBeforeCheck(m_serialPhone);
    EXPECT_EQ("WM_USER 0 0\nWM_USER 258 121\nWM_COMMAND 40045 0\n", JoinLines(m_winamp.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED_COM3 + ACK + "Listing \"" + m_dir.File("Empty") +
                                        "\": wrote list to phone (" +
                                        std::to_string(m_dir.File("Empty").size() + 4) +
                                        " bytes)\r\n" + "Selected song 258 in playlist\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(SerialLink, SerialAndTcpAreServedAtTheSameTime)
{
    StartServer("CommPort=COM3\r\nListenOnSocket=1\r\n");
    OpenPhoneEnd();
    ConnectPhone(m_phone);
    ASSERT_TRUE(
        m_serialPhone.Send(std::string("SEEK\x00", 5))); // the serial link waits inside a command
    ExpectNothingBeforeCheck(m_phone);
    ASSERT_TRUE(m_phone.Send("VERS"));
    ExpectReply(m_phone, std::string("VERSACK\x01\x48", 9));
    ASSERT_TRUE(m_serialPhone.Send(std::string("\x00\x00\x0A", 3)));
    ExpectNothingBeforeCheck(m_serialPhone);
    EXPECT_TRUE(m_server.WaitForLog("Set seek to 10 seconds\r\n"));
}

TEST_F(SerialLink, ConnectNormalisesWhatWasTyped)
{
    StartServer("");
    OpenPhoneEnd();
    const char* const typed[] = {"3", "com 3", "COM03"};
    std::string expected;
    for (const char* pszTyped : typed)
    {
        Connect(pszTyped);
        expected += CONNECTED_COM3;
        ASSERT_TRUE(m_server.WaitForLogToBe(expected)) << pszTyped << "\n"
                                                       << m_server.LogAfterBanner();
        EXPECT_EQ(pszTyped, m_server.ControlText(1001)) << "the edit keeps what was typed";
        ExpectNothingBeforeCheck(m_serialPhone);
        expected += ACK;
    }
}

TEST_F(SerialLink, PortsAboveCom9Open)
{
    StartServer("CommPort=COM12\r\n");
    OpenPhoneEnd("COM22");
    ExpectNothingBeforeCheck(m_serialPhone);
    EXPECT_TRUE(m_server.WaitForLogToBe("Connected to port COM12\r\n" + ACK));
}

TEST_F(SerialLink, AMissingPortIsReportedAndNothingIsOpened)
{
    StartServer("CommPort=COM9\r\n");
    Connect("COM0");
    const std::string help =
        "\".\r\nDid you enter a valid COM port in the format \"COMn\" (where n is a number)?\r\n";
    EXPECT_TRUE(m_server.WaitForLogToBe("Couldn't find port \"COM9" + help +
                                        "Couldn't find port \"COM0" + help))
        << m_server.LogAfterBanner();
}

TEST_F(SerialLink, ADroppedLinkBurnsNoProcessorAndConnectBringsItBack)
{
    StartServer("CommPort=COM3\r\n");
    OpenPhoneEnd();
    ExpectNothingBeforeCheck(m_serialPhone);
    m_serialPhone.Close(); // the rig's pair ends, as a Bluetooth link that has gone
    Sleep(1500);
    unsigned long nBefore = m_server.CpuTimeMs();
    Sleep(2000);
    EXPECT_LT(m_server.CpuTimeMs() - nBefore, 300u);

    // The rig makes the pair again; Connect opens it.
    std::string expected = CONNECTED_COM3 + ACK;
    bool bConnected = false;
    for (int nTry = 0; nTry < 20 && !bConnected; nTry++)
    {
        Connect("COM3");
        bConnected = m_server.WaitForLog(ACK + CONNECTED_COM3, 1000);
    }
    ASSERT_TRUE(bConnected) << m_server.LogAfterBanner();
    OpenPhoneEnd();
    ExpectNothingBeforeCheck(m_serialPhone);
}

// The rig's COM6: every read fails at once until Mend puts the rig's working
// port (paired with COM16) in its place, by renaming the rig's folders.
class CFailingPort
{
public:
    CFailingPort() : m_bMended(false)
    {
        const char* pszPrefix = getenv("WINEPREFIX");
        std::string rig = pszPrefix ? pszPrefix : "";
        rig = rig.substr(0, rig.find_last_of('/'));
        for (char& c : rig)
            if (c == '/')
                c = '\\';
        m_rig = "Z:" + rig + "\\";
    }
    ~CFailingPort()
    {
        if (m_bMended)
            Swap("port6", "port6-working", "port6-failing");
    }
    void Mend()
    {
        Swap("port6", "port6-failing", "port6-working");
        m_bMended = true;
    }

private:
    void Swap(const char* pszName, const char* pszOldAway, const char* pszNew)
    {
        ASSERT_TRUE(MoveFileA((m_rig + pszName).c_str(), (m_rig + pszOldAway).c_str())) << m_rig;
        ASSERT_TRUE(MoveFileA((m_rig + pszNew).c_str(), (m_rig + pszName).c_str())) << m_rig;
    }
    std::string m_rig;
    bool m_bMended;
};

TEST_F(SerialLink, APortWhoseReadsFailIsReopenedQuietlyUntilItWorksAgain)
{
    CFailingPort port;
    StartServer("CommPort=COM6\r\n");
    const std::string lost = "Couldn't read command: 38\r\n"
                             "Lost connection on port COM6; reopening it every 2 seconds\r\n";
    ASSERT_TRUE(m_server.WaitForLog(lost)) << m_server.LogAfterBanner();
    std::string log = m_server.LogAfterBanner();
    EXPECT_EQ(0u, log.find("Couldn't set timeouts on port COM6")) << log;

    unsigned long nBefore = m_server.CpuTimeMs();
    Sleep(5000); // two tries or more, each failing at once
    EXPECT_LT(m_server.CpuTimeMs() - nBefore, 500u);
    EXPECT_EQ(log, m_server.LogAfterBanner()) << "one line for the loss, not one per try";

    port.Mend();
    OpenPhoneEnd("COM16");
    ExpectNothingBeforeCheck(m_serialPhone);
    EXPECT_TRUE(m_server.WaitForLogToBe(log + "Reconnected to port COM6\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(SerialLink, FindProposesTheLastMatchingServiceAndConnectsNothing)
{
    AddService(1, "Serial Port", 5);
    AddService(2, "SERIAL", 8);
    AddService(3, "Quorvel", 7);
    AddService(4, "quorvel server", -1); // no ComPortNumber: skipped
    AddService(20, "Quorvel", 9);        // beyond the services looked at
    StartServer("");
    m_server.Click(1020);
    EXPECT_TRUE(m_server.WaitForLogToBe("COM5 might be the port that Quorvel should use\r\n"
                                        "COM7 might be the port that Quorvel should use\r\n"))
        << m_server.LogAfterBanner();
    EXPECT_EQ("COM7", m_server.ControlText(1001));
}

TEST_F(SerialLink, FindWithoutTheBluetoothStackSaysSo)
{
    StartServer("CommPort=COM4\r\n");
    std::string log = m_server.LogAfterBanner();
    m_server.Click(1020);
    EXPECT_TRUE(
        m_server.WaitForLogToBe(log + "Couldn't automatically find which COM port to use\r\n"));
    EXPECT_EQ("COM4", m_server.ControlText(1001));

    AddService(1, "Modem", 3);
    AddService(2, "Quorvel", -1);
    log = m_server.LogAfterBanner();
    m_server.Click(1020);
    EXPECT_TRUE(
        m_server.WaitForLogToBe(log + "Couldn't automatically find which COM port to use\r\n"));
}

TEST_F(SerialLink, ANameThatFillsTheWholeBufferIsReadSafely)
{
    std::string name(300, 'x');
    name.replace(250, 6, "Serial");
    AddService(1, name.c_str(), 6);
    AddService(2, std::string(256, 'y').c_str(), 9);
    StartServer("");
    m_server.Click(1020);
    EXPECT_TRUE(m_server.WaitForLogToBe("Couldn't automatically find which COM port to use\r\n"))
        << "names longer than the 256-byte buffer are cut there; no match in the first 256 bytes";
}

static int CountThreads(DWORD nProcessId)
{
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int nCount = 0;
    for (BOOL bMore = Thread32First(hSnapshot, &entry); bMore;
         bMore = Thread32Next(hSnapshot, &entry))
        nCount += entry.th32OwnerProcessID == nProcessId ? 1 : 0;
    CloseHandle(hSnapshot);
    return nCount;
}

// Clicks that arrive while a Connect is stopping the reader (its wait answers
// messages sent to the window) run after it, one at a time: never a stop inside a stop.
TEST_F(SerialLink, ConnectClickedManyTimesAtOnceLeavesOneReader)
{
    StartServer("ListenOnSocket=1\r\nCommPort=COM3\r\n");
    OpenPhoneEnd();
    ConnectPhone(m_phone);
    ExpectNothingBeforeCheck(m_serialPhone);
    ExpectNothingBeforeCheck(m_phone);
    int nThreads = CountThreads(m_server.ProcessId());

    std::atomic<bool> bClicking(true);
    std::thread commands(
        [&]
        {
            // One command at a time, so no reader is stopped halfway through one.
            std::string reply;
            while (bClicking)
                if (m_serialPhone.Send("VERS"))
                    m_serialPhone.Receive(9, reply, 2000);
        });
    std::vector<std::thread> clickers;
    for (int i = 0; i < 4; i++)
        clickers.push_back(std::thread(
            [&]
            {
                for (int j = 0; j < 5; j++)
                    m_server.Click(1002);
            }));
    for (std::thread& clicker : clickers)
        clicker.join();
    EXPECT_TRUE(WaitUntil(
        [&] { return CountOccurrences(m_server.LogAfterBanner(), CONNECTED_COM3) == 21; }))
        << m_server.LogAfterBanner();
    bClicking = false;
    commands.join();

    m_serialPhone.ReceiveUntilQuiet(500, 5000); // a reply still on its way
    ExpectNothingBeforeCheck(m_serialPhone);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(WaitUntil([&] { return CountThreads(m_server.ProcessId()) == nThreads; }))
        << CountThreads(m_server.ProcessId()) << " threads, " << nThreads << " before";
}
