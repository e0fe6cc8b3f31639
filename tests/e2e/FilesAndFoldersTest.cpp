// Browsing the PC's folders and naming files from the phone: LIST, DLST, FINF,
// DOWN, and PLAY/LADD choosing the application by the file's extension.
#include <set>
#include "FakeWinamp.h"
#include "LinuxShell.h"
#include "ServerTest.h"

static const std::string CONNECTED = "Client connected on Internet socket\r\n";
static const std::string ACK = "Sent ACK to phone\r\n";
static const std::string END_MARK("\xFF\x00", 2);

static std::string Record(int nPlace, int nKind, const std::string& name)
{
    return std::string(1, static_cast<char>(nPlace * 16 + nKind)) + name + std::string(1, '\0');
}

// The entries of a folder in the order the file system returns them here.
static std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return names;
}

// The records of a folder's contents as the server must send them; the folders
// named in loops lead back up and are not listed.
static std::string ExpectedContents(const std::string& folder, bool bRecursive,
                                    const std::set<std::string>& loops = {})
{
    std::vector<std::string> names = Entries(folder);
    std::string records;
    for (size_t i = 0; i < names.size(); i++)
    {
        int nPlace = names.size() == 1 ? 2 : i == 0 ? 1 : i + 1 == names.size() ? 4 : 3;
        std::string path = folder + "\\" + names[i];
        bool bFolder = (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
        int nKind = !bFolder ? 2 : bRecursive && !loops.count(names[i]) ? 1 : 3;
        records += Record(nPlace, nKind, names[i]);
        if (nKind == 1)
            records += ExpectedContents(path, true, loops);
    }
    return records;
}

class FilesAndFolders : public CServerTest
{
protected:
    FilesAndFolders() : m_winamp(m_dir) {}

    void SetUp() override
    {
        CreateDirectoryA(m_dir.File("Music").c_str(), NULL);
        CreateDirectoryA(m_dir.File("Music\\Rock").c_str(), NULL);
        m_dir.WriteFile("Music\\a.mp3", "A");
        m_dir.WriteFile("Music\\Rock\\b.mp3", "BB");
        m_music = m_dir.File("Music");
    }

    // Reads a listing: the tag, records up to the end mark.
    std::string ReadListing()
    {
        std::string listing, byte;
        if (!m_phone.Receive(7, listing, REPLY_TIMEOUT_MS))
            return listing;
        for (;;)
        {
            if (!m_phone.Receive(1, byte, REPLY_TIMEOUT_MS))
                return listing;
            listing += byte;
            if (byte[0] == '\xFF')
            {
                m_phone.Receive(1, byte, REPLY_TIMEOUT_MS);
                return listing + byte;
            }
            do
            {
                if (!m_phone.Receive(1, byte, REPLY_TIMEOUT_MS))
                    return listing;
                listing += byte;
            } while (byte[0] != '\0');
        }
    }

    // The fake Winamp 2 running, the server connected, and (when bActive) Winamp 2
    // found by a first command, so that it is the controller a switch leaves.
    void StartWithWinamp(const std::string& settings, bool bActive)
    {
        m_winamp.Prepare("");
        ASSERT_TRUE(m_winamp.Start());
        StartServer("ListenOnSocket=1\r\n" + settings + "PathToApplication0=" + m_winamp.ExePath() +
                    "\r\n");
        ConnectPhone(m_phone);
        if (bActive)
        {
            ASSERT_TRUE(m_phone.Send("STRT"));
            ExpectNothingBeforeCheck(m_phone);
        }
        m_winamp.ForgetMessages();
    }

    static std::string Total(size_t nBytes) { return "(" + std::to_string(nBytes) + " bytes)\r\n"; }

    CFakeWinamp m_winamp;
    std::string m_music;
};

TEST_F(FilesAndFolders, ListSendsTheWholeTreeInPreOrder)
{
    StartServer("ListenOnSocket=1\r\nPath=" + m_music + "\\\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("LIST"));
    std::string records = Record(0, 1, m_music) + ExpectedContents(m_music, true);
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Wrote song list to phone " +
                                        Total(records.size() + 2) + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(FilesAndFolders, FolderListWithAnEmptyNameListsTheSettingOneLevelDeep)
{
    StartServer("ListenOnSocket=1\r\nPath=" + m_music + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send(std::string("DLST\x00\x00", 6)));
    std::string records = Record(0, 1, m_music) + ExpectedContents(m_music, false);
    EXPECT_NE(std::string::npos,
              records.find(Record(4, 3, "Rock")) + records.find(Record(1, 3, "Rock")));
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Listing \"" + m_music +
                                        "\": wrote list to phone " + Total(records.size() + 2) +
                                        ACK))
        << m_server.LogAfterBanner();
}

TEST_F(FilesAndFolders, AMissingFolderGivesItsRecordTheEndMarkAndALogLine)
{
    StartServer();
    ConnectPhone(m_phone);
    std::string missing = m_dir.File("Missing");
    ASSERT_TRUE(m_phone.Send("DLST" + EncodeName(missing)));
    std::string records = Record(0, 1, missing);
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Listing \"" + missing + "\": Couldn't open \"" + missing +
        "\"\r\nwrote list to phone " + Total(records.size() + 2) + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(FilesAndFolders, SeveralFoldersAndATrailingSemicolonHangBelowAnEmptyRoot)
{
    CreateDirectoryA(m_dir.File("Other").c_str(), NULL);
    std::string other = m_dir.File("Other");
    StartServer("ListenOnSocket=1\r\nPath=" + m_music + ";" + other + ";\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("LIST"));
    std::string records = Record(0, 1, "") + Record(1, 1, m_music) +
                          ExpectedContents(m_music, true) + Record(4, 1, other);
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
}

TEST_F(FilesAndFolders, AnEmptySettingListsNothing)
{
    StartServer();
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("LIST"));
    ExpectReply(m_phone, "LISTACK" + END_MARK);
    ASSERT_TRUE(m_phone.Send(std::string("DLST\x00\x00", 6)));
    ExpectReply(m_phone, "LISTACK" + END_MARK);
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Listing \"\": no files to list\r\n" + ACK))
        << m_server.LogAfterBanner();
}

TEST_F(FilesAndFolders, ALongListingArrivesInChunksThatReadAsOneStream)
{
    CreateDirectoryA(m_dir.File("Big").c_str(), NULL);
    for (int i = 0; i < 120; i++)
        m_dir.WriteFile(
            "Big\\a-rather-long-file-name-for-chunking-" + std::to_string(100 + i) + ".mp3", "");
    std::string big = m_dir.File("Big");
    StartServer("ListenOnSocket=1\r\nPath=" + big + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("LIST"));
    std::string records = Record(0, 1, big) + ExpectedContents(big, true);
    ASSERT_GT(records.size(), 5000u);
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
    // Each chunk of at most 1022 bytes of records adds 2 to the logged total.
    EXPECT_TRUE(m_server.WaitForLog("Wrote song list to phone ("));
    std::string log = m_server.LogAfterBanner();
    size_t nAt = log.find("Wrote song list to phone (") + 26;
    int nTotal = atoi(log.c_str() + nAt);
    EXPECT_GE(nTotal, static_cast<int>(records.size() + 2 * ((records.size() + 1021) / 1022)));
    EXPECT_LE(nTotal, static_cast<int>(records.size() + 2 * (records.size() / 900 + 1)));
}

TEST_F(FilesAndFolders, FileInfoGivesTheLength)
{
    m_dir.WriteFile("five.bin", std::string(5000, 'x'));
    StartServer();
    ConnectPhone(m_phone);
    std::string path = m_dir.File("five.bin");
    ASSERT_TRUE(m_phone.Send("FINF" + EncodeName(path)));
    ExpectReply(m_phone, std::string("FINFACK\x00\x00\x13\x88", 11));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Returning info about \"" + path +
                                        "\": length is 5000\r\n" + ACK));
}

TEST_F(FilesAndFolders, DownloadSendsTheTagAndEveryByte)
{
    std::string contents;
    for (int i = 0; i < 2500; i++)
        contents += static_cast<char>(i * 7);
    m_dir.WriteFile("song.mp3", contents);
    m_dir.WriteFile("empty.mp3", "");
    StartServer();
    ConnectPhone(m_phone);
    std::string path = m_dir.File("song.mp3");
    ASSERT_TRUE(m_phone.Send("DOWN" + EncodeName(path)));
    ExpectReply(m_phone, "DOWNACK" + contents);
    ASSERT_TRUE(m_phone.Send("DOWN" + EncodeName(m_dir.File("empty.mp3"))));
    ExpectReply(m_phone, "DOWNACK");
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Uploading \"" + path + "\"... finished\r\n" +
                                        "Uploading \"" + m_dir.File("empty.mp3") +
                                        "\"... finished\r\n" + ACK));
}

// A line break in a name shows as escapes: the name cannot forge a line of its own.
TEST_F(FilesAndFolders, AMissingFileSendsNothingAndItsNameStaysOnItsLine)
{
    StartServer();
    ConnectPhone(m_phone);
    std::string missing = m_dir.File("missing.mp3");
    std::string forging = m_dir.File("x.mp3\r\nPlaying \"y.mp3\"");
    ASSERT_TRUE(m_phone.Send("FINF" + EncodeName(missing) + "DOWN" + EncodeName(missing) + "FINF" +
                             EncodeName(forging)));
    ExpectNothingBeforeCheck(m_phone);
    EXPECT_TRUE(m_server.WaitForLogToBe(
        CONNECTED + "Returning info about \"" + missing + "\": couldn't open file\r\n" +
        "Uploading \"" + missing + "\"... couldn't open file\r\n" + "Returning info about \"" +
        m_dir.File("x.mp3") + "\\x0D\\x0APlaying \"y.mp3\"\": couldn't open file\r\n" + ACK));
}

TEST_F(FilesAndFolders, ATooLongNameIsRefusedAndItsBytesReadAsCommands)
{
    StartServer();
    ConnectPhone(m_phone);
    std::string checks;
    for (int i = 0; i < 500; i++)
        checks += "CHCK";
    ASSERT_TRUE(m_phone.Send(std::string("FINF\x07\xD0", 6) + checks + "VERS"));
    ExpectReply(m_phone, std::string(500, 'Y') + std::string("VERSACK\x01\x48", 9));
    std::string acks;
    for (int i = 0; i < 500; i++)
        acks += ACK;
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Filename length (2000) too long" + acks));
}

TEST_F(FilesAndFolders, PlayAndAddOfAnUpperCaseExtensionStayWithTheDefault)
{
    StartWithWinamp("StopWhenSwitching=1\r\n", false);
    std::string song = "D:\\song.MP3";
    ASSERT_TRUE(m_phone.Send("PLAY" + EncodeName(song) + "LADD" + EncodeName(song)));
    ExpectNothingBeforeCheck(m_phone);
    // cbData 12 counts the name's terminating zero.
    EXPECT_EQ("WM_USER 0 0\nWM_USER 0 101\nWM_COPYDATA 100 12 " + song + "\nWM_USER 0 102\n" +
                  "WM_USER 0 0\nWM_USER 0 0\nWM_COPYDATA 100 12 " + song + "\nWM_USER 0 120\n",
              JoinLines(m_winamp.Messages()));
    EXPECT_TRUE(m_server.WaitForLogToBe(CONNECTED + "Playing \"" + song + "\"\r\n" + "Adding \"" +
                                        song + "\" to playlist\r\n" + ACK));
}

// A name that opens a device or a pipe could block the link or stream without end:
// FINF and DOWN answer it as a file that cannot be opened, DLST as a missing
// folder, PLAY and LADD log one line and start nothing.
TEST_F(FilesAndFolders, DevicesAndPipesAreNeverOpened)
{
    StartWithWinamp("StartWinampAutomatically=1\r\n", true);
    const char* const devices[] = {"\\\\.\\pipe\\quorvel",
                                   "\\\\?\\GLOBALROOT\\Device\\Null",
                                   "CON",
                                   "NUL.mp3",
                                   "C:\\music\\com1.mp3",
                                   "LPT9",
                                   "AUX",
                                   "prn.txt",
                                   "\\\\server\\pipe\\x",
                                   "\\\\host\\\\pipe\\x",
                                   "\\\\host\\IPC$\\x",
                                   "Z:\\dev\\zero"};
    std::string log = CONNECTED + "Playing\r\n" + ACK;
    for (const std::string name : devices)
    {
        // Z:\dev\zero is a device by its type, not by its name: it is opened, then refused.
        bool bNamed = name != "Z:\\dev\\zero";
        std::string param = EncodeName(name);
        ASSERT_TRUE(m_phone.Send("FINF" + param + "DOWN" + param + "DLST" + param +
                                 (bNamed ? "PLAY" + param + "LADD" + param : "")));
        EXPECT_EQ(HexBytes("LISTACK" + Record(0, 1, name) + END_MARK), HexBytes(ReadListing()));
        ExpectNothingBeforeCheck(m_phone);
        log += "Returning info about \"" + name + "\": couldn't open file\r\nUploading \"" + name +
               "\"... couldn't open file\r\nListing \"" + name + "\": Couldn't open \"" + name +
               "\"\r\nwrote list to phone " + Total(name.size() + 4);
        if (bNamed)
            log += "Couldn't play \"" + name +
                   "\": it names a device, not a file\r\nCouldn't add \"" + name +
                   "\" to playlist: it names a device, not a file\r\n";
        log += ACK;
        EXPECT_TRUE(m_server.WaitForLogToBe(log)) << m_server.LogAfterBanner();
    }
    // Only the pre-dispatch check of LADD reached Winamp: nothing was played or added.
    std::string messages = JoinLines(m_winamp.Messages());
    EXPECT_EQ(std::string::npos, messages.find("WM_COPYDATA")) << messages;
}

// The window and the settings keep 259 characters of folders: LIST lists them all,
// not a shorter (and so another) last folder.
TEST_F(FilesAndFolders, ListTakesTheWholeFolderList)
{
    std::string list = m_music + ";" + m_dir.Path() + "\\";
    list += std::string(259 - list.size(), 'L');
    std::string last = list.substr(m_music.size() + 1);
    ASSERT_TRUE(CreateDirectoryA(last.c_str(), NULL)) << last;
    StartServer("ListenOnSocket=1\r\nPath=" + list + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("LIST"));
    std::string records = Record(0, 1, "") + Record(1, 1, m_music) +
                          ExpectedContents(m_music, true) + Record(4, 1, last);
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
}

// Links to "." and to ".." (Wine shows Linux's symbolic links as folders) are shown
// but not entered; a link to a folder elsewhere is followed.
TEST_F(FilesAndFolders, ListEntersNoFolderItIsInsideAndFollowsLinksElsewhere)
{
    CreateDirectoryA(m_dir.File("Other").c_str(), NULL);
    m_dir.WriteFile("Other\\c.mp3", "C");
    std::string music = LinuxPath(m_music);
    const std::string links = "'" + music + "/here' '" + music + "/Rock/up' '" + music + "/away'";
    struct CLinks // removed before the folder, whose removal would go round them
    {
        std::string names;
        ~CLinks() { RunLinuxShell("rm -f " + names); }
    } removeLinks = {links};
    ASSERT_TRUE(!music.empty() &&
                RunLinuxShell("ln -s . '" + music + "/here' && ln -s .. '" + music +
                              "/Rock/up' && ln -s ../Other '" + music + "/away'"));
    StartServer("ListenOnSocket=1\r\nPath=" + m_music + "\r\n");
    ConnectPhone(m_phone);
    ASSERT_TRUE(m_phone.Send("LIST"));
    std::string records = Record(0, 1, m_music) + ExpectedContents(m_music, true, {"here", "up"});
    EXPECT_EQ(HexBytes("LISTACK" + records + END_MARK), HexBytes(ReadListing()));
    ExpectNothingBeforeCheck(m_phone);
    // The log's lines come in order: once the listing's last is in, so are the others.
    EXPECT_TRUE(m_server.WaitForLog("Wrote song list to phone (" +
                                    std::to_string(records.size() + 2) + " bytes)\r\n"))
        << m_server.LogAfterBanner();
    const std::string loops[] = {m_music + "\\here", m_music + "\\Rock\\up"};
    for (const std::string& loop : loops)
        EXPECT_EQ(1, CountOccurrences(m_server.LogAfterBanner(),
                                      "Didn't list \"" + loop +
                                          "\": it leads back to a folder it is in\r\n"))
            << m_server.LogAfterBanner();
}
