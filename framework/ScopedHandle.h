// Owners for the handles the program opens: each closes its handle once, on scope exit.
#pragma once
#include <windows.h>

class CScopedHandle
{
public:
    explicit CScopedHandle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~CScopedHandle() { Close(); }
    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != INVALID_HANDLE_VALUE && m_h != NULL; }
    void Reset(HANDLE h)
    {
        Close();
        m_h = h;
    }
    void Close()
    {
        if (IsValid())
            CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }
    // Hands the handle over to a new owner without closing it.
    HANDLE Release()
    {
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }

private:
    CScopedHandle(const CScopedHandle&);
    CScopedHandle& operator=(const CScopedHandle&);
    HANDLE m_h;
};

class CScopedFindHandle
{
public:
    explicit CScopedFindHandle(HANDLE h) : m_h(h) {}
    ~CScopedFindHandle()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            FindClose(m_h);
    }
    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    CScopedFindHandle(const CScopedFindHandle&);
    CScopedFindHandle& operator=(const CScopedFindHandle&);
    HANDLE m_h;
};

class CScopedRegKey
{
public:
    CScopedRegKey() : m_hKey(NULL) {}
    ~CScopedRegKey()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
    }
    HKEY* Receive() { return &m_hKey; }
    HKEY Get() const { return m_hKey; }

private:
    CScopedRegKey(const CScopedRegKey&);
    CScopedRegKey& operator=(const CScopedRegKey&);
    HKEY m_hKey;
};

// Holds a mutex for one scope. A mutex left by a terminated thread is taken over.
// With a stop event, the wait also ends when the event is set, and with a limit
// when it passes; IsHeld then says no.
class CMutexLock
{
public:
    explicit CMutexLock(HANDLE hMutex, HANDLE hStopEvent = NULL, DWORD nLimitMs = INFINITE)
        : m_hMutex(hMutex)
    {
        HANDLE waits[2] = {hMutex, hStopEvent};
        DWORD nWait = WaitForMultipleObjects(hStopEvent ? 2 : 1, waits, FALSE, nLimitMs);
        m_bHeld = (nWait == WAIT_OBJECT_0 || nWait == WAIT_ABANDONED_0);
    }
    ~CMutexLock()
    {
        if (m_bHeld)
            ReleaseMutex(m_hMutex);
    }
    bool IsHeld() const { return m_bHeld; }

private:
    CMutexLock(const CMutexLock&);
    CMutexLock& operator=(const CMutexLock&);
    HANDLE m_hMutex;
    bool m_bHeld;
};
