// IPv4 addresses as text, for log lines and settings: "192.168.1.23". Plain C++,
// no platform calls.
#pragma once
#include <stdint.h>
#include <string>

// nAddress in host byte order.
std::string FormatIPv4(uint32_t nAddress);
// Four decimal numbers 0..255 separated by dots, nothing else; false otherwise.
bool ParseIPv4(const std::string& text, uint32_t* pnAddress);
