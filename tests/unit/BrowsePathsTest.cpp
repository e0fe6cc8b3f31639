#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/NameRules.h"

TEST(BrowsePaths, PathsInsideTheFoldersAreNormalised)
{
    const wchar_t* const folders = L"D:\\Music;  E:/Mp3/ ;\\\\nas\\media\\Songs;relative;C:\\";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"D:\\Music", L"D:\\Music"},
        {L"d:/music/", L"D:\\Music"},
        {L"D:\\MUSIC\\\\Rock//a.mp3", L"D:\\Music\\Rock\\a.mp3"},
        {L"E:\\Mp3\\x y.mp3", L"E:\\Mp3\\x y.mp3"},
        {L"//NAS/Media/songs/a.mp3", L"\\\\nas\\media\\Songs\\a.mp3"},
        {L"C:\\Windows\\win.ini", L"C:\\Windows\\win.ini"},
        {L"c:\\", L"C:\\"},
        {L"D:\\Music\\caf\u00E9\\.hidden\\a..b", L"D:\\Music\\caf\u00E9\\.hidden\\a..b"},
        // In Shift-JIS the second byte of U+8868 is that of "\": never a separator here.
        {L"D:\\Music\\\u8868\\a.mp3", L"D:\\Music\\\u8868\\a.mp3"},
    };
    for (const auto& c : cases)
    {
        std::wstring normalised;
        EXPECT_TRUE(IsInsideBrowseFolders(c.first, folders, &normalised)) << c.first;
        EXPECT_EQ(c.second, normalised) << c.first;
    }
}

TEST(BrowsePaths, EverythingElseIsRefused)
{
    const wchar_t* const folders = L"D:\\Music;\\\\nas\\media;D:\\\u8868";
    // Groups of refused paths, '|' between them (no path here holds one).
    const wchar_t* const groups[] = {
        L"|D:\\Music2\\a.mp3|E:\\Music\\a.mp3|\\\\nas\\mediax\\a|\\\\nas", // elsewhere
        L"Music\\a.mp3|\\Music\\a.mp3|D:Music\\a.mp3|D:|1:\\Music\\a.mp3", // not absolute
        L"D:\\Music\\..\\x|D:\\Music\\.\\a|D:\\Music\\...\\x|D:\\Music\\.. \\x|D:\\Music\\a.",
        L"D:\\Music\\nul|D:\\Music\\CON "
        L".txt|D:\\Music\\com\u00B9|\\\\nas\\pipe\\x|\\\\\\nas\\media\\a",
        L"\\\\?\\D:\\Music\\a.mp3|\\\\.\\D:\\Music\\a.mp3",               // namespaces
        L"D:\\Music\\a.mp3:secret|D:\\Music\\a*.mp3|D:\\Music\\a\tb.mp3", // streams, characters
        L"D:\\\u8868x\\a.mp3", // a folder's name is whole
    };
    std::vector<std::wstring> paths(1, std::wstring(L"D:\\Music\\a\0b", 12));
    paths.push_back(L"D:\\Music\\" + std::wstring(1015, L'x'));
    for (size_t i = 0; i < sizeof(groups) / sizeof(groups[0]); i++)
    {
        std::wstring group = groups[i];
        for (size_t nStart = 0, nEnd = 0; nEnd != std::wstring::npos; nStart = nEnd + 1)
        {
            nEnd = group.find(L'|', nStart);
            paths.push_back(
                group.substr(nStart, nEnd == std::wstring::npos ? nEnd : nEnd - nStart));
        }
    }
    for (const std::wstring& path : paths)
    {
        std::wstring normalised = L"untouched";
        EXPECT_FALSE(IsInsideBrowseFolders(path, folders, &normalised)) << path;
        EXPECT_EQ(L"untouched", normalised) << path;
    }
    std::wstring normalised;
    EXPECT_TRUE(
        IsInsideBrowseFolders(L"D:\\Music\\" + std::wstring(1014, L'x'), folders, &normalised))
        << "1023 characters are allowed";
    EXPECT_FALSE(IsInsideBrowseFolders(L"D:\\Music\\a.mp3", L"", &normalised));
    EXPECT_FALSE(IsInsideBrowseFolders(L"D:\\Music\\a.mp3", L"D:\\Music\\..\\", &normalised));
}
