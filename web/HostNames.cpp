#include "HostNames.h"
#include "../core/IPv4Text.h"

static char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

static bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
    {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

static bool IsPort(const std::string& text)
{
    if (text.empty() || text.size() > 5)
        return false;
    unsigned long nPort = 0;
    for (size_t i = 0; i < text.size(); i++)
    {
        if (text[i] < '0' || text[i] > '9')
            return false;
        nPort = nPort * 10 + static_cast<unsigned long>(text[i] - '0');
    }
    return nPort >= 1 && nPort <= 65535;
}

static bool IsAddressOfThisPc(uint32_t nAddress, const PcNames& pc)
{
    if ((nAddress >> 24) == 127)
        return true;
    for (size_t i = 0; i < pc.addresses.size(); i++)
    {
        if (pc.addresses[i] == nAddress)
            return true;
    }
    return false;
}

bool IsHostOfThisPc(const std::string& host, const PcNames& pc)
{
    std::string name = host;
    size_t nColon = name.find(':');
    if (nColon != std::string::npos)
    {
        if (!IsPort(name.substr(nColon + 1)))
            return false;
        name.erase(nColon);
    }
    uint32_t nAddress = 0;
    if (ParseIPv4(name, &nAddress))
        return IsAddressOfThisPc(nAddress, pc);
    if (!name.empty() && name[name.size() - 1] == '.')
        name.erase(name.size() - 1);
    if (name.empty())
        return false;
    if (EqualsIgnoringCase(name, "localhost"))
        return true;
    for (size_t i = 0; i < pc.names.size(); i++)
    {
        if (EqualsIgnoringCase(name, pc.names[i]))
            return true;
    }
    return false;
}
