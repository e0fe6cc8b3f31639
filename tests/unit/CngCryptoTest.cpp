// CNG's hashes, HMAC, HKDF and AES-GCM against the published vectors, and DPAPI.
#include <gtest/gtest.h>
#include <string>
#include "web/ByteText.h"
#include "web/CngCrypto.h"
#include "web/WebSocketHandshake.h"

static std::string Bytes(const std::string& hex)
{
    std::string bytes;
    EXPECT_TRUE(BytesFromHex(hex, &bytes)) << hex;
    return bytes;
}

static std::string Range(int nFirst, int nEnd)
{
    std::string bytes;
    for (int i = nFirst; i < nEnd; i++)
        bytes += static_cast<char>(i);
    return bytes;
}

TEST(CngCrypto, HashesAndHmacMatchTheStandardsVectors)
{
    std::string digest;
    ASSERT_TRUE(Sha1Digest("abc", &digest));
    EXPECT_EQ("a9993e364706816aba3e25717850c26c9cd0d89d", HexFromBytes(digest));
    ASSERT_TRUE(Sha256Digest("abc", &digest));
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", HexFromBytes(digest));
    ASSERT_TRUE(Sha256Digest("", &digest));
    EXPECT_EQ("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", HexFromBytes(digest));
    // RFC 4231, cases 1 and 2.
    ASSERT_TRUE(HmacSha256(std::string(20, '\x0b'), "Hi There", &digest));
    EXPECT_EQ("b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7", HexFromBytes(digest));
    ASSERT_TRUE(HmacSha256("Jefe", "what do ya want for nothing?", &digest));
    EXPECT_EQ("5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843", HexFromBytes(digest));
}

TEST(CngCrypto, HkdfMatchesRfc5869)
{
    const struct
    {
        std::string ikm, salt, info, okm;
    } cases[] = {
        {std::string(22, '\x0b'), Range(0, 13), Range(0xf0, 0xfa),
         "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865"},
        {Range(0, 80), Range(0x60, 0xb0), Range(0xb0, 0x100),
         "b11e398dc80327a1c8e7f78c596a49344f012eda2d4efad8a050cc4c19afa97c59045a99cac7827271cb41c65e5"
         "90e09da3275600c2f09b8367793a9aca3db71cc30c58179ec3e87c14c01d5c1f3434f1d87"},
        {std::string(22, '\x0b'), "", "",
         "8da4e775a563c18f715f802a063c5a31b8a11f5c5ee1879ec3454e5f3c738d2d9d201395faa4b61a96c8"},
    };
    for (const auto& c : cases)
    {
        std::string okm;
        ASSERT_TRUE(HkdfSha256(c.ikm, c.salt, c.info, c.okm.size() / 2, &okm));
        EXPECT_EQ(c.okm, HexFromBytes(okm));
    }
    std::string okm = "untouched";
    EXPECT_TRUE(HkdfSha256("k", "s", "i", 255 * 32, &okm));
    EXPECT_EQ(255u * 32, okm.size());
    EXPECT_FALSE(HkdfSha256("k", "s", "i", 255 * 32 + 1, &okm));
}

// The GCM specification's AES-256 cases 13 to 16 (the last one with AAD).
TEST(CngCrypto, AesGcmSealsAndOpensTheSpecificationsVectors)
{
    const std::string k15 = "feffe9928665731c6d6a8f9467308308feffe9928665731c6d6a8f9467308308";
    const std::string p15 = "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a72"
                            "1c3c0c95956809532fcf0e2449a6b525b16aedf5aa0de657ba637b391aafd255";
    const std::string c15 = "522dc1f099567d07f47f37a32a84427d643a8cdcbfe5c0c97598a2bd2555d1aa"
                            "8cb08e48590dbb3da7b08b1056828838c5f61e6393ba7a0abcc9f662898015ad";
    const struct
    {
        std::string key, iv, aad, plain, sealed;
    } cases[] = {
        {std::string(64, '0'), std::string(24, '0'), "", "", "530f8afbc74536b9a963b4f1c4cb738b"},
        {std::string(64, '0'), std::string(24, '0'), "", std::string(32, '0'),
         "cea7403d4d606b6e074ec5d3baf39d18d0d1c8a799996bf0265b98b5d48ab919"},
        {k15, "cafebabefacedbaddecaf888", "", p15, c15 + "b094dac5d93471bdec1a502270e3cc6c"},
        {k15, "cafebabefacedbaddecaf888", "feedfacedeadbeeffeedfacedeadbeefabaddad2",
         p15.substr(0, 120), c15.substr(0, 120) + "76fc6ece0f4e1768cddf8853bb2d551b"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sealed);
        std::string sealed;
        ASSERT_TRUE(AesGcmSeal(Bytes(c.key), Bytes(c.iv), Bytes(c.aad), Bytes(c.plain), &sealed));
        EXPECT_EQ(c.sealed, HexFromBytes(sealed));
        std::string plain = "untouched";
        ASSERT_TRUE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), Bytes(c.aad), sealed, &plain));
        EXPECT_EQ(c.plain, HexFromBytes(plain));
        // Any bit flipped, in the text, the tag, the IV or the AAD, and it does not open.
        for (size_t nBit = 0; nBit < sealed.size() * 8; nBit += 37)
        {
            std::string flipped = sealed;
            flipped[nBit / 8] = static_cast<char>(flipped[nBit / 8] ^ (1 << (nBit % 8)));
            plain = "untouched";
            EXPECT_FALSE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), Bytes(c.aad), flipped, &plain));
            EXPECT_EQ("untouched", plain);
        }
        std::string iv = Bytes(c.iv);
        iv[11] ^= 1;
        EXPECT_FALSE(AesGcmOpen(Bytes(c.key), iv, Bytes(c.aad), sealed, &plain));
        EXPECT_FALSE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), Bytes(c.aad) + "x", sealed, &plain));
    }
    std::string out;
    EXPECT_FALSE(AesGcmSeal(std::string(16, 'k'), std::string(12, 'i'), "", "p", &out));
    EXPECT_FALSE(AesGcmSeal(std::string(32, 'k'), std::string(16, 'i'), "", "p", &out));
    EXPECT_FALSE(AesGcmOpen(std::string(32, 'k'), std::string(12, 'i'), "", std::string(15, 't'), &out));
}

TEST(CngCrypto, DpapiGivesBackWhatItProtectedAndNothingForaDamagedBlob)
{
    std::string secret(32, 'k');
    secret[0] = '\0';
    secret[31] = '\xff';
    std::string blob;
    ASSERT_TRUE(ProtectForThisUser(secret, &blob));
    EXPECT_EQ(std::string::npos, blob.find(secret));
    std::string plain;
    ASSERT_TRUE(UnprotectForThisUser(blob, &plain));
    EXPECT_EQ(secret, plain);
    blob[blob.size() - 1] ^= 0x40;
    EXPECT_FALSE(UnprotectForThisUser(blob, &plain));
}

TEST(CngCrypto, RandomBytesDifferAndTheAcceptKeyIsRfc6455s)
{
    unsigned char a[32] = {0};
    unsigned char b[32] = {0};
    ASSERT_TRUE(SystemRandom(a, sizeof(a)));
    ASSERT_TRUE(SystemRandom(b, sizeof(b)));
    EXPECT_NE(0, memcmp(a, b, sizeof(a)));
    EXPECT_EQ("s3pPLMBiTxaQ9kYGzzhZRbK+xOo=", WebSocketAcceptKey("dGhlIHNhbXBsZSBub25jZQ=="));
}
