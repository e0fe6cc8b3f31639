// The touchpad's events played with SendInput under Wine against a window of our
// own: the pointer goes exactly as far as asked, clicks and wheel turns arrive
// where it is, text arrives whole, and nothing is left held.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include "FakePlayer.h"
#include "players/InputInjector.h"
#include "players/InputReach.h"
#include "web/InputEvents.h"

class InputInjector : public ::testing::Test
{
protected:
    InputInjector() : m_fake(m_dir, "input", "FakeInputWindow", "FakeInputWindow") {}
    void SetUp() override
    {
        m_fake.Prepare("");
        ASSERT_TRUE(m_fake.Start());
        HWND hFake = FindWindowA("FakeInputWindow", NULL);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hFake; }));
        // Under Wine a window taking the focus sets the modifiers as X has them, all
        // up: a first key typed and seen means that has happened.
        Play(m_injector, "[{\"t\":\"text\",\"s\":\"x\"},{\"t\":\"key\",\"k\":\"Backspace\"}]");
        ASSERT_TRUE(Recorded("text "));
        m_fake.ForgetMessages();
    }
    void Play(CInputInjector& injector, const std::string& events)
    {
        std::vector<InputEvent> read;
        std::string error;
        ASSERT_TRUE(ReadInputMessage("{\"events\":" + events + "}", &read, &error)) << error;
        EXPECT_TRUE(injector.Play(read));
    }
    bool CursorAt(int x, int y)
    {
        POINT at = {};
        return WaitUntil([&] { return GetCursorPos(&at) && at.x == x && at.y == y; }, 5000);
    }
    // Under Wine, X tells a window under the pointer where it had it, late: the
    // pointer is put until it stays there for five looks in a row.
    bool PutCursor(int x, int y)
    {
        POINT at = {};
        int nSteady = 0;
        return WaitUntil([&] {
            bool bThere = GetCursorPos(&at) && at.x == x && at.y == y;
            nSteady = bThere ? nSteady + 1 : 0;
            if (!bThere)
                SetCursorPos(x, y);
            return nSteady >= 5;
        });
    }
    bool Recorded(const std::string& line) { return m_fake.WaitForMessage(line); }

    CTempDir m_dir;
    CFakePlayer m_fake;
    CInputInjector m_injector;
};

// Away from the fake's window: Wine's window under the pointer reports where X
// has it, late, which would move it back for a moment.
TEST_F(InputInjector, MovesGoExactlyAsFarAsAskedWhateverTheAcceleration)
{
    // Windows' own acceleration would take fast relative moves further.
    int kept[3] = {};
    SystemParametersInfoA(SPI_GETMOUSE, 0, kept, 0);
    int accel[3] = {6, 10, 2};
    SystemParametersInfoA(SPI_SETMOUSE, 0, accel, 0);
    int nRight = GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1;
    int nBottom = GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
    ASSERT_TRUE(PutCursor(700, 500));
    const struct { const char* pszEvents; int x, y; } cases[] = {
        {"[{\"t\":\"move\",\"dx\":1}]", 701, 500},
        {"[{\"t\":\"move\",\"dx\":-1,\"dy\":1}]", 700, 501},
        {"[{\"t\":\"move\",\"dx\":37,\"dy\":21}]", 737, 522},
        {"[{\"t\":\"move\",\"dx\":5,\"dy\":5},{\"t\":\"move\",\"dx\":5,\"dy\":5},{\"t\":\"move\",\"dx\":-3}]",
         744, 532},
        {"[{\"t\":\"move\",\"dx\":200,\"dy\":150}]", 944, 682},
        // The edge of the screen holds the pointer.
        {"[{\"t\":\"move\",\"dx\":5000,\"dy\":5000}]", nRight, nBottom},
    };
    for (const auto& c : cases)
    {
        Play(m_injector, c.pszEvents);
        POINT at = {};
        EXPECT_TRUE(CursorAt(c.x, c.y)) << c.pszEvents << " at " << (GetCursorPos(&at), at.x) << "," << at.y;
    }
    SystemParametersInfoA(SPI_SETMOUSE, 0, kept, 0);
    // Handed to the injector's own thread, which merges each message's moves.
    std::vector<InputEvent> moves(50);
    for (size_t i = 0; i < moves.size(); i++)
    {
        moves[i].nType = INPUT_EVENT_MOVE;
        moves[i].nDx = -1;
        moves[i].nDy = -1;
    }
    for (int i = 0; i < 3; i++)
        m_injector.Submit(moves);
    EXPECT_TRUE(CursorAt(nRight - 150, nBottom - 150));
}

// Without moves in between: under Wine, X tells the window under the pointer
// where it has it, late, and a button could arrive where the pointer was.
TEST_F(InputInjector, ButtonsAndTheWheelArriveWhereThePointerIs)
{
    ASSERT_TRUE(PutCursor(320, 200));
    Play(m_injector, "[{\"t\":\"click\",\"b\":\"left\"},{\"t\":\"click\",\"b\":\"right\"},"
                     "{\"t\":\"button\",\"b\":\"middle\",\"down\":true},"
                     "{\"t\":\"button\",\"b\":\"middle\",\"down\":false},"
                     "{\"t\":\"wheel\",\"dy\":240},{\"t\":\"wheel\",\"dx\":-30}]");
    ASSERT_TRUE(Recorded("wheel h -30")) << JoinLines(m_fake.Messages());
    EXPECT_EQ("left down 320 200\nleft up 320 200\nright down 320 200\nright up 320 200\n"
              "middle down 320 200\nmiddle up 320 200\nwheel v -240\nwheel h -30\n",
              JoinLines(m_fake.Messages()));
}

TEST_F(InputInjector, TextArrivesWholeAndCtrlABackspaceEmptiesTheField)
{
    Play(m_injector, "[{\"t\":\"text\",\"s\":\"H\xC3\xA9llo w\xC3\xB6rld \xE2\x9C\x93 \xF0\x9F\x98\x80\"}]");
    EXPECT_TRUE(Recorded("text 48c3a96c6c6f2077c3b6726c6420e29c9320f09f9880")) << JoinLines(m_fake.Messages());
    Play(m_injector, "[{\"t\":\"key\",\"k\":\"A\",\"mods\":[\"ctrl\"]},{\"t\":\"key\",\"k\":\"Backspace\"}]");
    EXPECT_TRUE(Recorded("text ")) << JoinLines(m_fake.Messages());
    EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
}

TEST_F(InputInjector, NothingIsLeftHeldWhenTheInjectorGoes)
{
    ASSERT_TRUE(PutCursor(320, 200));
    {
        CInputInjector injector;
        std::vector<InputEvent> events;
        std::string error;
        ASSERT_TRUE(ReadInputMessage("{\"events\":[{\"t\":\"mod\",\"k\":\"ctrl\",\"down\":true},"
                                     "{\"t\":\"mod\",\"k\":\"shift\",\"down\":true},"
                                     "{\"t\":\"button\",\"b\":\"left\",\"down\":true}]}", &events, &error));
        injector.Submit(events);
        EXPECT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }));
        EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
        EXPECT_TRUE(injector.IsHoldingAnything());
    }
    EXPECT_TRUE(WaitUntil([] {
        return !(GetAsyncKeyState(VK_CONTROL) & 0x8000) && !(GetAsyncKeyState(VK_SHIFT) & 0x8000) &&
               !(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    }));
    EXPECT_TRUE(Recorded("left up 320 200")) << JoinLines(m_fake.Messages());
}

TEST_F(InputInjector, AWindowOfTheSameUserIsWithinReach)
{
    EXPECT_EQ(INPUT_REACH_ALL, InputReachNow());
    EXPECT_STREQ("", InputReachName(InputReachNow()));
}
