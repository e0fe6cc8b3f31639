// The Bluetooth serial link: the COM port, its reader thread and the Connect button.
#include "../app/ServerDlg.h"
#include <stdio.h>
#include <string.h>
#include "ComPortName.h"
#include "../protocol/CommandHandlers.h"
#include "../protocol/Wire.h"
#include "../res/resource.h"

// A port whose reads fail (the Bluetooth link has gone) is closed and opened again
// this often until a command can be read from it.
static const DWORD REOPEN_INTERVAL_MS = 2000;

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

void CServerDlg::OpenSerialPort(const char* pszName)
{
    CloseSerialPort();
    char szDevice[COMM_PORT_DEVICE_SIZE];
    if (!BuildComDevicePath(pszName, szDevice, sizeof(szDevice)))
    {
        LogEvent("Comm port length (%d) too long", static_cast<int>(strlen(pszName)));
        return;
    }
    bool bTimeoutsSet = false;
    m_hComPort = OpenComDevice(szDevice, &bTimeoutsSet);
    if (m_hComPort == INVALID_HANDLE_VALUE)
    {
        char szLine[512];
        FormatSerialOpenFailure(szLine, sizeof(szLine), pszName, GetLastError());
        LogEvent("%s", szLine);
        return;
    }
    snprintf(m_szOpenPort, sizeof(m_szOpenPort), "%s", pszName);
    if (bTimeoutsSet)
        LogEvent("Connected to port %s\r\n", pszName);
    else
        LogEvent("Couldn't set timeouts on port %s (error %d).\r\n", pszName,
                 static_cast<int>(GetLastError()));
}

void CServerDlg::CloseSerialPort()
{
    // Cleared before it is closed: a reader cut off in between leaves no stale handle.
    HANDLE hPort = m_hComPort.exchange(INVALID_HANDLE_VALUE);
    if (hPort != INVALID_HANDLE_VALUE)
        CloseHandle(hPort);
}

// Opens the port again into m_hComPort, where its owner will close it. The new
// handle is never lost to a stop: the open is not cut off, and a reader asked to
// stop meanwhile closes it itself. False on a stop request.
static bool OpenAgain(CServerDlg& dlg, const CWorkerThread& thread, const char* pszDevice,
                      CPhoneLink& link)
{
    CWorkerThread::CNoTerminate section;
    bool bTimeoutsSet = false;
    HANDLE hPort = OpenComDevice(pszDevice, &bTimeoutsSet);
    if (thread.IsStopRequested())
    {
        if (hPort != INVALID_HANDLE_VALUE)
            CloseHandle(hPort);
        return false;
    }
    dlg.m_hComPort = hPort;
    link.hSerial = hPort;
    return true;
}

// Closes the port, then opens it again every REOPEN_INTERVAL_MS until a command
// can be read from it, quietly: the loss and the return are one line each. True
// with that command in pCommand; false when the worker is asked to stop.
static bool ReopenUntilACommandArrives(CServerDlg& dlg, CWorkerThread& thread, CPhoneLink& link,
                                       char* pCommand)
{
    char szDevice[COMM_PORT_DEVICE_SIZE];
    if (!BuildComDevicePath(dlg.m_szOpenPort, szDevice, sizeof(szDevice)))
        return false; // never so: the port was opened by this name
    for (;;)
    {
        dlg.CloseSerialPort();
        link.hSerial = INVALID_HANDLE_VALUE;
        if (!thread.PauseUnlessStopped(REOPEN_INTERVAL_MS))
            return false;
        if (!OpenAgain(dlg, thread, szDevice, link))
            return false;
        if (link.hSerial != INVALID_HANDLE_VALUE && ReadFromPhone(link, pCommand, COMMAND_LENGTH))
            return true;
        if (thread.IsStopRequested())
            return false;
    }
}

// Runs the command loop on the port for as long as the worker lives; a port whose
// reads fail is reopened until it works again, without a Connect.
static void SerialReaderThread(CWorkerThread& thread, void* pParam)
{
    CServerDlg& dlg = *static_cast<CServerDlg*>(pParam);
    CPhoneLink link = {dlg.m_hComPort, INVALID_SOCKET, &thread, NULL, NULL};
    while (!thread.IsStopRequested())
    {
        if (DispatchCommand(dlg, link) || thread.IsStopRequested())
            continue;
        dlg.LogEvent("Lost connection on port %s; reopening it every %d seconds\r\n",
                     dlg.m_szOpenPort, static_cast<int>(REOPEN_INTERVAL_MS / 1000));
        char command[COMMAND_LENGTH + 1] = {};
        if (!ReopenUntilACommandArrives(dlg, thread, link, command))
            break;
        dlg.LogEvent("Reconnected to port %s\r\n", dlg.m_szOpenPort);
        RunCommand(dlg, link, command);
    }
}

void CServerDlg::StartSerialReader()
{
    m_pSerialThread = new CWorkerThread(true);
    if (m_pSerialThread->Start(SerialReaderThread, this))
        return;
    delete m_pSerialThread;
    m_pSerialThread = NULL;
}

void CServerDlg::StopSerialReader()
{
    // Out of the field before the wait, which answers messages sent to the window.
    CWorkerThread* pThread = m_pSerialThread;
    m_pSerialThread = NULL;
    // The reader waits on its stop event in every read, so it returns at once.
    if (pThread)
        StopLinkWorker(pThread, "serial link's reader");
}

void CServerDlg::OpenConfiguredSerialPort()
{
    if (m_szCommPort[0] == '\0')
        return;
    OpenSerialPort(m_szCommPort);
    if (m_hComPort != INVALID_HANDLE_VALUE)
        StartSerialReader();
}

void CServerDlg::OnConnect()
{
    if (!GetDlgItemTextA(m_hWnd, IDC_COM_PORT, m_szCommPort, sizeof(m_szCommPort)))
        m_szCommPort[0] = '\0';
    NormaliseComPortName(m_szCommPort, sizeof(m_szCommPort));
    StopSerialReader();
    CloseSerialPort();
    OpenSerialPort(m_szCommPort);
    if (m_hComPort != INVALID_HANDLE_VALUE)
        StartSerialReader();
}
