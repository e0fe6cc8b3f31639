// The private channel's keys and seals, as docs/web-channel.md sets them out.
#include "ChannelCrypto.h"
#include "CngCrypto.h"

static const size_t GCM_IV_BYTES = 12;

// Twelve bytes: zeros, then the number big-endian in the last eight.
static std::string CounterIv(uint64_t nCounter)
{
    std::string iv(GCM_IV_BYTES, '\0');
    for (size_t i = 0; i < CHANNEL_COUNTER_BYTES; i++)
        iv[GCM_IV_BYTES - 1 - i] = static_cast<char>((nCounter >> (8 * i)) & 0xFF);
    return iv;
}

bool DeriveBrowserKey(const std::string& keyBytes, const std::string& nonce,
                      const std::string& idHex, std::string* pK)
{
    return HkdfSha256(keyBytes, nonce, "quorvel pair " + idHex, CHANNEL_KEY_BYTES, pK);
}

bool OpenPairingSeal(const std::string& K, const std::string& idHex, const std::string& nonceHex,
                     const std::string& sealed, std::string* pUserAgent)
{
    return AesGcmOpen(K, CounterIv(1), "pair " + idHex + " " + nonceHex, sealed, pUserAgent);
}

bool SealPairingAnswer(const std::string& K, const std::string& idHex, const std::string& pcName,
                       std::string* pSealed)
{
    return AesGcmSeal(K, CounterIv(2), "paired " + idHex, pcName, pSealed);
}

bool DeriveChannelKeys(const std::string& K, const std::string& clientNonce,
                       const std::string& serverNonce, ChannelKeys* pKeys)
{
    if (clientNonce.size() != CHANNEL_NONCE_BYTES || serverNonce.size() != CHANNEL_NONCE_BYTES)
        return false;
    std::string salt = clientNonce + serverNonce;
    return HkdfSha256(K, salt, "quorvel live up", CHANNEL_KEY_BYTES, &pKeys->up) &&
           HkdfSha256(K, salt, "quorvel live down", CHANNEL_KEY_BYTES, &pKeys->down);
}

CChannelSealer::CChannelSealer(const std::string& key) : m_key(key), m_nCounter(0) {}

bool CChannelSealer::Seal(const std::string& plain, std::string* pFrame)
{
    // A counter that wrapped would reuse an IV under the same key.
    if (m_nCounter == UINT64_MAX)
        return false;
    uint64_t nCounter = m_nCounter + 1;
    std::string iv = CounterIv(nCounter);
    std::string sealed;
    if (!AesGcmSeal(m_key, iv, std::string(), plain, &sealed))
        return false;
    m_nCounter = nCounter;
    *pFrame = iv.substr(GCM_IV_BYTES - CHANNEL_COUNTER_BYTES) + sealed;
    return true;
}

CChannelOpener::CChannelOpener(const std::string& key) : m_key(key), m_nCounter(0) {}

bool CChannelOpener::Open(const std::string& frame, std::string* pPlain)
{
    if (frame.size() < CHANNEL_COUNTER_BYTES)
        return false;
    uint64_t nCounter = 0;
    for (size_t i = 0; i < CHANNEL_COUNTER_BYTES; i++)
        nCounter = (nCounter << 8) | static_cast<unsigned char>(frame[i]);
    if (nCounter <= m_nCounter)
        return false;
    std::string plain;
    if (!AesGcmOpen(m_key, CounterIv(nCounter), std::string(), frame.substr(CHANNEL_COUNTER_BYTES),
                    &plain))
        return false;
    m_nCounter = nCounter;
    pPlain->swap(plain);
    return true;
}
