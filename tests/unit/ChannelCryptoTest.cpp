// The private channel's keys and frames: the vector the page's own library must give
// too (docs/web-channel.md, "Test vector"), and the refusal of replayed frames.
#include <gtest/gtest.h>
#include <string>
#include "web/ByteText.h"
#include "web/ChannelCrypto.h"
#include "web/PairingKey.h"

static std::string Range(int nFirst, int nEnd)
{
    std::string bytes;
    for (int i = nFirst; i < nEnd; i++)
        bytes += static_cast<char>(i);
    return bytes;
}

TEST(ChannelCrypto, GivesTheDocumentedTestVector)
{
    std::string keyBytes;
    ASSERT_TRUE(ParsePairingKey("0410-6105-0R3G-G28A", &keyBytes));
    EXPECT_EQ(Range(1, 11), keyBytes);
    const std::string idHex = HexFromBytes(Range(0x10, 0x20));
    const std::string nonce = Range(0x20, 0x30);
    std::string K;
    ASSERT_TRUE(DeriveBrowserKey(keyBytes, nonce, idHex, &K));
    EXPECT_EQ("aee3fdb4c7fd63ad7d761776fc468b5468b39767f3e2ae640929795646aafd24", HexFromBytes(K));

    std::string seal;
    ASSERT_TRUE(BytesFromHex("6dbd315bc8e6fa829a31d3bdbb0fa2a53287f40f", &seal));
    std::string userAgent;
    ASSERT_TRUE(OpenPairingSeal(K, idHex, HexFromBytes(nonce), seal, &userAgent));
    EXPECT_EQ("test", userAgent);
    EXPECT_FALSE(OpenPairingSeal(K, idHex, HexFromBytes(Range(0x21, 0x31)), seal, &userAgent));
    std::string answer;
    ASSERT_TRUE(SealPairingAnswer(K, idHex, "PC", &answer));
    EXPECT_EQ("4d1f0db806f400f0302ce31407f9523857ca", HexFromBytes(answer));

    ChannelKeys keys;
    ASSERT_TRUE(DeriveChannelKeys(K, Range(0x30, 0x40), Range(0x40, 0x50), &keys));
    EXPECT_EQ("aa5841db9a25da744ed8a345bc037c288a69a9876fbb63d3e3a79dd18ab70ef0", HexFromBytes(keys.up));
    EXPECT_EQ("b92bb911b14ee640c38affa690df1b3d8d2d4452e0eba3b1f6f7e203cbe5f64b", HexFromBytes(keys.down));
    std::string frame;
    ASSERT_TRUE(BytesFromHex("0000000000000001bc587d76af3986dbc7b1755e5343c7e83ecdf99f7aa66cbbaddb2fb3d9"
                             "48e5111fb0ee0cae", &frame));
    std::string plain;
    CChannelOpener up(keys.up);
    ASSERT_TRUE(up.Open(frame, &plain));
    EXPECT_EQ("{\"id\":1,\"op\":\"hello\"}", plain);
    CChannelSealer down(keys.down);
    ASSERT_TRUE(down.Seal("{\"re\":1,\"ok\":true}", &frame));
    EXPECT_EQ("0000000000000001e36862ff3c67f4dc916006cca3daf6e8df4c607e39961dc5a45b78b75f2b32216284",
              HexFromBytes(frame));
}

TEST(ChannelCrypto, FramesOpenOnceInOrderAndOnlyInTheirDirection)
{
    ChannelKeys keys;
    ASSERT_TRUE(DeriveChannelKeys(std::string(32, 'K'), Range(0, 16), Range(16, 32), &keys));
    ASSERT_NE(keys.up, keys.down);
    EXPECT_FALSE(DeriveChannelKeys(std::string(32, 'K'), Range(0, 15), Range(16, 32), &keys));
    CChannelSealer sealer(keys.up);
    std::string frames[4];
    for (int i = 0; i < 4; i++)
    {
        ASSERT_TRUE(sealer.Seal("message " + std::to_string(i), &frames[i]));
        EXPECT_EQ(static_cast<char>(i + 1), frames[i][7]) << "the counter goes up by one";
        EXPECT_EQ(std::string(7, '\0'), frames[i].substr(0, 7));
    }
    std::string plain;
    CChannelOpener wrongWay(keys.down);
    EXPECT_FALSE(wrongWay.Open(frames[0], &plain));
    CChannelOpener opener(keys.up);
    ASSERT_TRUE(opener.Open(frames[0], &plain));
    EXPECT_EQ("message 0", plain);
    EXPECT_FALSE(opener.Open(frames[0], &plain)) << "replayed";
    // A frame may be skipped (counters need only rise), but none taken later.
    ASSERT_TRUE(opener.Open(frames[2], &plain));
    EXPECT_EQ("message 2", plain);
    plain = "untouched";
    EXPECT_FALSE(opener.Open(frames[1], &plain)) << "reordered";
    EXPECT_EQ("untouched", plain);
    // A counter rewritten to look new does not open: it is the IV.
    std::string forged = frames[3];
    forged[7] = 9;
    EXPECT_FALSE(opener.Open(forged, &plain));
    EXPECT_FALSE(opener.Open(frames[3].substr(0, 7), &plain));
    ASSERT_TRUE(opener.Open(frames[3], &plain)) << "a refused frame moves nothing on";
    EXPECT_EQ("message 3", plain);
}
