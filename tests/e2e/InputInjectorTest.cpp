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
    bool Recorded(const std::string& line) { return m_fake.WaitForMessage(line); }

    CTempDir m_dir;
    CFakePlayer m_fake;
    CInputInjector m_injector;
};

TEST_F(InputInjector, MovesGoExactlyAsFarAsAskedWhateverTheAcceleration)
{
    // Windows' own acceleration would take fast relative moves further.
    int kept[3] = {};
    SystemParametersInfoA(SPI_GETMOUSE, 0, kept, 0);
    int accel[3] = {6, 10, 2};
    SystemParametersInfoA(SPI_SETMOUSE, 0, accel, 0);
    ASSERT_TRUE(SetCursorPos(200, 200));
    const struct { const char* pszEvents; int x, y; } cases[] = {
        {"[{\"t\":\"move\",\"dx\":1}]", 201, 200},
        {"[{\"t\":\"move\",\"dx\":-1,\"dy\":1}]", 200, 201},
        {"[{\"t\":\"move\",\"dx\":37,\"dy\":-21}]", 237, 180},
        {"[{\"t\":\"move\",\"dx\":5,\"dy\":5},{\"t\":\"move\",\"dx\":5,\"dy\":5},{\"t\":\"move\",\"dx\":-3}]",
         244, 190},
        {"[{\"t\":\"move\",\"dx\":300,\"dy\":150}]", 544, 340},
        // The edge of the screen holds the pointer.
        {"[{\"t\":\"move\",\"dx\":-5000,\"dy\":-5000}]", 0, 0},
    };
    for (const auto& c : cases)
    {
        Play(m_injector, c.pszEvents);
        POINT at = {};
        GetCursorPos(&at);
        EXPECT_TRUE(CursorAt(c.x, c.y)) << c.pszEvents << " at " << at.x << "," << at.y;
    }
    SystemParametersInfoA(SPI_SETMOUSE, 0, kept, 0);
}

TEST_F(InputInjector, ButtonsAndTheWheelArriveWhereThePointerIs)
{
    ASSERT_TRUE(SetCursorPos(320, 300));
    ASSERT_TRUE(CursorAt(320, 300));
    Play(m_injector, "[{\"t\":\"click\",\"b\":\"left\"},{\"t\":\"click\",\"b\":\"right\"},"
                     "{\"t\":\"button\",\"b\":\"middle\",\"down\":true},{\"t\":\"move\",\"dx\":10},"
                     "{\"t\":\"button\",\"b\":\"middle\",\"down\":false},"
                     "{\"t\":\"wheel\",\"dy\":240},{\"t\":\"wheel\",\"dx\":-30}]");
    ASSERT_TRUE(Recorded("wheel h -30"));
    EXPECT_EQ("left down 320 300\nleft up 320 300\nright down 320 300\nright up 320 300\n"
              "middle down 320 300\nmiddle up 330 300\nwheel v -240\nwheel h -30\n",
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
    ASSERT_TRUE(SetCursorPos(320, 300));
    {
        CInputInjector injector;
        Play(injector, "[{\"t\":\"mod\",\"k\":\"ctrl\",\"down\":true},{\"t\":\"mod\",\"k\":\"shift\",\"down\":true},"
                       "{\"t\":\"button\",\"b\":\"left\",\"down\":true}]");
        EXPECT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }));
        EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
        EXPECT_TRUE(injector.IsHoldingAnything());
    }
    EXPECT_TRUE(WaitUntil([] {
        return !(GetAsyncKeyState(VK_CONTROL) & 0x8000) && !(GetAsyncKeyState(VK_SHIFT) & 0x8000) &&
               !(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    }));
    EXPECT_TRUE(Recorded("left up 320 300"));
}

TEST_F(InputInjector, AWindowOfTheSameUserIsWithinReach)
{
    EXPECT_EQ(INPUT_REACH_ALL, InputReachNow());
    EXPECT_STREQ("", InputReachName(InputReachNow()));
}
