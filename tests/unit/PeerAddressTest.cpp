#include <gtest/gtest.h>
#include "web/PeerAddress.h"

TEST(PeerAddress, IPv4RangesAndTheirEdges)
{
    auto IPv4 = [](unsigned a, unsigned b, unsigned c, unsigned d)
    { return static_cast<uint32_t>((a << 24) | (b << 16) | (c << 8) | d); };
    const std::pair<uint32_t, bool> cases[] = {
        {IPv4(127, 0, 0, 1), true},        {IPv4(127, 255, 255, 255), true},
        {IPv4(10, 0, 0, 0), true},         {IPv4(10, 255, 255, 255), true},
        {IPv4(172, 16, 0, 0), true},       {IPv4(172, 31, 255, 255), true},
        {IPv4(192, 168, 1, 20), true},     {IPv4(169, 254, 0, 1), true},
        {IPv4(126, 255, 255, 255), false}, {IPv4(128, 0, 0, 0), false},
        {IPv4(9, 255, 255, 255), false},   {IPv4(11, 0, 0, 0), false},
        {IPv4(172, 15, 255, 255), false},  {IPv4(172, 32, 0, 0), false},
        {IPv4(192, 167, 255, 255), false}, {IPv4(192, 169, 0, 0), false},
        {IPv4(169, 253, 255, 255), false}, {IPv4(169, 255, 0, 0), false},
        {IPv4(100, 64, 0, 1), false},      {IPv4(0, 0, 0, 0), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, IsLocalPeerIPv4(c.first)) << FormatIPv4(c.first);
}
