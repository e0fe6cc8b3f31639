// Turns the server's replies into text a person can read. Plain C++.
#pragma once
#include <string>

// The fixed-length replies: VERSACK, PLENACK, DINFACK, FINFACK.
std::string DescribeFixedReply(const std::string& reply);
// INFOACK or INF2ACK: state, times, shuffle, repeat and title.
std::string DescribeStatusReply(const std::string& reply);
// Bytes shown as hex pairs, for anything unexpected.
std::string HexBytes(const std::string& bytes);
