// CNG's hashes, HMAC, HKDF and AES-GCM against the published vectors, DPAPI, and the
// private channel: the vector the page's own library must give too (docs/web-channel.md,
// "Test vector") and the refusal of replayed frames.
#include <gtest/gtest.h>
#include <string>
#include "web/ByteText.h"
#include "web/ChannelCrypto.h"
#include "web/CngCrypto.h"
#include "web/PairingKey.h"
#include "web/WebSocketHandshake.h"

static std::string Bytes(const std::string& hex)
{
    std::string bytes;
    BytesFromHex(hex, &bytes);
    return bytes;
}

static std::string Range(int nFirst, int nEnd)
{
    std::string bytes;
    for (int i = nFirst; i < nEnd; i++)
        bytes += static_cast<char>(i);
    return bytes;
}

TEST(CngCrypto, HashesHmacAndTheAcceptKeyMatchTheStandardsVectors)
{
    std::string sha1, sha256, mac; // RFC 4231's second case for the HMAC
    ASSERT_TRUE(Sha1Digest("abc", &sha1) && Sha256Digest("abc", &sha256) &&
                HmacSha256("Jefe", "what do ya want for nothing?", &mac));
    EXPECT_EQ("a9993e364706816aba3e25717850c26c9cd0d89d", HexFromBytes(sha1));
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
              HexFromBytes(sha256));
    EXPECT_EQ("5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843",
              HexFromBytes(mac));
    EXPECT_EQ("s3pPLMBiTxaQ9kYGzzhZRbK+xOo=", WebSocketAcceptKey("dGhlIHNhbXBsZSBub25jZQ=="));
    unsigned char a[32] = {0}, b[32] = {0};
    ASSERT_TRUE(SystemRandom(a, sizeof(a)) && SystemRandom(b, sizeof(b)));
    EXPECT_NE(0, memcmp(a, b, sizeof(a)));
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
         "b11e398dc80327a1c8e7f78c596a49344f012eda2d4efad8a050cc4c19afa97c"
         "59045a99cac7827271cb41c65e590e09da3275600c2f09b8367793a9aca3db71"
         "cc30c58179ec3e87c14c01d5c1f3434f1d87"},
        {std::string(22, '\x0b'), "", "",
         "8da4e775a563c18f715f802a063c5a31b8a11f5c5ee1879ec3454e5f3c738d2d9d201395faa4b61a96c8"}};
    for (const auto& c : cases)
    {
        std::string okm;
        ASSERT_TRUE(HkdfSha256(c.ikm, c.salt, c.info, c.okm.size() / 2, &okm));
        EXPECT_EQ(c.okm, HexFromBytes(okm));
    }
    std::string okm;
    EXPECT_FALSE(HkdfSha256("k", "s", "i", 255 * 32 + 1, &okm));
}

// The AES-256 test cases 13 to 16 of the GCM paper (the last one with AAD).
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
         p15.substr(0, 120), c15.substr(0, 120) + "76fc6ece0f4e1768cddf8853bb2d551b"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sealed);
        std::string sealed;
        ASSERT_TRUE(AesGcmSeal(Bytes(c.key), Bytes(c.iv), Bytes(c.aad), Bytes(c.plain), &sealed));
        EXPECT_EQ(c.sealed, HexFromBytes(sealed));
        std::string plain;
        ASSERT_TRUE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), Bytes(c.aad), sealed, &plain));
        EXPECT_EQ(c.plain, HexFromBytes(plain));
        // Any bit flipped, in the text, the tag, the IV or the AAD, and it does not open.
        for (size_t nBit = 0; nBit < sealed.size() * 8; nBit += 37)
        {
            std::string flipped = sealed;
            flipped[nBit / 8] = static_cast<char>(flipped[nBit / 8] ^ (1 << (nBit % 8)));
            EXPECT_FALSE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), Bytes(c.aad), flipped, &plain));
        }
        std::string iv = Bytes(c.iv.substr(0, 23) + (c.iv[23] == '0' ? "1" : "0"));
        EXPECT_FALSE(AesGcmOpen(Bytes(c.key), iv, Bytes(c.aad), sealed, &plain));
        EXPECT_FALSE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), Bytes(c.aad) + "x", sealed, &plain));
        EXPECT_FALSE(AesGcmOpen(Bytes(c.key), Bytes(c.iv), "", sealed.substr(1), &plain));
    }
}

TEST(CngCrypto, DpapiGivesBackWhatItProtectedAndNothingForaDamagedBlob)
{
    const std::string secret("\0a key of 32 bytes, any bytes..\xff", 32);
    std::string blob;
    ASSERT_TRUE(ProtectForThisUser(secret, &blob));
    EXPECT_EQ(std::string::npos, blob.find(secret));
    std::string plain;
    EXPECT_TRUE(UnprotectForThisUser(blob, &plain) && plain == secret);
    blob[blob.size() - 1] ^= 0x40;
    EXPECT_FALSE(UnprotectForThisUser(blob, &plain));
}

TEST(ChannelCrypto, GivesTheDocumentedTestVector)
{
    std::string keyBytes, K, userAgent, answer, plain, frame;
    ASSERT_TRUE(ParsePairingKey("0410-6105-0R3G-G28A", &keyBytes));
    const std::string idHex = HexFromBytes(Range(0x10, 0x20));
    const std::string nonceHex = HexFromBytes(Range(0x20, 0x30));
    ASSERT_TRUE(DeriveBrowserKey(keyBytes, Range(0x20, 0x30), idHex, &K));
    EXPECT_EQ("aee3fdb4c7fd63ad7d761776fc468b5468b39767f3e2ae640929795646aafd24", HexFromBytes(K));
    const std::string seal = Bytes("6dbd315bc8e6fa829a31d3bdbb0fa2a53287f40f");
    EXPECT_TRUE(OpenPairingSeal(K, idHex, nonceHex, seal, &userAgent) && userAgent == "test");
    EXPECT_FALSE(OpenPairingSeal(K, idHex, HexFromBytes(Range(0x21, 0x31)), seal, &userAgent));
    ASSERT_TRUE(SealPairingAnswer(K, idHex, "PC", &answer));
    EXPECT_EQ("4d1f0db806f400f0302ce31407f9523857ca", HexFromBytes(answer));

    ChannelKeys keys;
    ASSERT_TRUE(DeriveChannelKeys(K, Range(0x30, 0x40), Range(0x40, 0x50), &keys));
    EXPECT_EQ("aa5841db9a25da744ed8a345bc037c288a69a9876fbb63d3e3a79dd18ab70ef0",
              HexFromBytes(keys.up));
    EXPECT_EQ("b92bb911b14ee640c38affa690df1b3d8d2d4452e0eba3b1f6f7e203cbe5f64b",
              HexFromBytes(keys.down));
    CChannelOpener up(keys.up);
    ASSERT_TRUE(up.Open(Bytes("0000000000000001bc587d76af3986dbc7b1755e5343c7e83ecdf99f7aa66cbbaddb"
                              "2fb3d948e5111fb0ee0cae"),
                        &plain));
    EXPECT_EQ("{\"id\":1,\"op\":\"hello\"}", plain);
    CChannelSealer down(keys.down);
    ASSERT_TRUE(down.Seal("{\"re\":1,\"ok\":true}", &frame));
    EXPECT_EQ(
        "0000000000000001e36862ff3c67f4dc916006cca3daf6e8df4c607e39961dc5a45b78b75f2b32216284",
        HexFromBytes(frame));
}

TEST(ChannelCrypto, FramesOpenOnceInOrderAndOnlyInTheirDirection)
{
    ChannelKeys keys;
    ASSERT_TRUE(DeriveChannelKeys(std::string(32, 'K'), Range(0, 16), Range(16, 32), &keys));
    EXPECT_FALSE(DeriveChannelKeys(std::string(32, 'K'), Range(0, 15), Range(16, 32), &keys));
    CChannelSealer sealer(keys.up);
    std::string frames[4];
    for (int i = 0; i < 4; i++)
    {
        ASSERT_TRUE(sealer.Seal("message " + std::to_string(i), &frames[i]));
        EXPECT_EQ(std::string(7, '\0') + static_cast<char>(i + 1), frames[i].substr(0, 8));
    }
    std::string plain;
    CChannelOpener wrongWay(keys.down), opener(keys.up);
    EXPECT_FALSE(wrongWay.Open(frames[0], &plain));
    EXPECT_TRUE(opener.Open(frames[0], &plain) && plain == "message 0");
    EXPECT_FALSE(opener.Open(frames[0], &plain)) << "replayed";
    // A frame may be skipped (counters need only rise), but none taken later.
    EXPECT_TRUE(opener.Open(frames[2], &plain) && plain == "message 2");
    EXPECT_FALSE(opener.Open(frames[1], &plain)) << "reordered";
    // A counter rewritten to look new does not open: it is the IV.
    std::string forged = frames[3];
    forged[7] = 9;
    EXPECT_FALSE(opener.Open(forged, &plain));
    EXPECT_FALSE(opener.Open(frames[3].substr(0, 7), &plain));
    EXPECT_TRUE(opener.Open(frames[3], &plain) && plain == "message 3") << "nothing moved on";
}
