// The Bluetooth serial link: the COM port and its reader thread, which runs the
// command loop on it and opens the port again when its reads fail.
#pragma once
#include <windows.h>
#include <atomic>
#include "../core/TextSizes.h"
#include "../framework/WorkerThread.h"

class CServerCore;
struct CPhoneLink;

class CSerialLink
{
public:
    explicit CSerialLink(CServerCore& core);
    ~CSerialLink();

    // Closes what is open, opens the port by name (logged) and reads commands
    // from it.
    void Connect(const char* pszName);
    // Stops the reader and closes the port.
    void Close();

private:
    CSerialLink(const CSerialLink&);
    CSerialLink& operator=(const CSerialLink&);

    void OpenPort(const char* pszName);
    void ClosePort();
    void StartReader();
    void StopReader();
    bool OpenAgain(const CWorkerThread& thread, const char* pszDevice, HANDLE* phPort);
    bool ReopenUntilACommandArrives(CWorkerThread& thread, CPhoneLink& link, char* pCommand);
    static void ReaderThread(CWorkerThread& thread, void* pParam);

    CServerCore& m_core;
    // Opened on the window's thread, reopened by the reader after a loss.
    std::atomic<HANDLE> m_hComPort;
    // The port m_hComPort was opened on; the reader reopens it by this name.
    char m_szOpenPort[COMM_PORT_SIZE];
    CWorkerThread* m_pReader;
};
