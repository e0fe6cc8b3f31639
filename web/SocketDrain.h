// Connections closed after an error answer (400, 413, 421, 431, 503): closing
// with bytes of the client's still unread would reset the connection, and the
// client would lose the answer. Each socket's sending side is shut, and what the
// client still sends is read and thrown away until it closes or DRAIN_LIMIT_MS
// pass. The accept thread reads them between accepts and never waits on one.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <mutex>
#include <vector>

const DWORD DRAIN_LIMIT_MS = 2000;
// Beyond this many at once, a socket is closed at once: a flood of bad requests
// must not hold sockets without end.
const size_t MAX_DRAINED_SOCKETS = 32;

class CSocketDrain
{
public:
    CSocketDrain();
    ~CSocketDrain();
    // Set when a drained socket has news or one was added.
    HANDLE Event() const { return m_hEvent; }
    // Takes the socket, its answer sent; from any thread.
    void Add(SOCKET client);
    // Reads what the sockets have and closes those done; the milliseconds until
    // the next one is due, INFINITE when none is left.
    DWORD ReadAll();
    // Closes every socket; later ones are closed as they come, until Open.
    void CloseAll();
    void Open();

private:
    CSocketDrain(const CSocketDrain&);
    CSocketDrain& operator=(const CSocketDrain&);
    struct CDrained
    {
        SOCKET socket;
        DWORD nStartMs;
    };
    // Reads what has come; false once the socket is done with.
    static bool Drain(const CDrained& drained, DWORD nNow);

    HANDLE m_hEvent;
    std::mutex m_lock;
    std::vector<CDrained> m_sockets;
    bool m_bOpen;
};
