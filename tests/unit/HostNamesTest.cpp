#include <gtest/gtest.h>
#include "web/HostNames.h"

TEST(HostNames, OnlyThisPcsNamesAndAddresses)
{
    PcNames pc;
    pc.addresses = {0xC0A80114u, 0x0A4D0001u}; // 192.168.1.20, 10.77.0.1
    pc.names = {"QUORVEL-PC", "quorvel-pc", "quorvel-pc.home.lan"};
    const std::pair<const char*, bool> cases[] = {
        {"192.168.1.20:7655", true},
        {"10.77.0.1", true},
        {"127.0.0.1:7655", true},
        {"127.8.9.10", true},
        {"localhost:7655", true},
        {"LocalHost.", true},
        {"Quorvel-PC:80", true},
        {"quorvel-pc.home.lan.", true},
        {"evil.example", false},
        {"evil.example:7655", false},
        {"192.168.1.21", false},
        {"quorvel-pc.evil.example", false},
        {"localhost.evil.example", false},
        {"", false},
        {":7655", false},
        {"localhost:", false},
        {"localhost:76550", false},
        {"localhost:x", false},
        {"[::1]:7655", false},
        {"192.168.1.20.", false},
        {"0x7f.1", false},
        {"localhost..", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, IsHostOfThisPc(c.first, pc)) << c.first;
}
