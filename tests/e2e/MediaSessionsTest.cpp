// The media-keys kind with the fake session manager registered as the system's,
// serving two apps from a script; operations complete at once, then later. The
// fake player takes the keys that stand in for what an app does not allow.
#include "ChannelClient.h"
#include "PlayerTest.h"
#include "WebClient.h"
#include "web/ByteText.h"

static const FakePlayerKind MEDIA_KEYS = {5, "keys", "FakeMediaKeys", "FakeMediaKeys", "mkq"};
static const char* const CLASS_KEY =
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";
// Ana's "Café Ω" of "Blue", with artwork, paused at 1:01 of 3:35, its app allowing all the
// phone asks but Next; the music app's "Other" playing, no timeline, allowing Play and Next.
static const std::string ZUNE = "Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic";
static const std::string SCRIPT =
    "sessions=2\ncurrent=1\napp1=Spotify.exe\ntitle1=Caf\xC3\xA9 \xCE\xA9\nartist1=Ana\n"
    "status1=5\nposition1=61\nend1=215\nshuffle1=1\nrepeat1=1\ncontrols1=0x5887\n"
    "album1=Blue\nthumbnail1=1\ntitle2=Other\nstatus2=4\ncontrols2=0x41\napp2=" +
    ZUNE + "\n";

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
    EXPECT_EQ("RequestAsync\nSpotify.exe TryPlayAsync\nSpotify.exe TryPauseAsync\n"
              "Spotify.exe TryStopAsync\n"
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

// What the page reads over the live channel (the page itself is web_sessions.py's).
TEST_P(MediaSessions, ThePageSeesTheSessionAtOnceAndChoosesTheAppThatCommandsReach)
{
    Register();
    StartServer(Settings() + "WebRemote=1\r\n");
    ASSERT_TRUE(m_server.WaitForLog("Web remote: listening on port 7655\r\n"));
    PagePairing browser = PairWithServer(m_server);
    CChannelClient page;
    ASSERT_TRUE(page.Connect());
    ASSERT_TRUE(page.Open(browser.idHex, browser.key));
    std::string state = page.Request("\"op\":\"status\"");
    size_t nKey = state.find("\"art\":\"") + 7;
    std::string art =
        "\"op\":\"art\",\"key\":\"" + state.substr(nKey, state.find('"', nKey) - nKey) + "\"";
    EXPECT_NE(std::string::npos, state.find("\"track\":\"Caf\xC3\xA9 \xCE\xA9\",\"artist\":\"Ana\","
                                            "\"album\":\"Blue\",\"player\":\"Spotify\""))
        << state;
    std::string png = page.Request(art), bytes;
    const std::string data = ",\"type\":\"image/png\",\"data\":\"";
    size_t nData = png.find(data);
    ASSERT_NE(std::string::npos, nData) << png;
    nData += data.size();
    EXPECT_TRUE(Base64Decode(png.substr(nData, png.find('"', nData) - nData), &bytes)) << png;
    EXPECT_EQ(70u, bytes.size());

    // The first reading is pushed at once; the change comes after it, and how
    // soon is printed here, not asserted, as a busy machine may be slow.
    std::string push = page.NextPush(WAIT_LIMIT_MS);
    EXPECT_NE(std::string::npos, push.find("\"push\":\"state\"")) << push;
    DWORD nStart = GetTickCount();
    SetScript(SCRIPT + "title1=New\n");
    while (!push.empty() && push.find("\"track\":\"New\"") == std::string::npos)
        push = page.NextPush(WAIT_LIMIT_MS);
    printf("The new title reached the page in %lu ms\n", GetTickCount() - nStart);
    EXPECT_NE(std::string::npos, push.find("\"track\":\"New\"")) << push;

    EXPECT_NE(std::string::npos,
              page.Request("\"op\":\"app\",\"app\":\"" + ZUNE + "\"").find("\"ok\":true}"));
    DeleteFileA((m_folder + "\\calls.log").c_str());
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("STRTNEXT"));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_EQ(ZUNE + " TryPlayAsync\n" + ZUNE + " TrySkipNextAsync\n", Calls());
    EXPECT_NE(std::string::npos, page.Request(art).find("\"status\":404"))
        << "the music app has no artwork";
    EXPECT_NE(std::string::npos,
              page.Request("\"op\":\"app\",\"app\":\"Nope\\n\"").find("\"status\":404"));
    EXPECT_TRUE(m_server.WaitForLogToBe(
        "Web remote: listening on port 7655\r\nWeb remote: paired Browser at 127.0.0.1\r\n"
        "Media sessions: now driving ZuneMusic\r\n" +
        CONNECTED + "Playing\r\nNext track\r\n" + ACK +
        "Web remote: refused the app \"Nope\\x0A\" from 127.0.0.1: it has no media session\r\n"))
        << m_server.LogAfterBanner();
}

// The first request for the sessions takes longer than the server waits (3 s of
// 2): the keys stand in, each with a line, until a question 30 s on asks again.
TEST_P(MediaSessions, AfterASlowFirstRequestTheSessionsAreAskedForAgainThirtySecondsOn)
{
    Register();
    SetScript("slow_first_ms=3000\n" + SCRIPT);
    StartServer(Settings());
    ConnectPhone(m_phone);
    auto inf2 = [&]
    {
        std::string head, title;
        EXPECT_TRUE(m_phone.Send("INF2"));
        EXPECT_TRUE(m_phone.Receive(18, head, REPLY_TIMEOUT_MS) &&
                    m_phone.ReceiveThrough('\0', title, REPLY_TIMEOUT_MS));
        return HexBytes(head + title);
    };
    EXPECT_EQ(
        HexBytes("INF2ACK" + std::string(1, '\0') + std::string(8, '\xFF') + std::string(3, '\0')),
        inf2());
    DWORD nFailedAt = GetTickCount();
    const std::string session =
        HexBytes(std::string("INF2ACK\3\0\0\0\xD7\0\0\0\x3D\1\1Ana - Caf\xE9 ?\0", 31));
    ASSERT_TRUE(WaitUntil([&] { return inf2() == session; }, 2 * WAIT_LIMIT_MS));
    EXPECT_GE(GetTickCount() - nFailedAt, 29000u) << "asked again too soon";
    EXPECT_EQ("RequestAsync\nRequestAsync\n", Calls()) << "once at the first INF2, once 30 s on";
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED +
        "Media sessions: couldn't reach the system's media sessions (SessionManager.RequestAsync "
        "failed with 0x800705B4); using the media keys\r\nMedia sessions: available now\r\n"))
        << m_server.LogAfterBanner();
}

INSTANTIATE_TEST_SUITE_P(CompletingAtOnceAndLater, MediaSessions, ::testing::Values(0, 1));
