// What the benchmarks share: a clock, medians of alternating rounds, the server's
// memory, and a phone that reads as fast as the link delivers (64 KB receives).
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <string>
#include <vector>
#include "ServerProcess.h"

double Now();
double Median(std::vector<double> values);

// Runs nRounds of (server round, baseline round), one after the other, so that
// a load that comes and goes on the machine falls on both alike. Each round
// returns its seconds, or a negative value on failure; a failed pair of rounds
// is run again, three times in all at most. Prints every round and returns the
// median of server / baseline (-1 on a failure too many).
typedef double (*BenchRound)(void* pContext);
double AlternatingRatio(const char* pszServer, BenchRound pServer, const char* pszBaseline,
                        BenchRound pBaseline, void* pContext, int nRounds);

struct ServerMemory
{
    double fPrivateMb, fPeakPrivateMb, fWorkingMb, fPeakWorkingMb;
};
ServerMemory ReadServerMemory(HANDLE hProcess);

// The collection the listing benchmarks read: 40 artists of 50 albums of 25
// tracks, 50,000 files in 2,040 folders.
void MakeCollection(const std::string& root);
// A file of nBytes bytes, written in 1 MB blocks.
void MakeBigFile(const std::string& path, long long nBytes);

// A TCP phone without the phone tool's per-byte bookkeeping.
class CBenchPhone
{
public:
    CBenchPhone();
    ~CBenchPhone();
    // Every receive after it fails after 20 s without a byte, so a server that
    // never answers fails the round instead of holding the benchmark for good.
    bool Connect(unsigned short nPort, DWORD nTimeoutMs);
    // Switches the send delay off (TCP_NODELAY); acknowledgements stay as the system does them.
    void SendAtOnce();
    void Close();
    bool Send(const std::string& bytes);
    // Exactly nCount bytes into out.
    bool Receive(size_t nCount, std::string& out);
    // nCount bytes, thrown away as they come.
    bool Drain(long long nCount);
    // "LISTACK", records up to the end mark FF 00; the number of records, or -1.
    long long ReadListing();

private:
    SOCKET m_socket;
    std::vector<char> m_buffer;
};

// Two servers in folders of their own with the same settings, [0] this build's,
// [1] OTHER_EXE. One at a time listens on the phone's port 7654; the web remote,
// where the settings turn it on, listens on 7655 + the server's index.
struct CServerPair
{
    CTempDir dirs[2];
    CServerProcess servers[2];
    int nListening = 0;

    bool Start(const std::string& settings, const std::string& otherExe);
    // Makes nServer the one that listens, and connects the phone to it.
    bool Connect(int nServer, CBenchPhone& phone);
    // Starts the listening server's listener afresh: one that was left deaf to a
    // waiting phone (older servers under Wine) hears it again.
    void Relisten();
};

// The server's window control ids the benchmarks click.
const int EVENT_LOG_ID = 1005;
const int EXIT_ID = 1006;
const int COM_PORT_ID = 1001;
const int CONNECT_ID = 1002;
const int LISTEN_ON_SOCKET_ID = 1034;
