#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/Pairing.h"

TEST(Pairing, CodesAreSixDigitsWithoutBias)
{
    const struct
    {
        uint32_t nRandom;
        bool bOk;
        const char* pszCode;
    } cases[] = {
        {0, true, "000000"},       {42, true, "000042"},          {999999, true, "999999"},
        {1000000, true, "000000"}, {4293999999u, true, "999999"}, {4294000000u, false, ""},
        {0xFFFFFFFFu, false, ""},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        std::string code = "untouched";
        EXPECT_EQ(cases[i].bOk, PairingCodeFromRandom(cases[i].nRandom, &code)) << i;
        EXPECT_EQ(cases[i].bOk ? cases[i].pszCode : "untouched", code) << i;
    }
}

TEST(Pairing, TokensAndTheirHashes)
{
    unsigned char bytes[32];
    for (int i = 0; i < 32; i++)
        bytes[i] = static_cast<unsigned char>(i * 8 + 7);
    std::string token = TokenFromRandom(bytes);
    EXPECT_EQ("070f171f272f373f474f575f676f777f878f979fa7afb7bfc7cfd7dfe7eff7ff", token);
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", TokenHash("abc"));
    EXPECT_TRUE(ConstantTimeEquals(token, token));
    EXPECT_FALSE(ConstantTimeEquals(token, token.substr(0, 63) + "e"));
    EXPECT_FALSE(ConstantTimeEquals("x" + token.substr(1), token));
    EXPECT_FALSE(ConstantTimeEquals(token, token.substr(0, 63)));
    EXPECT_TRUE(ConstantTimeEquals("", ""));
}

TEST(Pairing, FifthWrongCodeWithinAMinuteLocksOutForAMinute)
{
    CPairingLockout lockout;
    const uint32_t nStart = 0xFFFFFFFFu - 30000; // the tick count wraps on the way
    for (uint32_t i = 0; i < 4; i++)
        EXPECT_FALSE(lockout.RecordWrongCode("192.168.1.5", nStart + i * 14000));
    EXPECT_FALSE(lockout.IsLockedOut("192.168.1.5", nStart + 56000));
    EXPECT_TRUE(lockout.RecordWrongCode("192.168.1.5", nStart + 59999));
    EXPECT_TRUE(lockout.IsLockedOut("192.168.1.5", nStart + 59999));
    EXPECT_FALSE(lockout.IsLockedOut("192.168.1.6", nStart + 59999));
    EXPECT_EQ(60u, lockout.SecondsLeft("192.168.1.5", nStart + 59999));
    EXPECT_EQ(1u, lockout.SecondsLeft("192.168.1.5", nStart + 59999 + 59999));
    // Tries during the lockout neither count nor lengthen it.
    EXPECT_TRUE(lockout.RecordWrongCode("192.168.1.5", nStart + 90000));
    EXPECT_FALSE(lockout.IsLockedOut("192.168.1.5", nStart + 59999 + 60000));
    EXPECT_EQ(0u, lockout.SecondsLeft("192.168.1.5", nStart + 59999 + 60000));
    EXPECT_FALSE(lockout.RecordWrongCode("192.168.1.5", nStart + 59999 + 60000));
}

TEST(Pairing, WrongCodesSpreadOverMoreThanAMinuteOrFollowedBySuccessDoNotLock)
{
    CPairingLockout lockout;
    for (uint32_t i = 0; i < 10; i++)
        EXPECT_FALSE(lockout.RecordWrongCode("10.0.0.2", i * 15000));
    for (uint32_t i = 0; i < 4; i++)
        EXPECT_FALSE(lockout.RecordWrongCode("10.0.0.3", i));
    lockout.RecordSuccess("10.0.0.3");
    EXPECT_FALSE(lockout.RecordWrongCode("10.0.0.3", 5));
}

TEST(Pairing, LockoutTableKeepsTheFreshestAddresses)
{
    CPairingLockout lockout;
    for (uint32_t i = 0; i < 5; i++)
        lockout.RecordWrongCode("10.0.0.1", i);
    for (uint32_t i = 0; i < MAX_LOCKOUT_ADDRESSES; i++)
        lockout.RecordWrongCode("10.1.0." + std::to_string(i), 1000 + i);
    EXPECT_FALSE(lockout.IsLockedOut("10.0.0.1", 2000)) << "the stalest address was dropped";
    for (uint32_t i = 0; i < 5; i++)
        lockout.RecordWrongCode("10.0.0.1", 3000 + i);
    EXPECT_TRUE(lockout.IsLockedOut("10.0.0.1", 4000));
}

TEST(Pairing, PairedBrowsersFile)
{
    const std::string hash(64, 'a');
    std::vector<PairedBrowser> browsers(2);
    browsers[0].tokenHash = hash;
    browsers[0].date = "2026-12-08";
    browsers[0].name = "Chrome\ton\r\nAndroid";
    browsers[1].tokenHash = std::string(64, 'b');
    browsers[1].date = "2026-12-09";
    std::string text = SerializePairedBrowsers(browsers);
    EXPECT_EQ(hash + "\t2026-12-08\tChrome on  Android\n" + std::string(64, 'b') +
                  "\t2026-12-09\t\n",
              text);
    std::string bad = hash.substr(1) + "\t2026-12-08\tshort hash\n" + std::string(64, 'A') +
                      "\t2026-12-08\tupper case\n" + hash + "\t2026-12-8\tbad date\n" + hash +
                      "\t2026-12-08\n" + hash + "\t2026-12-10\tCRLF\r\n";
    std::vector<PairedBrowser> parsed = ParsePairedBrowsers(text + bad);
    ASSERT_EQ(3u, parsed.size());
    EXPECT_EQ("Chrome on  Android", parsed[0].name);
    EXPECT_EQ("2026-12-09", parsed[1].date);
    EXPECT_EQ("CRLF", parsed[2].name);

    std::vector<PairedBrowser> many(MAX_PAIRED_BROWSERS + 5, browsers[1]);
    many.back().name = std::string(100, 'n');
    parsed = ParsePairedBrowsers(SerializePairedBrowsers(many) + text);
    ASSERT_EQ(MAX_PAIRED_BROWSERS, parsed.size());
    EXPECT_EQ(std::string(MAX_BROWSER_NAME, 'n'), parsed[MAX_PAIRED_BROWSERS - 3].name);
    EXPECT_EQ(hash, parsed[MAX_PAIRED_BROWSERS - 2].tokenHash) << "the last ones are kept";
}

TEST(Pairing, BrowserNamesFromUserAgents)
{
    const struct
    {
        const char* pszUserAgent;
        const char* pszName;
    } cases[] = {
        {"Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
         "Chrome/131.0.0.0 Mobile Safari/537.36",
         "Chrome on Android"},
        {"Mozilla/5.0 (iPhone; CPU iPhone OS 18_1 like Mac OS X) AppleWebKit/605.1.15 (KHTML, "
         "like Gecko) Version/18.1 Mobile/15E148 Safari/604.1",
         "Safari on iPhone"},
        {"Mozilla/5.0 (iPhone; CPU iPhone OS 18_1 like Mac OS X) AppleWebKit/605.1.15 (KHTML, "
         "like Gecko) CriOS/131.0.6778.73 Mobile/15E148 Safari/604.1",
         "Chrome on iPhone"},
        {"Mozilla/5.0 (Android 14; Mobile; rv:133.0) Gecko/133.0 Firefox/133.0",
         "Firefox on Android"},
        {"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
         "Chrome/131.0.0.0 Safari/537.36 Edg/131.0.0.0",
         "Edge on Windows"},
        {"Mozilla/5.0 (Linux; Android 14; SM-S911B) AppleWebKit/537.36 (KHTML, like Gecko) "
         "SamsungBrowser/26.0 Chrome/122.0.0.0 Mobile Safari/537.36",
         "Samsung Internet on Android"},
        {"Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like "
         "Gecko) Version/18.1 Safari/605.1.15",
         "Safari on Mac"},
        {"curl/8.5.0", "Browser"},
        {"", "Browser"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
        EXPECT_EQ(cases[i].pszName, BrowserNameFromUserAgent(cases[i].pszUserAgent)) << i;
}
