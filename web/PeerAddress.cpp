#include "PeerAddress.h"
#include <string.h>

static bool InNetwork(uint32_t nAddress, uint32_t nNetwork, int nPrefixBits)
{
    uint32_t nMask = 0xFFFFFFFFu << (32 - nPrefixBits);
    return (nAddress & nMask) == nNetwork;
}

bool IsLocalPeerIPv4(uint32_t nAddress)
{
    return InNetwork(nAddress, 0x7F000000u, 8) ||  // 127.0.0.0/8
           InNetwork(nAddress, 0x0A000000u, 8) ||  // 10.0.0.0/8
           InNetwork(nAddress, 0xAC100000u, 12) || // 172.16.0.0/12
           InNetwork(nAddress, 0xC0A80000u, 16) || // 192.168.0.0/16
           InNetwork(nAddress, 0xA9FE0000u, 16);   // 169.254.0.0/16
}

bool IsLocalPeerIPv6(const unsigned char bytes[16])
{
    static const unsigned char s_loopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static const unsigned char s_mappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (memcmp(bytes, s_loopback, 16) == 0)
        return true;
    if (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80) // fe80::/10, link-local
        return true;
    if ((bytes[0] & 0xFE) == 0xFC) // fc00::/7, unique local
        return true;
    if (memcmp(bytes, s_mappedPrefix, 12) != 0)
        return false;
    uint32_t nAddress = (static_cast<uint32_t>(bytes[12]) << 24) |
                        (static_cast<uint32_t>(bytes[13]) << 16) |
                        (static_cast<uint32_t>(bytes[14]) << 8) | bytes[15];
    return IsLocalPeerIPv4(nAddress);
}
