// The Bluetooth serial link: the COM port, its reader thread and the Connect button.
#include "../app/ServerDlg.h"
#include <stdio.h>
#include <string.h>
#include "ComPortName.h"
#include "../protocol/CommandHandlers.h"
#include "../res/resource.h"

static const DWORD WORKER_STOP_GRACE_MS = 1000;
// After a failed read the reader waits before reading again, longer each time
// the reads keep failing (a link that has gone fails at once), up to a limit.
static const DWORD FIRST_RETRY_MS = 1000;
static const DWORD LONGEST_RETRY_MS = 30000;

void CServerDlg::OpenSerialPort(const char* pszName)
{
    CloseSerialPort();
    char szDevice[COMM_PORT_DEVICE_SIZE];
    if (!BuildComDevicePath(pszName, szDevice, sizeof(szDevice)))
    {
        LogEvent("Comm port length (%d) too long", static_cast<int>(strlen(pszName)));
        return;
    }
    // Overlapped, so that a read waiting for the phone can be cut off at once.
    m_hComPort =
        CreateFileA(szDevice, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    NULL, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, NULL);
    if (m_hComPort == INVALID_HANDLE_VALUE)
    {
        char szLine[512];
        FormatSerialOpenFailure(szLine, sizeof(szLine), pszName, GetLastError());
        LogEvent("%s", szLine);
        return;
    }
    // All zero: a read waits for every byte asked for, a write until all are gone.
    COMMTIMEOUTS timeouts = {};
    if (SetCommTimeouts(m_hComPort, &timeouts))
        LogEvent("Connected to port %s\r\n", pszName);
    else
        LogEvent("Couldn't set timeouts on port %s (error %d).\r\n", pszName,
                 static_cast<int>(GetLastError()));
}

void CServerDlg::CloseSerialPort()
{
    if (m_hComPort != INVALID_HANDLE_VALUE)
        CloseHandle(m_hComPort);
    m_hComPort = INVALID_HANDLE_VALUE;
}

static void SerialReaderThread(CWorkerThread& thread, void* pParam)
{
    CServerDlg& dlg = *static_cast<CServerDlg*>(pParam);
    CPhoneLink link = {dlg.m_hComPort, INVALID_SOCKET, &thread, NULL};
    DWORD nRetryMs = 0;
    while (!thread.IsStopRequested())
    {
        if (DispatchCommand(dlg, link))
        {
            nRetryMs = 0;
            continue;
        }
        nRetryMs = nRetryMs == 0 ? FIRST_RETRY_MS : nRetryMs * 2;
        if (nRetryMs > LONGEST_RETRY_MS)
            nRetryMs = LONGEST_RETRY_MS;
        if (!thread.PauseUnlessStopped(nRetryMs))
            break;
    }
}

void CServerDlg::StartSerialReader()
{
    m_pSerialThread = new CWorkerThread();
    if (m_pSerialThread->Start(SerialReaderThread, this))
        return;
    delete m_pSerialThread;
    m_pSerialThread = NULL;
}

void CServerDlg::StopSerialReader()
{
    if (!m_pSerialThread)
        return;
    // The reader waits on its stop event in every read, so it returns at once.
    m_pSerialThread->RequestStop();
    m_pSerialThread->WaitOrTerminate(WORKER_STOP_GRACE_MS);
    delete m_pSerialThread;
    m_pSerialThread = NULL;
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
