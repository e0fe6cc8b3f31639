#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "PhoneArguments.h"

static std::string Wire(const char* pBytes, size_t nCount)
{
    return std::string(pBytes, nCount);
}

TEST(PhoneArguments, CommandsBecomeTheirWireBytes)
{
    struct Case
    {
        const char* pszArgument;
        std::string bytes;
    };
    const Case cases[] = {
        {"VERS", "VERS"},
        {"VOLM:128", Wire("VOLM\x80", 5)},
        {"VOLM:010", Wire("VOLM\x0A", 5)}, // decimal, not octal
        {"SHFL:1", Wire("SHFL\x01", 5)},
        {"SLCT:258", Wire("SLCT\x01\x02", 6)},
        {"SEEK:300", Wire("SEEK\x00\x00\x01\x2C", 8)},
        {"SEEK:2147483647", Wire("SEEK\x7F\xFF\xFF\xFF", 8)},
        {"DLST:", Wire("DLST\x00\x00", 6)},
        {"DLST", Wire("DLST\x00\x00", 6)},
        {"PLAY:C:\\a.mp3", Wire("PLAY\x00\x08", 6) + "C:\\a.mp3"},
    };
    for (const Case& c : cases)
    {
        PhoneArguments arguments;
        std::string error;
        ASSERT_TRUE(ParsePhoneArguments({c.pszArgument}, arguments, error)) << c.pszArgument;
        ASSERT_EQ(1u, arguments.requests.size());
        EXPECT_EQ(c.bytes, arguments.requests[0].bytes) << c.pszArgument;
    }
}

TEST(PhoneArguments, OptionsChooseTheLinkAndTheOutput)
{
    PhoneArguments arguments;
    std::string error;
    ASSERT_TRUE(ParsePhoneArguments({"VERS", "LIST"}, arguments, error));
    EXPECT_FALSE(arguments.bSerial);
    EXPECT_EQ("127.0.0.1", arguments.host);
    EXPECT_EQ(7654, arguments.nPort);
    EXPECT_EQ(2u, arguments.requests.size());

    ASSERT_TRUE(ParsePhoneArguments({"--tcp", "10.0.0.2:8000", "--raw", "--wait", "90", "LIST"},
                                    arguments, error));
    EXPECT_EQ("10.0.0.2", arguments.host);
    EXPECT_EQ(8000, arguments.nPort);
    EXPECT_TRUE(arguments.bRaw);
    EXPECT_EQ(90, arguments.nWaitSeconds);

    ASSERT_TRUE(ParsePhoneArguments({"--com", "com13", "CHCK"}, arguments, error));
    EXPECT_TRUE(arguments.bSerial);
    EXPECT_EQ("COM13", arguments.comPort);

    ASSERT_TRUE(ParsePhoneArguments({"VOLM:999", "--help"}, arguments, error));
    EXPECT_TRUE(arguments.bHelp) << "--help wins over anything else";
}

TEST(PhoneArguments, EveryBadArgumentIsRefusedWithOneLine)
{
    const std::string longPath = "PLAY:" + std::string(1024, 'x');
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--raw"},
        {"vers"},
        {"VERS:1"},
        {"VOLM"},
        {"VOLM:256"},
        {"VOLM:0x80"},
        {"SLCT:65536"},
        {"SEEK:2147483648"},
        {"SEEK:-1"}, // seconds from the start, as the usage says (SHFL:2, REPT:5: PhoneToolTest)
        {"PLAY"},
        {"PLAY:"},
        {longPath},
        {"VERS", "NOPE"},
        {"--tcp"},
        {"--tcp", ":7654", "VERS"},
        {"--tcp", "host:99999", "VERS"},
        {"--com", "CO", "VERS"},
        {"--com", "COM0", "VERS"},
        {"--tcp", "a", "--com", "COM3", "VERS"},
        {"--wait", "0", "VERS"},
        {"--verbose", "VERS"},
    };
    for (const std::vector<std::string>& args : cases)
    {
        PhoneArguments arguments;
        std::string error;
        std::string joined;
        for (const std::string& arg : args)
            joined += arg.substr(0, 20) + " ";
        EXPECT_FALSE(ParsePhoneArguments(args, arguments, error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
        EXPECT_EQ(std::string::npos, error.find('\n')) << joined;
    }
    PhoneArguments arguments;
    std::string error;
    EXPECT_TRUE(ParsePhoneArguments({longPath.substr(0, 5 + 1023)}, arguments, error))
        << "1023 bytes is the longest name the server takes";
}
