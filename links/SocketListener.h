// The TCP listener on port 7654 and its worker, which serves one client at a
// time: phones on this PC and phones the user has allowed. A phone from another
// address is held, unread, while the window asks the user about it.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <stdint.h>
#include "PhoneApprovals.h"
#include "../framework/WorkerThread.h"

class CServerCore;

// What the listener tells the window.
class CListenerEvents
{
public:
    // From the listener's thread: a phone is held, the approvals say which; the
    // window asks the user and answers with CSocketListener::Answer.
    virtual void OnPhoneToAskAbout() = 0;

protected:
    ~CListenerEvents() {}
};

class CSocketListener
{
public:
    CSocketListener(CServerCore& core, CListenerEvents& events);
    ~CSocketListener();

    // Listens on the port (a failure is logged); stops what was listening first.
    void Start();
    // Closes the client, the held phone and the listener, promptly.
    void Stop();

    // The allowed, denied and asked-about phones.
    CPhoneApprovals& Approvals() { return m_approvals; }
    // The user has answered (through Approvals): the held phone is served or closed.
    void Answered();

private:
    CSocketListener(const CSocketListener&);
    CSocketListener& operator=(const CSocketListener&);

    static void AcceptThread(CWorkerThread& thread, void* pParam);
    bool TakeNewPhone(CWorkerThread& thread, SOCKET listenSocket, int* pnLastError);
    void HandOver(CWorkerThread& thread, SOCKET client, uint32_t nAddress, PhoneVerdict verdict);
    void TakeAnsweredPhone(CWorkerThread& thread);
    void ServeClient(CWorkerThread& thread, uint32_t nAddress);
    void CloseClientSocket();
    void CloseHeldPhone();

    CServerCore& m_core;
    CListenerEvents& m_events;
    SOCKET m_listenSocket;
    CWorkerThread* m_pThread;
    // The TCP client being served; Stop closes it to cut the client off.
    std::atomic<SOCKET> m_clientSocket;
    // A phone on another computer held, unread, while the user is asked about it.
    std::atomic<SOCKET> m_heldSocket;
    uint32_t m_nHeldAddress; // the held phone's, in host order; the worker's alone
    CPhoneApprovals m_approvals;
    // Set (auto-reset) when the user has answered about the held phone.
    HANDLE m_hAnswered;
};
