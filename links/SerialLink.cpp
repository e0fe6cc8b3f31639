#include "SerialLink.h"
#include <stdio.h>
#include <string.h>
#include "ComPortName.h"
#include "LinkWorker.h"
#include "../core/ServerCore.h"
#include "../protocol/CommandHandlers.h"
#include "../protocol/Wire.h"

// A port whose reads fail (the Bluetooth link has gone) is closed and opened again
// this often until a command can be read from it.
static const DWORD REOPEN_INTERVAL_MS = 2000;
static const int COMM_PORT_DEVICE_SIZE = 260;

// Overlapped, so that a read waiting for the phone can be cut off at once; all
// time-outs zero: a read waits for every byte asked for, a write until all are gone.
static HANDLE OpenComDevice(const char* pszDevice, bool* pbTimeoutsSet)
{
    HANDLE hPort =
        CreateFileA(pszDevice, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    NULL, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, NULL);
    if (hPort == INVALID_HANDLE_VALUE)
        return hPort;
    COMMTIMEOUTS timeouts = {};
    *pbTimeoutsSet = SetCommTimeouts(hPort, &timeouts) != FALSE;
    return hPort;
}

CSerialLink::CSerialLink(CServerCore& core)
    : m_core(core), m_hComPort(INVALID_HANDLE_VALUE), m_pReader(NULL)
{
    m_szOpenPort[0] = '\0';
}

CSerialLink::~CSerialLink()
{
    Close();
}

void CSerialLink::Connect(const char* pszName)
{
    StopReader();
    ClosePort();
    OpenPort(pszName);
    if (m_hComPort != INVALID_HANDLE_VALUE)
        StartReader();
}

void CSerialLink::Close()
{
    StopReader();
    ClosePort();
}

void CSerialLink::OpenPort(const char* pszName)
{
    char szDevice[COMM_PORT_DEVICE_SIZE];
    if (!BuildComDevicePath(pszName, szDevice, sizeof(szDevice)))
    {
        m_core.LogEvent("Comm port length (%d) too long", static_cast<int>(strlen(pszName)));
        return;
    }
    bool bTimeoutsSet = false;
    m_hComPort = OpenComDevice(szDevice, &bTimeoutsSet);
    if (m_hComPort == INVALID_HANDLE_VALUE)
    {
        char szLine[512];
        FormatSerialOpenFailure(szLine, sizeof(szLine), pszName, GetLastError());
        m_core.LogEvent("%s", szLine);
        return;
    }
    snprintf(m_szOpenPort, sizeof(m_szOpenPort), "%s", pszName);
    if (bTimeoutsSet)
        m_core.LogEvent("Connected to port %s\r\n", pszName);
    else
        m_core.LogEvent("Couldn't set timeouts on port %s (error %d).\r\n", pszName,
                        static_cast<int>(GetLastError()));
}

void CSerialLink::ClosePort()
{
    // Cleared before it is closed: a reader cut off in between leaves no stale handle.
    HANDLE hPort = m_hComPort.exchange(INVALID_HANDLE_VALUE);
    if (hPort != INVALID_HANDLE_VALUE)
        CloseHandle(hPort);
}

// Opens the port again into m_hComPort, where its owner will close it; a reader
// asked to stop meanwhile closes it itself. False on a stop request.
bool CSerialLink::OpenAgain(const CWorkerThread& thread, const char* pszDevice, HANDLE* phPort)
{
    bool bTimeoutsSet = false;
    HANDLE hPort = OpenComDevice(pszDevice, &bTimeoutsSet);
    if (thread.IsStopRequested())
    {
        if (hPort != INVALID_HANDLE_VALUE)
            CloseHandle(hPort);
        return false;
    }
    m_hComPort = hPort;
    *phPort = hPort;
    return true;
}

// Closes the port, then opens it again every REOPEN_INTERVAL_MS until a command
// can be read from it, quietly: the loss and the return are one line each. True
// with that command in pCommand; false when the worker is asked to stop.
bool CSerialLink::ReopenUntilACommandArrives(CWorkerThread& thread, CPhoneLink& link,
                                             char* pCommand)
{
    char szDevice[COMM_PORT_DEVICE_SIZE];
    if (!BuildComDevicePath(m_szOpenPort, szDevice, sizeof(szDevice)))
        return false; // never so: the port was opened by this name
    for (;;)
    {
        ClosePort();
        link.hSerial = INVALID_HANDLE_VALUE;
        if (!thread.PauseUnlessStopped(REOPEN_INTERVAL_MS))
            return false;
        if (!OpenAgain(thread, szDevice, &link.hSerial))
            return false;
        if (link.hSerial != INVALID_HANDLE_VALUE && ReadFromPhone(link, pCommand, COMMAND_LENGTH))
            return true;
        if (thread.IsStopRequested())
            return false;
    }
}

// Runs the command loop on the port for as long as the worker lives; a port whose
// reads fail is reopened until it works again, without a Connect.
void CSerialLink::ReaderThread(CWorkerThread& thread, void* pParam)
{
    CSerialLink& self = *static_cast<CSerialLink*>(pParam);
    CServerCore& core = self.m_core;
    CPhoneLink link = {self.m_hComPort, INVALID_SOCKET, &thread, NULL};
    while (!thread.IsStopRequested())
    {
        if (DispatchCommand(core, link) || thread.IsStopRequested())
            continue;
        core.LogEvent("Lost connection on port %s; reopening it every %d seconds\r\n",
                      self.m_szOpenPort, static_cast<int>(REOPEN_INTERVAL_MS / 1000));
        char command[COMMAND_LENGTH + 1] = {};
        if (!self.ReopenUntilACommandArrives(thread, link, command))
            break;
        core.LogEvent("Reconnected to port %s\r\n", self.m_szOpenPort);
        RunCommand(core, link, command);
    }
}

void CSerialLink::StartReader()
{
    m_pReader = new CWorkerThread();
    if (m_pReader->Start(ReaderThread, this))
        return;
    delete m_pReader;
    m_pReader = NULL;
}

void CSerialLink::StopReader()
{
    // Out of the field before the wait, which answers messages sent to the window.
    CWorkerThread* pThread = m_pReader;
    m_pReader = NULL;
    // The reader waits on its stop event in every read, so it returns at once.
    if (pThread)
        StopLinkWorker(pThread, "serial link's reader", m_core);
}
