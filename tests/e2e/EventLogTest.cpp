// The event log on a busy server: lines arrive whole and in order, the oldest
// whole lines go once the log passes its cap, and the newest line stays in view.
#include <stdio.h>
#include "ServerTest.h"
#include "../../app/LogQueue.h"

static const std::string ACK = "Sent ACK to phone\r\n";

class EventLog : public CServerTest
{
protected:
    // A missing file with a long name, numbered: FINF logs a line of about 1 KB for
    // it (short enough that the line is not cut).
    static std::string MissingFile(int nNumber)
    {
        char szNumber[16];
        snprintf(szNumber, sizeof(szNumber), "%05d", nNumber);
        return "C:\\missing\\" + std::string(960, 'm') + szNumber + ".mp3";
    }
    static std::string InfoLine(int nNumber)
    {
        return "Returning info about \"" + MissingFile(nNumber) + "\": couldn't open file\r\n";
    }
};

TEST_F(EventLog, KeepsTheNewestWholeLinesBelowItsCapWithTheLastInView)
{
    StartServer();
    ConnectPhone(m_phone);
    const int COMMANDS = 2600; // about 2.7 MB of log
    std::string commands;
    for (int i = 0; i < COMMANDS; i++)
        commands += "FINF" + EncodeName(MissingFile(i));
    ASSERT_TRUE(m_phone.Send(commands));
    ExpectNothingBeforeCheck(m_phone);
    ASSERT_TRUE(m_server.WaitForLog(InfoLine(COMMANDS - 1) + ACK, 60000));

    std::string log = m_server.Log();
    EXPECT_LE(log.size(), LOG_TEXT_CAP);
    EXPECT_GE(log.size(), LOG_TEXT_KEEP / 2) << "trimmed, not emptied";
    ASSERT_EQ(0u, log.find("Returning info about \"")) << "the oldest lines went whole";
    // The rest is every line from some command on, in order, then the CHCK's line.
    int nFirst = atoi(log.c_str() + log.find(".mp3") - 5);
    std::string expected;
    for (int i = nFirst; i < COMMANDS; i++)
        expected += InfoLine(i);
    EXPECT_TRUE(log == expected + ACK)
        << "lines from " << nFirst << " on, " << log.size() << " characters";
    EXPECT_TRUE(m_server.IsLastLogLineInView());
}
