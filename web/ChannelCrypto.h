// The web remote's private channel (docs/web-channel.md): the browser's lasting key
// from the pairing key, the pairing's two seals, and the live channel's sealed frames.
// Built on CngCrypto.
#pragma once
#include <stdint.h>
#include <string>

const size_t CHANNEL_KEY_BYTES = 32;
const size_t CHANNEL_NONCE_BYTES = 16;
const size_t CHANNEL_COUNTER_BYTES = 8;

// K = HKDF(keyBytes, salt = nonce, info = "quorvel pair " + idHex, 32)
bool DeriveBrowserKey(const std::string& keyBytes, const std::string& nonce,
                      const std::string& idHex, std::string* pK);
// Opens the page's pairing seal (iv 00..01, aad "pair " + idHex + " " + nonceHex); false
// when it does not open.
bool OpenPairingSeal(const std::string& K, const std::string& idHex, const std::string& nonceHex,
                     const std::string& sealed, std::string* pUserAgent);
// The answer (iv 00..02, aad "paired " + idHex).
bool SealPairingAnswer(const std::string& K, const std::string& idHex, const std::string& pcName,
                       std::string* pSealed);

struct ChannelKeys
{
    std::string up;   // page -> PC
    std::string down; // PC -> page
};
// kUp/kDown = HKDF(K, salt = clientNonce || serverNonce, "quorvel live up"/"down", 32)
bool DeriveChannelKeys(const std::string& K, const std::string& clientNonce,
                       const std::string& serverNonce, ChannelKeys* pKeys);

// One direction's sealing: counter from 1, frame = counter (8 bytes BE) ||
// AES-GCM(iv = 0000 || counter, aad "").
class CChannelSealer
{
public:
    explicit CChannelSealer(const std::string& key);
    bool Seal(const std::string& plain, std::string* pFrame);

private:
    std::string m_key;
    uint64_t m_nCounter; // the last one used
};

// The other direction: false for a frame that does not open or whose counter is not
// above the last one taken.
class CChannelOpener
{
public:
    explicit CChannelOpener(const std::string& key);
    bool Open(const std::string& frame, std::string* pPlain);

private:
    std::string m_key;
    uint64_t m_nCounter; // the last one taken, 0 before the first
};
