#include "PlayerTest.h"

CPlayerTest::CPlayerTest(const FakePlayerKind& kind)
    : m_kind(kind), m_fake(m_dir, kind.pszFolder, kind.pszName, kind.pszWindowClass)
{
}

std::string CPlayerTest::Settings() const
{
    std::string kind = std::to_string(m_kind.nKind);
    return "ListenOnSocket=1\r\nDefaultApplication=" + kind + "\r\nPathToApplication" + kind + "=" +
           m_fake.ExePath() + "\r\nExtensionsHandled" + kind + "=" + m_kind.pszExtensions + "\r\n";
}

void CPlayerTest::StartWith(const std::string& fakeConfig, const std::string& extraSettings,
                            bool bStartFake)
{
    m_fake.Prepare(fakeConfig);
    if (bStartFake)
        ASSERT_TRUE(m_fake.Start());
    StartServer(Settings() + extraSettings);
    ConnectPhone(m_phone);
}

std::string CPlayerTest::MessagesFor(const std::string& bytes)
{
    m_fake.ForgetMessages();
    EXPECT_TRUE(m_phone.Send(bytes));
    ExpectNothingBeforeCheck(m_phone);
    return JoinLines(m_fake.Messages());
}

std::string CPlayerTest::MessagesUpTo(const std::string& bytes, const std::string& lastLine)
{
    m_fake.ForgetMessages();
    EXPECT_TRUE(m_phone.Send(bytes));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_fake.WaitForMessage(lastLine)) << lastLine;
    return JoinLines(m_fake.Messages());
}

std::string CPlayerTest::ReplyTo(const std::string& command, size_t nSize)
{
    EXPECT_TRUE(m_phone.Send(command));
    std::string reply;
    EXPECT_TRUE(m_phone.Receive(nSize, reply, REPLY_TIMEOUT_MS)) << HexBytes(reply);
    return reply;
}

void CPlayerTest::ExpectNoDetailsAndNoPlaylist()
{
    m_fake.ForgetMessages();
    EXPECT_EQ(HexBytes("DINFACK" + std::string(12, '\0')), HexBytes(ReplyTo("DINF", 19)));
    EXPECT_EQ(HexBytes(std::string("PLENACK\0\0", 9)), HexBytes(ReplyTo("PLEN", 9)));
    EXPECT_EQ(HexBytes(std::string("PLSTACK\0\0PLSTACK\0\0\0", 19)), HexBytes(ReplyTo("PLST", 19)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("", JoinLines(m_fake.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Sent detailed track info to phone\r\n" + "Returned playlist length: 0\r\n" +
        "Writing playlist to phone\r\n" +
        "Couldn't get playlist! Playlist retrieval is only supported for Winamp 2.\r\n" + ACK))
        << m_server.LogAfterBanner();
}
