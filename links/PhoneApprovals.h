// Which TCP phones are served: those on this PC at once, others only once the
// user has allowed their address; one question at a time. Shared by the listener,
// which judges each phone, and the window, which asks and answers. Plain C++,
// no platform calls.
#pragma once
#include <stdint.h>
#include <mutex>
#include <set>
#include <string>
#include <vector>
#include "../core/IPv4Text.h"

enum PhoneVerdict
{
    PHONE_SERVE,         // loopback, or allowed before
    PHONE_ASK,           // hold it and ask the user; it is now the one asked about
    PHONE_REFUSE_DENIED, // denied (or not answered) since the server started
    PHONE_REFUSE_WAITING // another phone is waiting for the user's answer
};

// At most this many allowed phones are kept; allowing one more forgets the oldest.
const size_t MAX_ALLOWED_PHONES = 64;

class CPhoneApprovals
{
public:
    // nAddress: an IPv4 address in host byte order.
    PhoneVerdict Judge(uint32_t nAddress);
    // The answer about the phone asked about; false (nothing changes) when none is.
    bool Answer(bool bAllow, uint32_t* pnAddress);
    // The phone asked about, if any.
    bool IsAsking(uint32_t* pnAddress) const;
    // The listener stopped while asking: the phone has gone, nothing is remembered.
    void DropQuestion();
    bool IsAllowed(uint32_t nAddress) const;
    void ForgetAllowed();
    // The allowed addresses as the setting keeps them: "10.77.0.1;192.168.1.23".
    std::string AllowedText() const;
    // Takes the setting's text; entries that are not IPv4 addresses are skipped.
    void LoadAllowed(const std::string& text);

private:
    void Allow(uint32_t nAddress);

    mutable std::mutex m_mutex;
    std::vector<uint32_t> m_allowed; // oldest first
    std::set<uint32_t> m_denied;
    bool m_bAsking = false;
    uint32_t m_nAsked = 0;
};
