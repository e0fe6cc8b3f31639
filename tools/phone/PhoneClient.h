// The phone's end of a link to the server: TCP or a COM port. Used by the
// quorvel-phone tool and by the end-to-end tests.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <string>
#include "PhoneCommands.h" // EncodeName: the wire form of a name parameter

class CPhoneClient
{
public:
    CPhoneClient();
    ~CPhoneClient();

    // Retries until the server accepts or nTimeoutMs has passed; from the given
    // local address when one is given, as a phone on another computer would.
    bool ConnectTcp(const char* pszHost, unsigned short nPort, DWORD nTimeoutMs,
                    const char* pszLocalAddress = NULL);
    bool OpenComPort(const char* pszName);
    void Close();
    // Resets the TCP connection instead of closing it in order.
    void AbortConnection();
    bool IsOpen() const { return m_socket != INVALID_SOCKET || m_hPort != INVALID_HANDLE_VALUE; }
    // True once a receive has found the link closed by the other end, or broken.
    bool LinkClosed() const { return m_bLinkClosed; }

    bool Send(const std::string& bytes);
    // Exactly nCount bytes within nTimeoutMs; false (with what did arrive) otherwise.
    // Bytes that arrive beyond nCount stay for the next call.
    bool Receive(size_t nCount, std::string& out, DWORD nTimeoutMs);
    // The bytes up to and including the first cEnd, within nTimeoutMs; false
    // (with what did arrive) otherwise.
    bool ReceiveThrough(char cEnd, std::string& out, DWORD nTimeoutMs);
    // Whatever arrives until the link has been quiet for nQuietMs.
    std::string ReceiveUntilQuiet(DWORD nQuietMs, DWORD nTimeoutMs);
    // True when the server closes the connection within nTimeoutMs.
    bool WaitForClose(DWORD nTimeoutMs);

private:
    CPhoneClient(const CPhoneClient&);
    CPhoneClient& operator=(const CPhoneClient&);
    // Reads what the link has, up to one block, into m_pending; the count, 0 on
    // time-out, -1 when the link is closed or broken.
    int ReceiveBlock(DWORD nTimeoutMs);
    int ReceiveFromSocket(char* pBuffer, int nMax, DWORD nTimeoutMs);
    int ReceiveFromPort(char* pBuffer, int nMax, DWORD nTimeoutMs);
    size_t PendingSize() const { return m_pending.size() - m_nPendingAt; }
    std::string TakePending(size_t nCount);

    SOCKET m_socket;
    HANDLE m_hPort;
    // Received and not yet handed out: the bytes of m_pending from m_nPendingAt on.
    std::string m_pending;
    size_t m_nPendingAt;
    bool m_bLinkClosed;
};
