// Which Host a request may name: this PC only. A page from elsewhere that has
// its name point at this PC (DNS rebinding) still sends its own name, and is
// turned away before anything else. Plain C++, no platform calls.
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

// What this PC answers to, read from the system at the edge.
struct PcNames
{
    std::vector<uint32_t> addresses; // IPv4, host byte order
    std::vector<std::string> names;  // NetBIOS name, DNS host name, fully qualified name
};

// True when the Host header's value names this PC: one of its addresses (all of
// 127/8 too), "localhost" or one of its names (without case, a final dot allowed),
// each with or without a port. A port says nothing of whom the name points at, so
// any port is taken. IPv6 literals are refused: the listener serves IPv4 only.
bool IsHostOfThisPc(const std::string& host, const PcNames& pc);
