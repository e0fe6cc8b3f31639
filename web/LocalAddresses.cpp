#include "LocalAddresses.h"
#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>
#include "PeerAddress.h"

static const unsigned long ADAPTERS_BUFFER_SIZE = 64 * 1024;

std::vector<std::string> LocalIPv4Addresses()
{
    std::vector<std::string> addresses;
    std::vector<char> buffer(ADAPTERS_BUFFER_SIZE);
    ULONG nSize = ADAPTERS_BUFFER_SIZE;
    IP_ADAPTER_ADDRESSES* pFirst = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(&buffer[0]);
    ULONG nFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    if (GetAdaptersAddresses(AF_INET, nFlags, NULL, pFirst, &nSize) == NO_ERROR)
    {
        for (IP_ADAPTER_ADDRESSES* p = pFirst; p; p = p->Next)
        {
            if (p->OperStatus != IfOperStatusUp || p->IfType == IF_TYPE_SOFTWARE_LOOPBACK)
                continue;
            for (IP_ADAPTER_UNICAST_ADDRESS* pAddress = p->FirstUnicastAddress; pAddress;
                 pAddress = pAddress->Next)
            {
                const sockaddr* pSocketAddress = pAddress->Address.lpSockaddr;
                if (!pSocketAddress || pSocketAddress->sa_family != AF_INET)
                    continue;
                uint32_t nAddress =
                    ntohl(reinterpret_cast<const sockaddr_in*>(pSocketAddress)->sin_addr.s_addr);
                if ((nAddress >> 24) != 127)
                    addresses.push_back(FormatIPv4(nAddress));
            }
        }
    }
    if (addresses.empty())
        addresses.push_back("127.0.0.1");
    return addresses;
}
