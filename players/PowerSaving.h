// The system timeouts a running slide show switches off (low power, power off,
// screen saver): read once, set to 0 during a show and written back afterwards.
#pragma once

// Reads (into *pnValue) or writes (nValue) one system setting; false on failure.
// The Windows side passes it to SystemParametersInfoA without saving or broadcasting.
typedef bool (*SystemParameterCall)(unsigned nAction, unsigned nValue, int* pnValue);

const int TIMEOUT_COUNT = 3;

class CSavedTimeouts
{
public:
    // Reads the three timeouts as they are now.
    explicit CSavedTimeouts(SystemParameterCall pCall);
    void Suspend() const;
    // Writes back the values read at construction.
    void Restore() const;

private:
    SystemParameterCall m_pCall;
    int m_nSavedTimeouts[TIMEOUT_COUNT];
    // A timeout that could not be read is left alone: there would be nothing to write back.
    bool m_bRead[TIMEOUT_COUNT];
};
