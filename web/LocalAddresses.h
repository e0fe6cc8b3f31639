// The addresses a phone on the local network can reach this PC at.
#pragma once
#include <string>
#include <vector>

// The IPv4 addresses of the interfaces that are up, loopback left out; just
// 127.0.0.1 when there is no other.
std::vector<std::string> LocalIPv4Addresses();
