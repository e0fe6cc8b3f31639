// The PC's cryptography through CNG and DPAPI. Providers are opened per call: no
// state is shared between threads, and every handle has one scoped owner.
#include "CngCrypto.h"
#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>
#include <string.h>

namespace
{
const size_t SHA256_SIZE = 32;
const size_t AES_KEY_SIZE = 32;
const size_t GCM_IV_SIZE = 12;
const size_t GCM_TAG_SIZE = 16;

class CScopedAlgorithm
{
public:
    CScopedAlgorithm() : m_h(NULL) {}
    ~CScopedAlgorithm()
    {
        if (m_h)
            BCryptCloseAlgorithmProvider(m_h, 0);
    }
    bool Open(LPCWSTR pszAlgorithm, ULONG nFlags)
    {
        return BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&m_h, pszAlgorithm, NULL, nFlags));
    }
    BCRYPT_ALG_HANDLE Get() const { return m_h; }

private:
    CScopedAlgorithm(const CScopedAlgorithm&);
    CScopedAlgorithm& operator=(const CScopedAlgorithm&);
    BCRYPT_ALG_HANDLE m_h;
};

class CScopedHash
{
public:
    CScopedHash() : m_h(NULL) {}
    ~CScopedHash()
    {
        if (m_h)
            BCryptDestroyHash(m_h);
    }
    BCRYPT_HASH_HANDLE* Receive() { return &m_h; }
    BCRYPT_HASH_HANDLE Get() const { return m_h; }

private:
    CScopedHash(const CScopedHash&);
    CScopedHash& operator=(const CScopedHash&);
    BCRYPT_HASH_HANDLE m_h;
};

class CScopedKey
{
public:
    CScopedKey() : m_h(NULL) {}
    ~CScopedKey()
    {
        if (m_h)
            BCryptDestroyKey(m_h);
    }
    BCRYPT_KEY_HANDLE* Receive() { return &m_h; }
    BCRYPT_KEY_HANDLE Get() const { return m_h; }

private:
    CScopedKey(const CScopedKey&);
    CScopedKey& operator=(const CScopedKey&);
    BCRYPT_KEY_HANDLE m_h;
};

// What DPAPI hands back, freed with LocalFree.
class CScopedBlob
{
public:
    CScopedBlob()
    {
        m_blob.cbData = 0;
        m_blob.pbData = NULL;
    }
    ~CScopedBlob()
    {
        if (m_blob.pbData)
            LocalFree(m_blob.pbData);
    }
    DATA_BLOB* Receive() { return &m_blob; }
    std::string Bytes() const
    {
        return std::string(reinterpret_cast<const char*>(m_blob.pbData), m_blob.cbData);
    }

private:
    CScopedBlob(const CScopedBlob&);
    CScopedBlob& operator=(const CScopedBlob&);
    DATA_BLOB m_blob;
};

// CNG takes input through non-const pointers but does not write to it.
PUCHAR InputBytes(const std::string& bytes)
{
    return reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
}

ULONG SizeOf(const std::string& bytes)
{
    return static_cast<ULONG>(bytes.size());
}

bool FitsUlong(const std::string& bytes)
{
    return bytes.size() <= 0x7FFFFFFFu;
}

// A digest, or with bHmac an HMAC under the key.
bool Digest(LPCWSTR pszAlgorithm, bool bHmac, const std::string& key, const std::string& data,
            std::string* pDigest)
{
    if (!FitsUlong(key) || !FitsUlong(data))
        return false;
    CScopedAlgorithm algorithm;
    if (!algorithm.Open(pszAlgorithm, bHmac ? BCRYPT_ALG_HANDLE_HMAC_FLAG : 0))
        return false;
    DWORD nDigestSize = 0;
    ULONG nGot = 0;
    if (!BCRYPT_SUCCESS(BCryptGetProperty(algorithm.Get(), BCRYPT_HASH_LENGTH,
                                          reinterpret_cast<PUCHAR>(&nDigestSize),
                                          sizeof(nDigestSize), &nGot, 0)) ||
        nDigestSize == 0 || nDigestSize > 64)
        return false;
    CScopedHash hash;
    // An HMAC key pads with zeros, so an empty one is a single zero byte, which spares
    // CNG a secret of no bytes.
    std::string secret = (bHmac && key.empty()) ? std::string(1, '\0') : key;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm.Get(), hash.Receive(), NULL, 0,
                                         bHmac ? InputBytes(secret) : NULL,
                                         bHmac ? SizeOf(secret) : 0, 0)))
        return false;
    if (!data.empty() &&
        !BCRYPT_SUCCESS(BCryptHashData(hash.Get(), InputBytes(data), SizeOf(data), 0)))
        return false;
    unsigned char digest[64];
    if (!BCRYPT_SUCCESS(BCryptFinishHash(hash.Get(), digest, nDigestSize, 0)))
        return false;
    pDigest->assign(reinterpret_cast<const char*>(digest), nDigestSize);
    return true;
}

bool OpenGcmKey(const std::string& key, const std::string& iv, CScopedAlgorithm* pAlgorithm,
                CScopedKey* pKey)
{
    if (key.size() != AES_KEY_SIZE || iv.size() != GCM_IV_SIZE)
        return false;
    if (!pAlgorithm->Open(BCRYPT_AES_ALGORITHM, 0))
        return false;
    const WCHAR szMode[] = BCRYPT_CHAIN_MODE_GCM;
    if (!BCRYPT_SUCCESS(BCryptSetProperty(pAlgorithm->Get(), BCRYPT_CHAINING_MODE,
                                          reinterpret_cast<PUCHAR>(const_cast<WCHAR*>(szMode)),
                                          sizeof(szMode), 0)))
        return false;
    return BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(pAlgorithm->Get(), pKey->Receive(), NULL, 0,
                                                     InputBytes(key), SizeOf(key), 0));
}

void InitGcmInfo(const std::string& iv, const std::string& aad, unsigned char* pTag,
                 BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO* pInfo)
{
    BCRYPT_INIT_AUTH_MODE_INFO(*pInfo);
    pInfo->pbNonce = InputBytes(iv);
    pInfo->cbNonce = SizeOf(iv);
    pInfo->pbAuthData = aad.empty() ? NULL : InputBytes(aad);
    pInfo->cbAuthData = SizeOf(aad);
    pInfo->pbTag = pTag;
    pInfo->cbTag = static_cast<ULONG>(GCM_TAG_SIZE);
}
} // namespace

bool SystemRandom(void* pBuffer, size_t nSize)
{
    if (nSize > 0xFFFFFFFFu)
        return false;
    NTSTATUS nStatus = BCryptGenRandom(NULL, static_cast<PUCHAR>(pBuffer),
                                       static_cast<ULONG>(nSize), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    return BCRYPT_SUCCESS(nStatus);
}

bool Sha1Digest(const std::string& data, std::string* pDigest)
{
    return Digest(BCRYPT_SHA1_ALGORITHM, false, std::string(), data, pDigest);
}

bool Sha256Digest(const std::string& data, std::string* pDigest)
{
    return Digest(BCRYPT_SHA256_ALGORITHM, false, std::string(), data, pDigest);
}

bool HmacSha256(const std::string& key, const std::string& data, std::string* pMac)
{
    return Digest(BCRYPT_SHA256_ALGORITHM, true, key, data, pMac);
}

bool HkdfSha256(const std::string& ikm, const std::string& salt, const std::string& info,
                size_t nOut, std::string* pOut)
{
    if (nOut > 255 * SHA256_SIZE)
        return false;
    // Extract: no salt means a hash length of zeros.
    std::string prk;
    if (!HmacSha256(salt.empty() ? std::string(SHA256_SIZE, '\0') : salt, ikm, &prk))
        return false;
    // Expand: T(i) = HMAC(PRK, T(i-1) || info || i).
    std::string out;
    std::string block;
    for (unsigned nCounter = 1; out.size() < nOut; nCounter++)
    {
        std::string input = block + info;
        input += static_cast<char>(nCounter);
        if (!HmacSha256(prk, input, &block))
            return false;
        out += block;
    }
    out.resize(nOut);
    pOut->swap(out);
    return true;
}

bool AesGcmSeal(const std::string& key, const std::string& iv, const std::string& aad,
                const std::string& plain, std::string* pSealed)
{
    if (!FitsUlong(aad) || plain.size() > 0x7FFFFFF0u)
        return false;
    CScopedAlgorithm algorithm;
    CScopedKey hKey;
    if (!OpenGcmKey(key, iv, &algorithm, &hKey))
        return false;
    unsigned char tag[GCM_TAG_SIZE];
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
    InitGcmInfo(iv, aad, tag, &info);
    std::string sealed(plain.size() + GCM_TAG_SIZE, '\0');
    ULONG nDone = 0;
    // Never a NULL output, even for no text: CNG takes that as asking for the size
    // and then neither makes nor checks a tag.
    if (!BCRYPT_SUCCESS(BCryptEncrypt(hKey.Get(), InputBytes(plain), SizeOf(plain), &info, NULL, 0,
                                      reinterpret_cast<PUCHAR>(&sealed[0]), SizeOf(plain), &nDone,
                                      0)) ||
        nDone != plain.size())
        return false;
    sealed.replace(plain.size(), GCM_TAG_SIZE, reinterpret_cast<const char*>(tag), GCM_TAG_SIZE);
    pSealed->swap(sealed);
    return true;
}

bool AesGcmOpen(const std::string& key, const std::string& iv, const std::string& aad,
                const std::string& sealed, std::string* pPlain)
{
    if (sealed.size() < GCM_TAG_SIZE || !FitsUlong(aad) || !FitsUlong(sealed))
        return false;
    CScopedAlgorithm algorithm;
    CScopedKey hKey;
    if (!OpenGcmKey(key, iv, &algorithm, &hKey))
        return false;
    size_t nCipher = sealed.size() - GCM_TAG_SIZE;
    unsigned char tag[GCM_TAG_SIZE];
    memcpy(tag, sealed.data() + nCipher, GCM_TAG_SIZE);
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
    InitGcmInfo(iv, aad, tag, &info);
    // One byte more than the text, so the output is never NULL (see AesGcmSeal).
    std::string plain(nCipher + 1, '\0');
    ULONG nDone = 0;
    // A tag that does not match fails the call (STATUS_AUTH_TAG_MISMATCH); what was
    // decrypted is then dropped here.
    if (!BCRYPT_SUCCESS(BCryptDecrypt(hKey.Get(), InputBytes(sealed), static_cast<ULONG>(nCipher),
                                      &info, NULL, 0, reinterpret_cast<PUCHAR>(&plain[0]),
                                      static_cast<ULONG>(nCipher), &nDone, 0)) ||
        nDone != nCipher)
        return false;
    plain.resize(nCipher);
    pPlain->swap(plain);
    return true;
}

bool ProtectForThisUser(const std::string& plain, std::string* pBlob)
{
    if (!FitsUlong(plain))
        return false;
    DATA_BLOB in;
    in.cbData = SizeOf(plain);
    in.pbData = InputBytes(plain);
    CScopedBlob out;
    if (!CryptProtectData(&in, NULL, NULL, NULL, NULL, CRYPTPROTECT_UI_FORBIDDEN, out.Receive()))
        return false;
    *pBlob = out.Bytes();
    return true;
}

bool UnprotectForThisUser(const std::string& blob, std::string* pPlain)
{
    if (!FitsUlong(blob))
        return false;
    DATA_BLOB in;
    in.cbData = SizeOf(blob);
    in.pbData = InputBytes(blob);
    CScopedBlob out;
    if (!CryptUnprotectData(&in, NULL, NULL, NULL, NULL, CRYPTPROTECT_UI_FORBIDDEN, out.Receive()))
        return false;
    *pPlain = out.Bytes();
    return true;
}
