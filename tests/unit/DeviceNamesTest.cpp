#include <gtest/gtest.h>
#include "core/NameRules.h"

TEST(DeviceNames, DevicesAndPipesAreRefusedInEveryForm)
{
    const char* const devices[] = {
        "\\\\.\\COM3",
        "\\\\.\\pipe\\quorvel",
        "//./pipe/x",
        "\\\\?\\C:\\music\\a.mp3",
        "\\\\?\\GLOBALROOT\\Device\\Null",
        "\\??\\C:\\x.mp3",
        "\\\\server\\pipe\\x",
        "\\\\host\\MailSlot\\m",
        "\\\\host\\\\pipe\\x",
        "//host///pipe/x",
        "\\\\host\\pipe.\\x",
        "\\\\host\\IPC$\\x",
        "\\\\host\\ipc$",
        "CON",
        "con",
        "NUL",
        "nul.mp3",
        "C:\\music\\Nul.MP3",
        "C:\\music\\aux",
        "PRN.txt",
        "D:\\x\\CON .txt",
        "CON:",
        "COM1",
        "com9.mp3",
        "LPT1",
        "lpt9.ppt",
        "C:\\a\\nul\\",
        "C:NUL",
        "conin$",
        "CONOUT$",
        "COM\xB9",
        "Z:\\dev\\..\\CON",
    };
    for (const char* pszPath : devices)
        EXPECT_TRUE(IsDeviceName(pszPath)) << pszPath;
}

TEST(DeviceNames, FilesFoldersAndNetworkSharesAreNot)
{
    const char* const files[] = {
        "",
        "C:\\music\\song.mp3",
        "C:\\music",
        "C:\\",
        "console.mp3",
        "C:\\con\\x.mp3",
        "COM10",
        "COM0",
        "LPT",
        "nullify.wav",
        "C:\\NUL x.mp3",
        "\\\\server\\share\\a.mp3",
        "\\\\server\\pipes\\a.mp3",
        "\\\\server\\share\\pipe\\a.mp3",
        "\\\\server\\IPC\\a.mp3",
        "\\\\server",
        "relative\\CONNECT.ppt",
        "Z:\\dev\\zero",
        "C:\\music\\song.mp3:stream",
        "x.COM1",
    };
    for (const char* pszPath : files)
        EXPECT_FALSE(IsDeviceName(pszPath)) << pszPath;
}
