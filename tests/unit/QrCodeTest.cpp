#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/QrCode.h"
#include "web/Sha256.h"

namespace
{
// The SHA-256 of the rows, each ended by "\n", to pin a whole symbol in a line.
std::string RowsDigest(const std::vector<std::string>& rows)
{
    std::string text;
    for (size_t i = 0; i < rows.size(); i++)
        text += rows[i] + "\n";
    unsigned char digest[32];
    Sha256(text.data(), text.size(), digest);
    return HexText(digest, sizeof(digest));
}

std::string Address(size_t nLength)
{
    return "http://192.168.1.20:7655/" + std::string(nLength - 26, '0') + "7";
}
} // namespace

// Versions 1, 2, 6, 8, 10 and 10 full; made by an independent encoder (byte mode,
// level M, no boost), and each decodes with zbarimg.
TEST(QrCode, KnownSymbolsOfVersionsUpToTen)
{
    const struct
    {
        std::string text;
        const char* pszDigest;
    } cases[] = {
        {"Quorvel Server", "b78efadf3f527f37727064cda630053141dc1540ba95433b6a4b1a81a1fa1d84"},
        {"http://192.168.1.20:7655/",
         "553d27af99440d854b59f6d85f6eafb02a748d3c9c8c5f7bb265c379ecdc09a6"},
        {std::string(100, 'q'), "7ed096b6039fd193be0c44bbffa16026ec3255fb54b99623569fac341bcf9743"},
        {Address(123), "6e80814344e6ee3d67553a67811597e5a39a897b240d695c9f04f5779efc810e"},
        {Address(200), "c71e697dcbee3c6d491d2ebb3e5f5cccfb7f7822893511acc900ee57428bf4eb"},
        {std::string(QR_MAX_TEXT_BYTES, 'y'),
         "77e1bd7153d8bbc1d3f192cfd2542d88081ab44879b4457804b8d74f54329171"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::vector<std::string> rows;
        ASSERT_TRUE(EncodeQrCode(cases[i].text, &rows)) << i;
        EXPECT_EQ(cases[i].pszDigest, RowsDigest(rows)) << i;
    }
    std::vector<std::string> rows;
    EXPECT_FALSE(EncodeQrCode(std::string(QR_MAX_TEXT_BYTES + 1, 'y'), &rows));
}
