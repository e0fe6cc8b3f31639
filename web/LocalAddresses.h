// The addresses a phone on the local network can reach this PC at, and every
// name and address a request's Host may give for it.
#pragma once
#include <string>
#include <vector>
#include "HostNames.h"

// The IPv4 addresses of the interfaces that are up, loopback left out; just
// 127.0.0.1 when there is no other.
std::vector<std::string> LocalIPv4Addresses();
// Every IPv4 address of every interface, and the computer's names.
PcNames ReadPcNames();
