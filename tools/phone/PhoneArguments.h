// The phone tool's command line, checked whole before it connects, and its
// usage text. Plain C++.
#pragma once
#include <string>
#include <vector>
#include "PhoneCommands.h"

// Exit codes of the tool (5 is phone.sh's: the server's rig is down).
const int EXIT_DONE = 0;
const int EXIT_BAD_ARGUMENTS = 2;
const int EXIT_NO_SERVER = 3;
const int EXIT_NO_REPLY = 4;

struct PhoneRequest
{
    const PhoneCommand* pCommand;
    std::string bytes; // as sent on the wire
};

struct PhoneArguments
{
    PhoneArguments();

    bool bHelp;
    bool bSerial;     // --com; otherwise TCP
    std::string host; // TCP
    unsigned short nPort;
    std::string comPort; // COMn
    bool bRaw;
    int nWaitSeconds; // 0: each command's own time
    std::vector<PhoneRequest> requests;
};

// False with a one-line message for the first bad argument. An empty list is
// bad too: there is nothing to send.
bool ParsePhoneArguments(const std::vector<std::string>& args, PhoneArguments& out,
                         std::string& error);

// Every option and command with its parameter form, and an example.
std::string PhoneUsage();
