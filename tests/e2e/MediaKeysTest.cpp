// The phone driving any player by the media keys: what reaches the fake player
// that takes the focus, with the volume keys standing in for the system volume
// (Wine has no audio driver here), and only media files opened, as their type.
#include "PlayerTest.h"

static const FakePlayerKind MEDIA_KEYS = {5, "keys", "FakeMediaKeys", "FakeMediaKeys", "mkq;mkr"};

// What presses bring the fake under Wine: each an application command, then the key.
static std::string Press(int nKey, int nScan, int nCommand, int nTimes = 1)
{
    char szPress[160];
    snprintf(szPress, sizeof(szPress),
             "FakeMediaKeys WM_APPCOMMAND 0x0 0x%X0000\nFakeMediaKeys WM_KEYDOWN 0x%X 0x1%02X0001\n"
             "FakeMediaKeys WM_KEYUP 0x%X 0xC1%02X0001\n",
             nCommand, nKey, nScan, nKey, nScan);
    std::string presses;
    while (nTimes-- > 0)
        presses += szPress;
    return presses;
}

class MediaKeys : public CPlayerTest
{
protected:
    MediaKeys() : CPlayerTest(MEDIA_KEYS)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Audio", REG_SZ, "", 1);
    }
    ~MediaKeys()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Audio");
        for (const char* pszKey : {".mkq", ".mkr", "QuorvelTest.mkq", "QuorvelTest.mkr"})
            RegDeleteTreeA(HKEY_CLASSES_ROOT, pszKey);
    }
};

TEST_F(MediaKeys, TheAppStartsOnceAndEachCommandPressesItsKeysWhenTheTrackedStateChanges)
{
    m_fake.Prepare("");
    StartServer(Settings() + "StartWinampAutomatically=1\r\n");
    // The server's window takes the focus once shown; the fake may take it after that.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == m_server.Window(); }));
    ConnectPhone(m_phone);
    const std::string cases[][2] = {
        {"STRTSTRT", Press(0xB3, 0x22, 14)},
        {"PAUSPAUS", Press(0xB3, 0x22, 14)},
        {"STOPFADESTEN", Press(0xB2, 0x24, 13, 3)},
        {std::string("NEXTPREVFFWDRWNDFULLSHFL\1REPT\0SLCT\0\2SEEK\0\0\0\x3CRMAL", 48),
         Press(0xB0, 0x19, 11) + Press(0xB1, 0x10, 12)},
        // Five presses a step from 128: 130 is in its band; 153, 178, 203, 228, 253; 255 is in.
        {std::string("VOLM\x82VOLM\xFFVOLM\xFFVOLM\xFFVOLM\xFFVOLM\xFFVOLM\xFF", 35),
         Press(0xAF, 0x30, 10, 25)},
        {std::string("VOLM\0", 5), Press(0xAE, 0x2E, 9, 5)},
    };
    std::string expected = "start \"" + m_fake.ExePath() + "\"\n";
    for (const auto& c : cases)
    {
        ASSERT_TRUE(m_phone.Send(c[0]));
        expected += c[1];
        if (&c == &cases[1])
            EXPECT_EQ(HexBytes("INF2ACK\3" + std::string(8, '\xFF') + std::string(3, '\0')),
                      HexBytes(ReplyTo("INF2", 19)));
    }
    // The presses arrive after the server is done with them.
    WaitUntil([&] { return JoinLines(m_fake.Messages()).size() >= expected.size(); });
    EXPECT_EQ(expected, JoinLines(m_fake.Messages()));
    EXPECT_EQ(HexBytes(std::string("INFOACK\0", 8) + std::string(8, '\xFF') + std::string(2, '\0')),
              HexBytes(ReplyTo("INFO", 18)));
    // The missing system volume is said once, at the first VOLM, and nothing else goes wrong.
    EXPECT_TRUE(m_server.WaitForLog("Set volume to 0%\r\n"));
    std::string log = m_server.LogAfterBanner();
    EXPECT_EQ(1, CountOccurrences(log, "Media keys: no system volume to set (error 0x80070490); "
                                       "pressing the volume keys instead\r\nSet volume to 50%"));
    EXPECT_EQ(1, CountOccurrences(log, "Media keys")) << log;
}

// Beside every way a name could have the shell run a program lies a program of
// ours that records it when it runs, and "a.mkq" is one too ("%" is their folder):
// each of those commands is refused with one line, and a.mkq goes to its type's player.
TEST_F(MediaKeys, OnlyMediaFilesOpenAsTheirTypeAndAddEnqueuesWhereTheTypeSaysHow)
{
    StartWith("", "", false);
    // .mkq registers an Enqueue verb, .mkr only open: adding one of those is playing it.
    const std::string command = "\"" + m_fake.ExePath() + "\" /", open = command + "open \"%1\"";
    const std::string keys[][2] = {
        {".mkq", "QuorvelTest.mkq"},
        {".mkr", "QuorvelTest.mkr"},
        {"QuorvelTest.mkq\\shell\\open\\command", open},
        {"QuorvelTest.mkr\\shell\\open\\command", open},
        {"QuorvelTest.mkq\\shell\\Enqueue\\command", command + "Enqueue \"%1\""}};
    for (const auto& key : keys)
        RegSetValueA(HKEY_CLASSES_ROOT, key[0].c_str(), REG_SZ, key[1].c_str(), 0);
    CFakePlayer marker(m_dir, "Files", "FakeMediaKeys", "FakeMediaKeys");
    marker.Prepare("");
    const std::string files = marker.Folder() + "\\";
    for (const std::string copy : {"setup.exe", "a.mkq"})
        ASSERT_TRUE(CopyFileA(marker.ExePath().c_str(), (files + copy).c_str(), FALSE));
    for (const std::string script : {"run.bat", "run.cmd"})
        m_dir.WriteFile("Files\\" + script, "@\"" + files + "setup.exe\" script\r\n");
    m_dir.WriteFile("Files\\b.mkr", "");
    CreateDirectoryA((files + "album.mkq").c_str(), NULL);
    std::string log = CONNECTED;
    for (std::string name :
         {"%setup", "\"%setup.exe\"", "file:///%setup", "shell:MyMusic\\a.mkq", "%a.mkq:x",
          "%setup.exe.", "%a.mkq ", "%run.bat", "%run.cmd", "%album.mkq", "cmd", "%setup.exe"})
    {
        if (name.find('%') != std::string::npos)
            name.replace(name.find('%'), 1, files);
        ASSERT_TRUE(m_phone.Send("PLAY" + EncodeName(name) + "LADD" + EncodeName(name)));
        log += "Couldn't play \"" + name + "\": it is not a media file\r\nCouldn't add \"" + name +
               "\" to playlist: it is not a media file\r\n";
    }
    const char* const cases[][3] = {{"PLAY", "a.mkq", "open"},
                                    {"LADD", "a.mkq", "Enqueue"},
                                    {"PLAY", "b.mkr", "open"},
                                    {"LADD", "b.mkr", "open"}};
    for (const auto& c : cases)
    {
        std::string file = files + c[1], line = "start " + command + c[2] + " \"" + file + "\"";
        EXPECT_EQ(line + "\n", MessagesUpTo(c[0] + EncodeName(file), line));
        log += (c[0] == std::string("PLAY") ? "Playing \"" + file + "\"\r\n"
                                            : "Adding \"" + file + "\" to playlist\r\n") +
               ACK;
    }
    EXPECT_TRUE(m_server.WaitForLogToBe(log)) << m_server.LogAfterBanner();
    // Anything the shell ran was started before the player was.
    EXPECT_EQ("", JoinLines(marker.Messages()));
}
