// The PC's cryptography, all from Windows CNG (bcrypt) and DPAPI (crypt32): random
// bytes, hashes, HMAC and HKDF, AES-256-GCM, and keys kept for this user only.
#pragma once
#include <stddef.h>
#include <string>

// Bytes are carried in std::string throughout.
bool SystemRandom(void* pBuffer, size_t nSize);                   // from BCryptGenRandom
bool Sha1Digest(const std::string& data, std::string* pDigest);   // 20 bytes
bool Sha256Digest(const std::string& data, std::string* pDigest); // 32 bytes
bool HmacSha256(const std::string& key, const std::string& data, std::string* pMac);
// HKDF-SHA256 (RFC 5869), extract then expand; nOut at most 255*32.
bool HkdfSha256(const std::string& ikm, const std::string& salt, const std::string& info,
                size_t nOut, std::string* pOut);
// AES-256-GCM: 32-byte key, 12-byte IV, the 16-byte tag appended to the ciphertext.
bool AesGcmSeal(const std::string& key, const std::string& iv, const std::string& aad,
                const std::string& plain, std::string* pSealed);
// False when the tag does not match (nothing of the plain text is given then).
bool AesGcmOpen(const std::string& key, const std::string& iv, const std::string& aad,
                const std::string& sealed, std::string* pPlain);
// DPAPI for this user only (CryptProtectData / CryptUnprotectData, CRYPTPROTECT_UI_FORBIDDEN).
bool ProtectForThisUser(const std::string& plain, std::string* pBlob);
bool UnprotectForThisUser(const std::string& blob, std::string* pPlain);
