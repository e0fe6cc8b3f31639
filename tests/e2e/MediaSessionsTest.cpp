// The media-keys kind with the fake session manager registered as the system's,
// serving two apps from a script; operations complete at once, then later. The
// fake player takes the keys that stand in for what an app does not allow.
#include "PlayerTest.h"

static const FakePlayerKind MEDIA_KEYS = {5, "keys", "FakeMediaKeys", "FakeMediaKeys", "mkq"};
static const char* const CLASS_KEY =
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";
// Ana's "Café Ω" paused at 1:01 of 3:35, its app allowing all the phone asks but
// Next; the music app's "Other" playing, with no timeline.
static const std::string SCRIPT =
    "sessions=2\ncurrent=1\napp1=Spotify.exe\ntitle1=Caf\xC3\xA9 \xCE\xA9\nartist1=Ana\n"
    "status1=5\nposition1=61\nend1=215\nshuffle1=1\nrepeat1=1\ncontrols1=0x5887\n"
    "app2=Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic\ntitle2=Other\nstatus2=4\n";

class MediaSessions : public CPlayerTest, public ::testing::WithParamInterface<int>
{
protected:
    MediaSessions() : CPlayerTest(MEDIA_KEYS), m_folder(m_dir.File("sessions")) {}
    ~MediaSessions() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, CLASS_KEY); }

    void Register()
    {
        CreateDirectoryA(m_folder.c_str(), NULL);
        std::string dll = m_folder + "\\FakeMediaSessions.dll";
        CopyFileA((TestBinDir() + "\\FakeMediaSessions.dll").c_str(), dll.c_str(), FALSE);
        SetScript(SCRIPT);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, CLASS_KEY, "DllPath", REG_SZ, dll.c_str(),
                        static_cast<DWORD>(dll.size() + 1));
    }
    // Replaced in one step, so that the fake never reads half a script; not while
    // the fake reads it (Wine refuses to replace an open file).
    void SetScript(const std::string& script)
    {
        std::string next = m_folder + "\\next.cfg", now = m_folder + "\\FakeMediaSessions.cfg";
        WriteBinaryFile(next, "late=" + std::to_string(GetParam()) + "\n" + script);
        ASSERT_TRUE(WaitUntil(
            [&] { return MoveFileExA(next.c_str(), now.c_str(), MOVEFILE_REPLACE_EXISTING); }));
    }
    std::string Calls() { return m_dir.ReadFile("sessions\\calls.log"); }

    std::string m_folder;
};

TEST_P(MediaSessions, EachRequestGoesToTheSessionUnlessItsAppDoesNotAllowIt)
{
    Register();
    m_fake.Prepare("");
    StartServer(Settings());
    // The fake player takes the focus, and so the keys, once the server's window has shown.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == m_server.Window(); }));
    ASSERT_TRUE(m_fake.Start());
    ASSERT_TRUE(WaitUntil([] { return GetForegroundWindow() == FindWindowA("FakeMediaKeys", 0); }));
    ConnectPhone(m_phone);
    m_fake.ForgetMessages();
    ASSERT_TRUE(m_phone.Send(std::string("STRTPAUSSTOPNEXTPREVSEEK\0\0\0\x5ASHFL\0REPT\0", 38)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ("Spotify.exe TryPlayAsync\nSpotify.exe TryPauseAsync\nSpotify.exe TryStopAsync\n"
              "Spotify.exe TrySkipPreviousAsync\n"
              "Spotify.exe TryChangePlaybackPositionAsync 900000000\n"
              "Spotify.exe TryChangeShuffleActiveAsync 0\n"
              "Spotify.exe TryChangeAutoRepeatModeAsync 0\n",
              Calls());
    const std::string next = "FakeMediaKeys WM_APPCOMMAND 0x0 0xB0000\nFakeMediaKeys WM_KEYDOWN "
                             "0xB0 0x1190001\nFakeMediaKeys WM_KEYUP 0xB0 0xC1190001\n";
    WaitUntil([&] { return JoinLines(m_fake.Messages()).size() >= next.size(); });
    EXPECT_EQ(next, JoinLines(m_fake.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Playing\r\nPause\r\nStopping\r\nNext track\r\nPrevious track\r\n" +
        "Set seek to 90 seconds\r\nChanging shuffle to off\r\nChanging repeat to off\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_P(MediaSessions, InfoShowsTheSessionAndTheNextInf2AChangeOfIt)
{
    Register();
    StartServer(Settings());
    ConnectPhone(m_phone);
    // Paused, 215 s long, at 61 s, shuffle and repeat on; "Ω" is not in the code page.
    EXPECT_EQ(HexBytes(std::string("INFOACK\3\0\0\0\xD7\0\0\0\x3D\1\1Ana - Caf\xE9 ?", 30)),
              HexBytes(ReplyTo("INFO", 30)));
    // The title changes; then the current session is the other app's, playing.
    const std::string steps[][2] = {
        {"title1=New\n", std::string("INF2ACK\3\0\0\0\xD7\0\0\0\x3D\1\1Ana - New\0", 28)},
        {"current=2\n", "INF2ACK\1" + std::string(8, '\xFF') + std::string("\0\0Other\0", 8)}};
    for (const auto& step : steps)
    {
        DeleteFileA((m_folder + "\\calls.log").c_str());
        SetScript(SCRIPT + step[0]);
        ASSERT_TRUE(WaitUntil([&] { return Calls() == "changed\n"; })) << Calls();
        EXPECT_EQ(HexBytes(step[1]), HexBytes(ReplyTo("INF2", step[1].size())));
    }
}

TEST_P(MediaSessions, WithoutTheClassTheKindAnswersAsBeforeAndSaysSoOnce)
{
    StartServer(Settings());
    ConnectPhone(m_phone);
    for (int i = 0; i < 2; i++)
        EXPECT_EQ(
            HexBytes(std::string("INFOACK\0", 8) + std::string(8, '\xFF') + std::string(2, '\0')),
            HexBytes(ReplyTo("INFO", 18)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Media sessions: not available on this system; using the media keys\r\n" + ACK))
        << m_server.LogAfterBanner();
}

INSTANTIATE_TEST_SUITE_P(CompletingAtOnceAndLater, MediaSessions, ::testing::Values(0, 1));
