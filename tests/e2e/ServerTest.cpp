#include "ServerTest.h"

void CServerTest::TearDown()
{
    m_phone.Close();
    m_server.Kill();
}

void CServerTest::WriteSettings(const std::string& keyLines)
{
    m_dir.WriteFile("QuorvelServer.ini", "[QuorvelServer]\r\n" + keyLines);
}

void CServerTest::StartServer()
{
    StartServer("ListenOnSocket=1\r\n");
}

void CServerTest::StartServer(const std::string& keyLines)
{
    WriteSettings(keyLines);
    ASSERT_TRUE(m_server.Start(m_dir.Path())) << "the server did not come up";
}

void CServerTest::ConnectPhone(CPhoneClient& phone)
{
    ASSERT_TRUE(phone.ConnectTcp("127.0.0.1", SERVER_PORT, REPLY_TIMEOUT_MS));
}

void ExpectReply(CPhoneClient& phone, const std::string& expected)
{
    std::string reply;
    bool bComplete = phone.Receive(expected.size(), reply, REPLY_TIMEOUT_MS);
    EXPECT_TRUE(bComplete) << "got only " << reply.size() << " of " << expected.size() << " bytes";
    EXPECT_EQ(HexBytes(expected), HexBytes(reply));
}

void ExpectNothingBeforeCheck(CPhoneClient& phone)
{
    ASSERT_TRUE(phone.Send("CHCK"));
    ExpectReply(phone, "Y");
}

std::string Bytes(const unsigned char* pBytes, size_t nCount)
{
    return std::string(reinterpret_cast<const char*>(pBytes), nCount);
}
