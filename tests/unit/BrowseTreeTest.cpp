#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include "core/BrowseTree.h"

namespace
{
// A file system in memory: folder path -> entries in the order "the system" returns them.
class CFakeScanner : public CFolderScanner
{
public:
    struct Entry
    {
        std::string name;
        bool bFolder;
    };
    std::map<std::string, std::vector<Entry>> folders;
    std::vector<std::string> missing;

    void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) override
    {
        std::map<std::string, std::vector<Entry>>::const_iterator it = folders.find(pszPath);
        if (it == folders.end())
        {
            missing.push_back(pszPath);
            return;
        }
        CChildAppender children(pParent);
        for (const Entry& entry : it->second)
        {
            unsigned char nKind = !entry.bFolder ? KIND_FILE
                                  : bRecursive   ? KIND_FOLDER_LISTED
                                                 : KIND_FOLDER_NOT_LISTED;
            BrowseNode* pNode = children.Append(entry.name.c_str(), nKind);
            if (nKind == KIND_FOLDER_LISTED)
                ScanFolder((std::string(pszPath) + "\\" + entry.name).c_str(), pNode, true);
        }
        FinishFolderChildren(children.Last());
    }
};

class CCollectingWriter : public CChunkWriter
{
public:
    std::vector<std::string> chunks;
    void WriteChunk(const unsigned char* pChunk, int nLength) override
    {
        chunks.push_back(std::string(reinterpret_cast<const char*>(pChunk), nLength));
    }
    std::string Stream() const
    {
        std::string all;
        for (const std::string& chunk : chunks)
            all += chunk;
        return all;
    }
};
} // namespace

static std::string Record(unsigned char nHead, const std::string& name)
{
    return std::string(1, static_cast<char>(nHead)) + name + std::string(1, '\0');
}

static const std::string END_MARK("\xFF\x00", 2);

class BrowseTree : public ::testing::Test
{
protected:
    BrowseTree() : m_pRoot(NULL)
    {
        m_scanner.folders["C:\\Music"] = {{"a.mp3", false}, {"Rock", true}};
        m_scanner.folders["C:\\Music\\Rock"] = {{"b.mp3", false}};
    }
    ~BrowseTree() { DestroyBrowseTree(m_pRoot); }

    std::string List(const char* pszFolders, bool bRecursive, int* pTotal = NULL)
    {
        DestroyBrowseTree(m_pRoot);
        m_pRoot = BuildBrowseRoot(pszFolders, bRecursive, m_scanner);
        m_writer.chunks.clear();
        if (!m_pRoot)
            return END_MARK;
        int nTotal = SendBrowseTreeChunks(m_pRoot, m_writer);
        if (pTotal)
            *pTotal = nTotal;
        return m_writer.Stream();
    }

    CFakeScanner m_scanner;
    CCollectingWriter m_writer;
    BrowseNode* m_pRoot;
};

TEST_F(BrowseTree, ARecursiveListingIsPreOrderWithPlacesAndKinds)
{
    int nTotal = 0;
    std::string stream = List("C:\\Music", true, &nTotal);
    EXPECT_EQ(Record(0x01, "C:\\Music") + Record(0x12, "a.mp3") + Record(0x41, "Rock") +
                  Record(0x22, "b.mp3") + END_MARK,
              stream);
    EXPECT_EQ(32, nTotal) << "30 bytes of records and 2";
}

TEST_F(BrowseTree, OneLevelMarksFoldersAsNotListed)
{
    EXPECT_EQ(Record(0x01, "C:\\Music") + Record(0x12, "a.mp3") + Record(0x43, "Rock") + END_MARK,
              List("C:\\Music", false));
}

TEST_F(BrowseTree, SeveralFoldersHangBelowAnEmptyRoot)
{
    m_scanner.folders["D:\\B"] = {};
    EXPECT_EQ(Record(0x01, "") + Record(0x11, "C:\\Music") + Record(0x12, "a.mp3") +
                  Record(0x41, "Rock") + Record(0x22, "b.mp3") + Record(0x41, "D:\\B") + END_MARK,
              List("C:\\Music\\;D:\\B", true));
}

TEST_F(BrowseTree, ATrailingSemicolonGivesOneLastFolder)
{
    m_scanner.folders["C:\\A"] = {};
    EXPECT_EQ(Record(0x01, "") + Record(0x41, "C:\\A") + END_MARK, List("C:\\A;", true));
    EXPECT_EQ(Record(0x01, "") + Record(0x43, "C:\\A") + END_MARK, List(";C:\\A;;", false));
    EXPECT_EQ(Record(0x01, "") + END_MARK, List(";", true)) << "no folder: the root alone";
}

TEST_F(BrowseTree, AMissingFolderKeepsItsRecord)
{
    EXPECT_EQ(Record(0x01, "C:\\Missing") + END_MARK, List("C:\\Missing", false));
    ASSERT_EQ(1u, m_scanner.missing.size());
    EXPECT_EQ("C:\\Missing", m_scanner.missing[0]);
}

TEST_F(BrowseTree, AnEmptyTextHasNoTree)
{
    EXPECT_EQ(END_MARK, List("", true));
    EXPECT_EQ(NULL, m_pRoot);
}

TEST_F(BrowseTree, ALongListingIsCutIntoChunksThatReadAsOneStream)
{
    std::vector<CFakeScanner::Entry> entries;
    std::string expected = Record(0x01, "C:\\Big");
    for (int i = 0; i < 300; i++)
    {
        std::string name = "track" + std::to_string(1000 + i) + ".mp3"; // 13 bytes, 15 on the wire
        entries.push_back({name, false});
        unsigned char nPlace = i == 0 ? 1 : i == 299 ? 4 : 3;
        expected += Record(static_cast<unsigned char>(nPlace * 16 + 2), name);
    }
    m_scanner.folders["C:\\Big"] = entries;
    int nTotal = 0;
    std::string stream = List("C:\\Big", true, &nTotal);
    EXPECT_EQ(expected + END_MARK, stream);

    ASSERT_GT(m_writer.chunks.size(), 1u);
    size_t nRecords = 0;
    for (size_t i = 0; i < m_writer.chunks.size(); i++)
    {
        const std::string& chunk = m_writer.chunks[i];
        bool bLast = i + 1 == m_writer.chunks.size();
        EXPECT_LE(chunk.size(), bLast ? 1024u : 1022u);
        EXPECT_EQ(bLast, chunk.size() >= 2 && chunk.substr(chunk.size() - 2) == END_MARK);
        nRecords += chunk.size() - (bLast ? 2 : 0);
    }
    EXPECT_EQ(static_cast<int>(nRecords + 2 * m_writer.chunks.size()), nTotal);
}

TEST_F(BrowseTree, ARootTooLongForAChunkStillEndsTheListing)
{
    std::string longName(1021, 'x');
    m_scanner.folders[longName] = {{"a.mp3", false}};
    EXPECT_EQ(END_MARK, List(longName.c_str(), false));
}

TEST_F(BrowseTree, AVeryWideFolderNeedsNoDeepRecursion)
{
    std::vector<CFakeScanner::Entry> entries;
    for (int i = 0; i < 200000; i++)
        entries.push_back({"f" + std::to_string(i), false});
    m_scanner.folders["C:\\Wide"] = entries;
    std::string stream = List("C:\\Wide", true);
    EXPECT_EQ(END_MARK, stream.substr(stream.size() - 2));
}

// A link that has failed gets nothing more, and the tree is not walked on for it.
TEST_F(BrowseTree, ABrokenWriterEndsTheListingAtOnce)
{
    class CFailingWriter : public CCollectingWriter
    {
    public:
        bool IsBroken() const override { return chunks.size() >= 2; }
    } writer;
    for (int i = 0; i < 100; i++)
        m_scanner.folders["C:\\Big"].push_back({std::string(200, 'a') + std::to_string(i), false});
    m_pRoot = BuildBrowseRoot("C:\\Big", true, m_scanner);
    int nTotal = SendBrowseTreeChunks(m_pRoot, writer);
    EXPECT_EQ(2u, writer.chunks.size());
    EXPECT_EQ(static_cast<int>(writer.chunks[0].size() + writer.chunks[1].size() + 4), nTotal);
}
