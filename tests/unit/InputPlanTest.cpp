#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "players/InputPlan.h"
#include "web/InputEvents.h"

// Each step as a short word, so that whole sequences compare at once.
static std::string Describe(const std::vector<InputStep>& steps)
{
    std::string text;
    char szStep[48];
    for (size_t i = 0; i < steps.size(); i++)
    {
        const InputStep& s = steps[i];
        const char* pszUp = s.bUp ? "up" : "down";
        if (s.nType == INPUT_STEP_MOVE)
            snprintf(szStep, sizeof(szStep), "move%d,%d", s.nDx, s.nDy);
        else if (s.nType == INPUT_STEP_BUTTON)
            snprintf(szStep, sizeof(szStep), "b%d%s", s.nButton, pszUp);
        else if (s.nType == INPUT_STEP_WHEEL)
            snprintf(szStep, sizeof(szStep), "wheel%d,%d", s.nDx, s.nDy);
        else if (s.nType == INPUT_STEP_KEY)
            snprintf(szStep, sizeof(szStep), "k%02X%s%s", s.key.nVirtualKey, s.key.bExtended ? "x" : "", pszUp);
        else
            snprintf(szStep, sizeof(szStep), "u%04X%s", s.nUnit, pszUp);
        text += (text.empty() ? "" : " ") + std::string(szStep);
    }
    return text;
}

static std::string Plan(CInputTracker& tracker, const char* pszEvents)
{
    std::vector<InputEvent> events;
    std::string error;
    EXPECT_TRUE(ReadInputMessage(std::string("{\"op\":\"input\",\"events\":") + pszEvents + "}",
                                 &events, &error)) << pszEvents << ": " << error;
    std::vector<InputStep> steps;
    for (size_t i = 0; i < events.size(); i++)
        tracker.Plan(events[i], &steps);
    return Describe(steps);
}

TEST(InputPlan, KeysHaveTheirVirtualKeyScanCodeAndExtendedFlag)
{
    const struct { const char* pszName; unsigned nVk, nScan; bool bExtended; } keys[] = {
        {"Esc", 0x1B, 0x01, false}, {"Enter", 0x0D, 0x1C, false}, {"Backspace", 0x08, 0x0E, false},
        {"Tab", 0x09, 0x0F, false}, {"Delete", 0x2E, 0x53, true}, {"Insert", 0x2D, 0x52, true},
        {"Up", 0x26, 0x48, true}, {"Left", 0x25, 0x4B, true}, {"Home", 0x24, 0x47, true},
        {"End", 0x23, 0x4F, true}, {"PgUp", 0x21, 0x49, true}, {"PgDn", 0x22, 0x51, true},
        {"F1", 0x70, 0x3B, false}, {"F11", 0x7A, 0x57, false}, {"F12", 0x7B, 0x58, false},
        {"Win", 0x5B, 0x5B, true}, {"A", 0x41, 0, false}, {"Z", 0x5A, 0, false}, {"0", 0x30, 0, false},
    };
    for (size_t i = 0; i < sizeof(keys) / sizeof(keys[0]); i++)
    {
        InputKey key = {};
        ASSERT_TRUE(FindInputKey(keys[i].pszName, &key)) << keys[i].pszName;
        EXPECT_EQ(keys[i].nVk, key.nVirtualKey) << keys[i].pszName;
        EXPECT_EQ(keys[i].nScan, key.nScanCode) << keys[i].pszName;
        EXPECT_EQ(keys[i].bExtended, key.bExtended) << keys[i].pszName;
    }
    InputKey key = {};
    for (const char* pszName : {"a", "F13", "F0", "Control", "", "AB", "enter", "\xC3\xA9"})
        EXPECT_FALSE(FindInputKey(pszName, &key)) << pszName;
}

TEST(InputPlan, StepsOfEachEvent)
{
    const std::pair<const char*, const char*> cases[] = {
        // Moves in a row are one; one after a click is another.
        {"[{\"t\":\"move\",\"dx\":3,\"dy\":4},{\"t\":\"move\",\"dx\":-1,\"dy\":2},{\"t\":\"click\",\"b\":\"left\"},"
         "{\"t\":\"move\",\"dx\":5}]", "move2,6 b0down b0up move5,0"},
        {"[{\"t\":\"text\",\"s\":\"\xF0\x9F\x98\x80\"}]", "uD83Ddown uD83Dup uDE00down uDE00up"},
        {"[{\"t\":\"text\",\"s\":\"\xC3\xA9\\r\\nb\\tc\"}]",
         "u00E9down u00E9up k0Ddown k0Dup u0062down u0062up k09down k09up u0063down u0063up"},
        // The page's down is positive, Windows' up is.
        {"[{\"t\":\"wheel\",\"dx\":30,\"dy\":-60}]", "wheel0,60 wheel30,0"},
        {"[{\"t\":\"key\",\"k\":\"A\",\"mods\":[\"ctrl\",\"shift\"]}]",
         "k11down k10down k41down k41up k10up k11up"},
        {"[{\"t\":\"key\",\"k\":\"Up\"},{\"t\":\"key\",\"k\":\"D\",\"mods\":[\"win\"]}]",
         "k26xdown k26xup k5Bxdown k44down k44up k5Bxup"},
        // A locked modifier is not pressed again around a key, nor let go after it.
        {"[{\"t\":\"mod\",\"k\":\"alt\",\"down\":true},{\"t\":\"key\",\"k\":\"Tab\",\"mods\":[\"alt\"]},"
         "{\"t\":\"key\",\"k\":\"Tab\",\"mods\":[\"alt\"]},{\"t\":\"mod\",\"k\":\"alt\",\"down\":false}]",
         "k12down k09down k09up k09down k09up k12up"},
        // Nothing is pressed twice or let go that was not pressed.
        {"[{\"t\":\"button\",\"b\":\"right\",\"down\":true},{\"t\":\"button\",\"b\":\"right\",\"down\":true},"
         "{\"t\":\"click\",\"b\":\"right\"},{\"t\":\"button\",\"b\":\"right\",\"down\":false},"
         "{\"t\":\"mod\",\"k\":\"shift\",\"down\":false}]", "b1down b1up"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        CInputTracker tracker;
        EXPECT_EQ(cases[i].second, Plan(tracker, cases[i].first)) << i;
        EXPECT_FALSE(tracker.IsHoldingAnything()) << i;
    }
}

TEST(InputPlan, ReleaseAllLetsGoOfWhatIsHeldOnce)
{
    CInputTracker tracker;
    EXPECT_EQ("k11down b0down b2down k5Bxdown",
              Plan(tracker, "[{\"t\":\"mod\",\"k\":\"ctrl\",\"down\":true},{\"t\":\"button\",\"b\":\"left\","
                            "\"down\":true},{\"t\":\"button\",\"b\":\"middle\",\"down\":true},"
                            "{\"t\":\"mod\",\"k\":\"win\",\"down\":true}]"));
    EXPECT_TRUE(tracker.IsHoldingAnything());
    std::vector<InputStep> steps;
    tracker.ReleaseAll(&steps);
    EXPECT_EQ("b0up b2up k5Bxup k11up", Describe(steps));
    EXPECT_FALSE(tracker.IsHoldingAnything());
    steps.clear();
    tracker.ReleaseAll(&steps);
    EXPECT_TRUE(steps.empty());
}

// However the system scales 0..65535 to pixels (floor of n * size / 65536, or
// rounded n * (size - 1) / 65535), the coordinate lands on the pixel asked for.
TEST(InputPlan, AbsoluteCoordinatesLandOnTheirPixel)
{
    const int sizes[] = {640, 1024, 1366, 1920, 3840, 7680};
    const int origins[] = {0, -1920};
    for (size_t i = 0; i < sizeof(sizes) / sizeof(sizes[0]); i++)
    {
        for (size_t o = 0; o < 2; o++)
        {
            long long nSize = sizes[i];
            for (int p = 0; p < sizes[i]; p++)
            {
                long long n = AbsoluteCoordinate(origins[o] + p, origins[o], sizes[i]);
                ASSERT_GE(n, 0);
                ASSERT_LE(n, 65535);
                ASSERT_EQ(p, n * nSize / 65536) << nSize << " " << p;
                ASSERT_EQ(p, (n * (nSize - 1) + 32767) / 65535) << nSize << " " << p;
            }
        }
    }
    // Beyond the edges: the edge pixel.
    EXPECT_EQ(AbsoluteCoordinate(0, 0, 1920), AbsoluteCoordinate(-50, 0, 1920));
    EXPECT_EQ(AbsoluteCoordinate(1919, 0, 1920), AbsoluteCoordinate(5000, 0, 1920));
}
