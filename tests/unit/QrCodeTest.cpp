// SHA-256 (the test's own, for pinning) against the standard's vectors, then the QR encoder
// against symbols pinned by the SHA-256 of their rows.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/QrCode.h"
#include "Sha256.h"
#include "web/ByteText.h"

namespace
{
struct DigestCase
{
    std::string text;
    const char* pszDigest;
};

std::string HexSha256(const std::string& text)
{
    unsigned char digest[32];
    Sha256(text.data(), text.size(), digest);
    return HexFromBytes(std::string(reinterpret_cast<char*>(digest), sizeof(digest)));
}

std::string Address(size_t nLength)
{
    return "http://192.168.1.20:7655/" + std::string(nLength - 26, '0') + "7";
}
} // namespace

TEST(Sha256, FipsVectorsAndPaddingEdges)
{
    const DigestCase cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // The lengths where the marker and the bit count just fit, or spill over.
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(120, 'a'), "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
        EXPECT_EQ(cases[i].pszDigest, HexSha256(cases[i].text)) << cases[i].text.size();
}

// Versions 1, 2, 6, 8, 10 and 10 full; made by an independent encoder (byte mode,
// level M, no boost), and each decodes with zbarimg.
TEST(QrCode, KnownSymbolsOfVersionsUpToTen)
{
    const DigestCase cases[] = {
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
        std::string text;
        for (const std::string& row : rows)
            text += row + "\n";
        EXPECT_EQ(cases[i].pszDigest, HexSha256(text)) << i;
    }
    std::vector<std::string> rows;
    EXPECT_FALSE(EncodeQrCode(std::string(QR_MAX_TEXT_BYTES + 1, 'y'), &rows));
}
