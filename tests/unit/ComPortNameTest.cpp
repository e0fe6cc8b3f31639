#include <gtest/gtest.h>
#include <string>
#include "links/ComPortName.h"

static std::string Normalised(const char* pszTyped)
{
    char name[32];
    snprintf(name, sizeof(name), "%s", pszTyped);
    NormaliseComPortName(name, sizeof(name));
    return name;
}

TEST(ComPortName, TheFirstPositiveNumberMakesTheName)
{
    EXPECT_EQ("COM3", Normalised("3"));
    EXPECT_EQ("COM3", Normalised("COM3"));
    EXPECT_EQ("COM3", Normalised("com 3"));
    EXPECT_EQ("COM3", Normalised("COM03"));
    EXPECT_EQ("COM12", Normalised("port12x7"));
    EXPECT_EQ("COM3", Normalised("-3")) << "-3 is not above 0, the 3 after it is";
    EXPECT_EQ("COM2147483647", Normalised("99999999999999")) << "saturates instead of overflowing";
}

TEST(ComPortName, WithoutAPositiveNumberTheTextStaysAsTyped)
{
    EXPECT_EQ("COM0", Normalised("COM0"));
    EXPECT_EQ("", Normalised(""));
    EXPECT_EQ("Bluetooth", Normalised("Bluetooth"));
}

TEST(ComPortName, DevicePathFormAndLengthLimit)
{
    char path[300];
    ASSERT_TRUE(BuildComDevicePath("COM12", path, sizeof(path)));
    EXPECT_STREQ("\\\\.\\COM12", path);
    EXPECT_TRUE(BuildComDevicePath(std::string(251, 'c').c_str(), path, sizeof(path)));
    EXPECT_FALSE(BuildComDevicePath(std::string(252, 'c').c_str(), path, sizeof(path)));
    EXPECT_FALSE(BuildComDevicePath("COM3", path, 6)) << "a buffer too small is refused";
}

TEST(ComPortName, OpenFailureLinesByErrorCode)
{
    char line[512];
    FormatSerialOpenFailure(line, sizeof(line), "COM9", 2);
    EXPECT_STREQ("Couldn't find port \"COM9\".\r\nDid you enter a valid COM port in the format "
                 "\"COMn\" (where n is a number)?\r\n",
                 line);
    FormatSerialOpenFailure(line, sizeof(line), "COM3", 5);
    EXPECT_STREQ(
        "Couldn't open port COM3: it appears to be in use. Is PC Suite using this port?\r\n", line);
    FormatSerialOpenFailure(line, sizeof(line), "COM3", 31);
    EXPECT_STREQ("Couldn't open port COM3 (error 31).\r\nChoose a different port and press "
                 "\"Connect\".\r\n",
                 line);
}

TEST(ComPortName, ServiceNamesMatchCaseSensitively)
{
    EXPECT_TRUE(IsQuorvelServiceName("Quorvel"));
    EXPECT_TRUE(IsQuorvelServiceName("quorvel server"));
    EXPECT_TRUE(IsQuorvelServiceName("Serial Port"));
    EXPECT_TRUE(IsQuorvelServiceName("serial"));
    EXPECT_FALSE(IsQuorvelServiceName("SERIAL"));
    EXPECT_FALSE(IsQuorvelServiceName("QUORVEL"));
    EXPECT_FALSE(IsQuorvelServiceName(""));
}
