// Who may be served by the web remote: peers on this PC or on the local network only
// (the listener takes IPv4 only).
// Plain C++, no platform calls.
#pragma once
#include <stdint.h>
#include <string>
#include "../core/IPv4Text.h"

// Loopback 127/8, private 10/8, 172.16/12, 192.168/16, link-local 169.254/16.
// nAddress in host byte order.
bool IsLocalPeerIPv4(uint32_t nAddress);
