#include "PeerAddress.h"

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
