#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/InputEvents.h"

TEST(InputEvents, ReadsEachKindOfEvent)
{
    std::vector<InputEvent> events;
    std::string error;
    ASSERT_TRUE(ReadInputMessage(
        "{\"op\":\"input\",\"events\":[{\"t\":\"move\",\"dx\":-7,\"dy\":32767},"
        "{\"t\":\"button\",\"b\":\"middle\",\"down\":true},{\"t\":\"wheel\",\"dy\":12000},"
        "{\"t\":\"key\",\"k\":\"PgDn\",\"mods\":[\"alt\",\"win\"]},{\"t\":\"mod\",\"k\":\"shift\",\"down\":false}]}",
        &events, &error)) << error;
    ASSERT_EQ(5u, events.size());
    EXPECT_EQ(-7, events[0].nDx);
    EXPECT_EQ(32767, events[0].nDy);
    EXPECT_EQ(INPUT_BUTTON_MIDDLE, events[1].nButton);
    EXPECT_TRUE(events[1].bDown);
    EXPECT_EQ(12000, events[2].nDy);
    EXPECT_EQ(0x22, events[3].key.nVirtualKey);
    EXPECT_EQ(INPUT_MOD_ALT | INPUT_MOD_WIN, events[3].nMods);
    EXPECT_EQ(INPUT_MOD_SHIFT, events[4].nMods);
    EXPECT_FALSE(events[4].bDown);
}

TEST(InputEvents, RefusesTheWholeMessageForOneBadEvent)
{
    const char* bad[] = {
        "{\"t\":\"move\",\"dx\":1.5}", "{\"t\":\"move\",\"dx\":32768}", "{\"t\":\"move\",\"dy\":\"3\"}",
        "{\"t\":\"wheel\",\"dy\":-12001}", "{\"t\":\"button\",\"b\":\"side\",\"down\":true}",
        "{\"t\":\"button\",\"b\":\"left\"}", "{\"t\":\"click\"}", "{\"t\":\"text\"}",
        "{\"t\":\"text\",\"s\":\"secret\\u0001\"}", "{\"t\":\"text\",\"s\":\"secret\\u007f\"}",
        "{\"t\":\"key\",\"k\":\"F13\"}", "{\"t\":\"key\",\"k\":\"A\",\"mods\":[\"meta\"]}",
        "{\"t\":\"key\",\"k\":\"A\",\"mods\":\"ctrl\"}", "{\"t\":\"mod\",\"k\":\"ctrl\"}",
        "{\"t\":\"mod\",\"k\":\"hyper\",\"down\":true}", "{\"t\":\"jump\"}", "[1]", "\"move\""};
    for (size_t i = 0; i < sizeof(bad) / sizeof(bad[0]); i++)
    {
        std::vector<InputEvent> events;
        std::string error;
        std::string json = std::string("{\"events\":[{\"t\":\"click\",\"b\":\"left\"},") + bad[i] + "]}";
        EXPECT_FALSE(ReadInputMessage(json, &events, &error)) << bad[i];
        EXPECT_TRUE(events.empty()) << bad[i];
        EXPECT_EQ(0u, error.find("event 2: ")) << error;
        // What was typed never shows in the reason, which is logged.
        EXPECT_EQ(std::string::npos, error.find("secret")) << error;
    }
    std::string many = "{\"events\":[";
    for (size_t i = 0; i <= INPUT_MAX_EVENTS; i++)
        many += "{\"t\":\"move\",\"dx\":1},";
    many[many.size() - 1] = ']';
    std::vector<InputEvent> events;
    std::string error;
    EXPECT_FALSE(ReadInputMessage(many + "}", &events, &error));
    EXPECT_EQ("too many events", error);
    std::string text(INPUT_MAX_TEXT_UNITS / 2, 'x');
    for (size_t i = 0; i < INPUT_MAX_TEXT_UNITS / 4; i++)
        text += "\xF0\x9F\x98\x80";
    EXPECT_TRUE(ReadInputMessage("{\"events\":[{\"t\":\"text\",\"s\":\"" + text + "\"}]}", &events, &error));
    EXPECT_FALSE(ReadInputMessage("{\"events\":[{\"t\":\"text\",\"s\":\"" + text + "y\"}]}", &events, &error));
}
