// Which TCP phones are served: those on this PC at once, others only once the
// user has allowed their address; one question at a time. Shared by the listener,
// which judges and holds each phone, and the window, which asks and answers.
// Plain C++, no platform calls.
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
    PHONE_REFUSE_WAITING // another phone is held, asked about or answered but not yet taken
};

// What an answer is about: a stale answer (its phone gone, or answered already)
// names another question, and changes nothing.
struct CPhoneQuestion
{
    unsigned nNumber;
    uint32_t nAddress;
};

// At most this many allowed phones are kept; allowing one more forgets the oldest.
const size_t MAX_ALLOWED_PHONES = 64;

class CPhoneApprovals
{
public:
    // nAddress: an IPv4 address in host byte order.
    PhoneVerdict Judge(uint32_t nAddress);
    // The answer to the open question; false (nothing changes) when it is not open.
    bool Answer(bool bAllow, const CPhoneQuestion& question);
    // The open question, if any.
    bool IsAsking(CPhoneQuestion* pQuestion) const;
    // The listener takes the held phone once its question is answered: true then,
    // with the answer; from then on another phone may be asked about.
    bool TakeAnswer(bool* pbAllowed);
    // The listener stopped while holding a phone: it has gone, nothing is remembered.
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
    enum Holding
    {
        HOLDING_NONE,
        HOLDING_ASKED,   // the user is being asked about the held phone
        HOLDING_ANSWERED // answered; the listener has not yet taken the phone
    };
    Holding m_nHolding = HOLDING_NONE;
    bool m_bHeldAllowed = false;
    CPhoneQuestion m_question = {0, 0};
};
