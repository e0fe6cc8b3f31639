#include "LocalAddresses.h"
#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>
#include "PeerAddress.h"

static const unsigned long ADAPTERS_BUFFER_SIZE = 64 * 1024;

// bReachable: only interfaces that are up, loopback left out.
static std::vector<uint32_t> AdapterIPv4Addresses(bool bReachable)
{
    std::vector<uint32_t> addresses;
    std::vector<char> buffer(ADAPTERS_BUFFER_SIZE);
    ULONG nSize = ADAPTERS_BUFFER_SIZE;
    IP_ADAPTER_ADDRESSES* pFirst = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(&buffer[0]);
    ULONG nFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    if (GetAdaptersAddresses(AF_INET, nFlags, NULL, pFirst, &nSize) != NO_ERROR)
        return addresses;
    for (IP_ADAPTER_ADDRESSES* p = pFirst; p; p = p->Next)
    {
        if (bReachable &&
            (p->OperStatus != IfOperStatusUp || p->IfType == IF_TYPE_SOFTWARE_LOOPBACK))
            continue;
        for (IP_ADAPTER_UNICAST_ADDRESS* pAddress = p->FirstUnicastAddress; pAddress;
             pAddress = pAddress->Next)
        {
            const sockaddr* pSocketAddress = pAddress->Address.lpSockaddr;
            if (pSocketAddress && pSocketAddress->sa_family == AF_INET)
                addresses.push_back(
                    ntohl(reinterpret_cast<const sockaddr_in*>(pSocketAddress)->sin_addr.s_addr));
        }
    }
    return addresses;
}

std::vector<std::string> LocalIPv4Addresses()
{
    std::vector<uint32_t> reachable = AdapterIPv4Addresses(true);
    std::vector<std::string> addresses;
    for (size_t i = 0; i < reachable.size(); i++)
    {
        if ((reachable[i] >> 24) != 127)
            addresses.push_back(FormatIPv4(reachable[i]));
    }
    if (addresses.empty())
        addresses.push_back("127.0.0.1");
    return addresses;
}

PcNames ReadPcNames()
{
    PcNames pc;
    pc.addresses = AdapterIPv4Addresses(false);
    const COMPUTER_NAME_FORMAT formats[] = {ComputerNameNetBIOS, ComputerNameDnsHostname,
                                            ComputerNameDnsFullyQualified};
    for (size_t i = 0; i < sizeof(formats) / sizeof(formats[0]); i++)
    {
        char szName[256];
        DWORD nSize = sizeof(szName);
        if (GetComputerNameExA(formats[i], szName, &nSize) && szName[0] != '\0')
            pc.names.push_back(szName);
    }
    return pc;
}
