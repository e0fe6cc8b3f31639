#include <gtest/gtest.h>
#include <string>
#include "web/DownloadTickets.h"
#include "web/JsonReader.h"

TEST(JsonReader, ReadsTheChannelsMessages)
{
    CJsonValue value;
    ASSERT_TRUE(
        ParseJson(" {\"id\": 7, \"op\":\"list\", \"path\":\"C:\\\\M\\u00fcsik\\ud83c\\udfb5\","
                  " \"events\":[{\"t\":\"move\",\"dx\":-3}, true, null, 1.25e1]} ",
                  &value));
    long long nId = 0;
    ASSERT_TRUE(value.Find("id") && value.Find("id")->WholeNumber(0, 100, &nId));
    EXPECT_EQ(7, nId);
    EXPECT_EQ("list", value.Find("op")->Text());
    EXPECT_EQ("C:\\M\xC3\xBCsik\xF0\x9F\x8E\xB5", value.Find("path")->Text());
    const std::vector<CJsonValue>& events = value.Find("events")->Items();
    ASSERT_EQ(4u, events.size());
    EXPECT_EQ(-3, events[0].Find("dx")->Number());
    EXPECT_TRUE(events[1].Flag());
    EXPECT_EQ(CJsonValue::JSON_NULL, events[2].GetType());
    EXPECT_EQ(12.5, events[3].Number());
    EXPECT_FALSE(events[3].WholeNumber(0, 100, &nId));
    EXPECT_EQ(NULL, value.Find("absent"));
}

TEST(JsonReader, RefusesWhatIsNotJson)
{
    const std::string bad[] = {"",
                               "{",
                               "{\"a\":1,}",
                               "[1 2]",
                               "01",
                               "1.",
                               "-",
                               "\"a\nb\"",
                               "\"\\x\"",
                               "\"\\ud800\"",
                               "\"\\udc00x\"",
                               "\"\xC3(\"",
                               "{} {}",
                               "{'a':1}",
                               "tru",
                               "nul",
                               std::string("\"a\0\"", 4)};
    for (const std::string& text : bad)
    {
        CJsonValue value;
        EXPECT_FALSE(ParseJson(text, &value)) << text;
    }
    std::string deep(JSON_MAX_DEPTH + 2, '[');
    CJsonValue value;
    EXPECT_FALSE(ParseJson(deep + std::string(JSON_MAX_DEPTH + 2, ']'), &value));
    EXPECT_TRUE(
        ParseJson(std::string(JSON_MAX_DEPTH, '[') + std::string(JSON_MAX_DEPTH, ']'), &value));
}

TEST(DownloadTickets, EachServesOneGetWithinItsTime)
{
    CDownloadTickets tickets;
    std::string path;
    tickets.Add("a", "C:\\a.mp3", 1000);
    tickets.Add("b", "C:\\b.mp3", 1000);
    EXPECT_FALSE(tickets.Take("c", 1000, &path));
    EXPECT_TRUE(tickets.Take("a", 1000 + DOWNLOAD_TICKET_MS, &path));
    EXPECT_EQ("C:\\a.mp3", path);
    EXPECT_FALSE(tickets.Take("a", 1001, &path)) << "used once already";
    EXPECT_FALSE(tickets.Take("b", 1001 + DOWNLOAD_TICKET_MS, &path)) << "expired";
    for (size_t i = 0; i <= MAX_DOWNLOAD_TICKETS; i++)
        tickets.Add(std::to_string(i), "p", 5000);
    EXPECT_FALSE(tickets.Take("0", 5000, &path)) << "the oldest gave way";
    EXPECT_TRUE(tickets.Take("1", 5000, &path));
}
