#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "web/Pairing.h"

TEST(Pairing, CodesAreSixDigitsWithoutBias)
{
    const std::pair<uint32_t, const char*> cases[] = {
        // The random bits and their code; none: drawn again.
        {0, "000000"},           {42, "000042"},      {999999, "999999"},  {1000000, "000000"},
        {4293999999u, "999999"}, {4294000000u, NULL}, {0xFFFFFFFFu, NULL},
    };
    for (const auto& c : cases)
    {
        std::string code = "untouched";
        EXPECT_EQ(c.second != NULL, PairingCodeFromRandom(c.first, &code)) << c.first;
        EXPECT_EQ(c.second ? c.second : "untouched", code) << c.first;
    }
}

// A token's form and its use are the end-to-end test's (WebRemoteTest.cpp).
TEST(Pairing, TokensAreKeptAsTheirHashAndComparedWhole)
{
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", TokenHash("abc"));
    const std::string token(64, 'f');
    EXPECT_TRUE(ConstantTimeEquals(token, token));
    EXPECT_FALSE(ConstantTimeEquals(token, token.substr(0, 63) + "e"));
    EXPECT_FALSE(ConstantTimeEquals(token, token.substr(0, 63)));
}

// The end-to-end test shows the fifth wrong code locking out; here the minutes it cannot wait for.
TEST(Pairing, WrongCodesCountForAMinuteAndLockOutForAMinute)
{
    CPairingLockout lockout;
    const std::string phone = "192.168.1.5";
    const uint32_t nStart = 0xFFFFFFFFu - 30000; // the tick count wraps on the way
    for (uint32_t i = 0; i < 4; i++)
        EXPECT_FALSE(lockout.RecordWrongCode(phone, nStart + i * 14000));
    EXPECT_TRUE(lockout.RecordWrongCode(phone, nStart + 59999));
    EXPECT_EQ(60u, lockout.SecondsLeft(phone, nStart + 59999));
    // Tries during the lockout neither count nor lengthen it.
    EXPECT_TRUE(lockout.RecordWrongCode(phone, nStart + 90000));
    EXPECT_EQ(1u, lockout.SecondsLeft(phone, nStart + 59999 + 59999));
    EXPECT_FALSE(lockout.IsLockedOut(phone, nStart + 59999 + 60000));
    EXPECT_FALSE(lockout.RecordWrongCode(phone, nStart + 59999 + 60000));

    // Spread over more than a minute, or followed by a success: no lockout.
    for (uint32_t i = 0; i < 10; i++)
        EXPECT_FALSE(lockout.RecordWrongCode("10.0.0.2", i * 15000));
    for (uint32_t i = 0; i < 4; i++)
        EXPECT_FALSE(lockout.RecordWrongCode("10.0.0.3", i));
    lockout.RecordSuccess("10.0.0.3");
    EXPECT_FALSE(lockout.RecordWrongCode("10.0.0.3", 5));
}

// Full of addresses that matter, the table takes no new one: forgetting one
// would let enough addresses guess without limit.
TEST(Pairing, AFullLockoutTableForgetsNoAddressThatMatters)
{
    CPairingLockout lockout;
    for (uint32_t i = 0; i < 5; i++)
        lockout.RecordWrongCode("10.0.0.1", i);
    for (uint32_t i = 1; i < MAX_LOCKOUT_ADDRESSES; i++)
        EXPECT_FALSE(lockout.RecordWrongCode("10.1.0." + std::to_string(i), 30000));
    EXPECT_TRUE(lockout.IsFullFor("10.2.0.1", 59999));
    EXPECT_FALSE(lockout.IsFullFor("10.1.0.1", 59999)) << "a tracked address keeps trying";
    EXPECT_EQ(1u, lockout.SecondsUntilRoom(59999)) << "the lockout ends first";
    EXPECT_FALSE(lockout.RecordWrongCode("10.2.0.1", 59999));
    EXPECT_TRUE(lockout.IsLockedOut("10.0.0.1", 59999)) << "nothing locked was forgotten";
    // Once the lockout is over, its place is free; the others' minute runs on.
    EXPECT_FALSE(lockout.IsFullFor("10.2.0.1", 60004));
    EXPECT_FALSE(lockout.RecordWrongCode("10.2.0.1", 60004));
    EXPECT_TRUE(lockout.IsFullFor("10.2.0.2", 60004));
    EXPECT_EQ(30u, lockout.SecondsUntilRoom(60004));
    EXPECT_FALSE(lockout.IsFullFor("10.2.0.2", 90000));
}

TEST(Pairing, ACodePairsOnceShownAndUntilTenMinutesAfterTheDialogClosed)
{
    const uint64_t nMinutes = 60000, nStart = 1000;
    CPairingCode code;
    code.Set("123456", nStart);
    EXPECT_EQ(CODE_WRONG, code.Check("123456", nStart)) << "never shown";
    code.DialogOpened(nStart);
    EXPECT_EQ(CODE_MATCHES, code.Check("123456", nStart + 60 * nMinutes)) << "the dialog is open";
    code.DialogClosed(nStart + 60 * nMinutes);
    EXPECT_EQ(CODE_MATCHES, code.Check("123456", nStart + 70 * nMinutes - 1));
    EXPECT_EQ(CODE_EXPIRED, code.Check("123456", nStart + 70 * nMinutes));
    code.DialogOpened(nStart + 71 * nMinutes);
    EXPECT_TRUE(code.IsExpired(nStart + 71 * nMinutes)) << "opening the dialog shows it expired";
    EXPECT_EQ(CODE_EXPIRED, code.Check("000000", nStart + 71 * nMinutes));
    code.Set("654321", nStart + 72 * nMinutes);
    EXPECT_EQ(CODE_MATCHES, code.Check("654321", nStart + 72 * nMinutes))
        << "drawn while the dialog is open, it is shown at once";
}

TEST(Pairing, TenWrongCodesWearTheCodeOut)
{
    CPairingCode code;
    code.DialogOpened(0);
    code.Set("123456", 0);
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(CODE_WRONG, code.Check("00000" + std::to_string(i), i));
    EXPECT_FALSE(code.IsWornOut());
    EXPECT_EQ(CODE_MATCHES, code.Check("123456", 9)) << "a right code does not count";
    EXPECT_EQ(CODE_WRONG, code.Check("", 10));
    EXPECT_TRUE(code.IsWornOut());
    code.Set("654321", 11);
    EXPECT_FALSE(code.IsWornOut()) << "a new code starts afresh";
}

TEST(Pairing, PairedBrowsersFile)
{
    const std::string a(64, 'a'), b(64, 'b');
    const PairedBrowser browsers[] = {{a, "Chrome\ton\r\nAndroid", "2026-12-08"},
                                      {b, "", "2026-12-09"}};
    std::string text = SerializePairedBrowsers(std::vector<PairedBrowser>(browsers, browsers + 2));
    EXPECT_EQ(a + "\t2026-12-08\tChrome on  Android\n" + b + "\t2026-12-09\t\n", text);
    // Skipped: a short hash, upper-case hex, a bad date, no name field.
    std::string bad = a.substr(1) + "\t2026-12-08\tx\n" + std::string(64, 'A') +
                      "\t2026-12-08\tx\n" + a + "\t2026-12-8\tx\n" + a + "\t2026-12-08\n";
    std::vector<PairedBrowser> parsed =
        ParsePairedBrowsers(text + bad + a + "\t2026-12-10\tCRLF\r\n");
    ASSERT_EQ(3u, parsed.size());
    EXPECT_EQ("Chrome on  Android", parsed[0].name);
    EXPECT_EQ("2026-12-09", parsed[1].date);
    EXPECT_EQ("CRLF", parsed[2].name);

    std::vector<PairedBrowser> many(MAX_PAIRED_BROWSERS + 5, browsers[1]);
    many.back().name = std::string(100, 'n');
    parsed = ParsePairedBrowsers(SerializePairedBrowsers(many) + text);
    ASSERT_EQ(MAX_PAIRED_BROWSERS, parsed.size());
    EXPECT_EQ(std::string(MAX_BROWSER_NAME, 'n'), parsed[MAX_PAIRED_BROWSERS - 3].name);
    EXPECT_EQ(a, parsed[MAX_PAIRED_BROWSERS - 2].tokenHash) << "the last ones are kept";
}

TEST(Pairing, BrowsersKeepWhereAndWhenTheyWereSeenInLinesOlderVersionsRead)
{
    const std::string a(64, 'a');
    const std::string old = a + "\t2026-12-08\tChrome on Android\n";
    EXPECT_EQ(old, SerializePairedBrowsers(ParsePairedBrowsers(old))) << "loaded unchanged";
    const PairedBrowser seen = {a, "Chrome on Android", "2026-12-08", "192.168.1.23",
                                "2026-12-09 14:05"};
    const std::string line =
        a + "\t2026-12-08\tChrome on Android\t192.168.1.23\t2026-12-09 14:05\n";
    EXPECT_EQ(line, SerializePairedBrowsers(std::vector<PairedBrowser>(1, seen)));
    std::vector<PairedBrowser> parsed =
        ParsePairedBrowsers(line + a + "\t2026-12-08\t\tnot an address\t2026-12-09 4:05\n");
    ASSERT_EQ(2u, parsed.size());
    EXPECT_EQ(seen.address + seen.seen, parsed[0].address + parsed[0].seen);
    EXPECT_EQ("", parsed[1].address + parsed[1].seen) << "kept only when they parse";

    const std::pair<PairedBrowser, const char*> lines[] = {
        {seen, "Chrome on Android, 192.168.1.23, seen 2026-12-09 14:05"},
        {ParsePairedBrowsers(old)[0], "Chrome on Android, paired 2026-12-08"},
        {parsed[1], "Browser, paired 2026-12-08"},
    };
    for (const auto& c : lines)
        EXPECT_EQ(c.second, PairedBrowserLine(c.first));
}

TEST(Pairing, BrowserNamesFromUserAgents)
{
    const std::pair<const char*, const char*> cases[] = {
        // Shortened to the words that tell them apart.
        {"(Linux; Android 14; Pixel 8) Chrome/131.0.0.0 Mobile Safari/537.36", "Chrome on Android"},
        {"(iPhone; CPU iPhone OS 18_1 like Mac OS X) Version/18.1 Safari/604", "Safari on iPhone"},
        {"(iPhone; like Mac OS X) CriOS/131.0.6778.73 Mobile Safari/604.1", "Chrome on iPhone"},
        {"(Android 14; Mobile; rv:133.0) Gecko/133.0 Firefox/133.0", "Firefox on Android"},
        {"(Windows NT 10.0) Chrome/131.0.0.0 Safari/537.36 Edg/131.0.0.0", "Edge on Windows"},
        {"(Linux; Android 14) SamsungBrowser/26.0 Chrome/122.0", "Samsung Internet on Android"},
        {"(Macintosh; Intel Mac OS X 10_15_7) Version/18.1 Safari/605.1.15", "Safari on Mac"},
        {"curl/8.5.0", "Browser"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
        EXPECT_EQ(cases[i].second, BrowserNameFromUserAgent(cases[i].first)) << i;
}
