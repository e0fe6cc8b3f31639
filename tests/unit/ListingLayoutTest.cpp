#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ListingLayout.h"
#include "core/BrowseTree.h"

struct ListingRecord
{
    unsigned char nHead;
    std::string name;
};

static std::string Tree(const std::vector<ListingRecord>& records)
{
    CListingLayout layout;
    std::string text;
    for (const ListingRecord& record : records)
        text += ListingLine(layout.NextDepth(record.nHead), record.nHead, record.name) + "\n";
    return text;
}

TEST(ListingLayout, EachNameStandsUnderItsParent)
{
    struct Case
    {
        const char* pszWhat;
        std::vector<ListingRecord> records;
        const char* pszTree;
    };
    const Case cases[] = {
        {"one folder, recursive",
         {{0x01, "C:\\Music"}, {0x12, "a.mp3"}, {0x41, "Rock"}, {0x22, "b.mp3"}},
         "C:\\Music\\\n  a.mp3\n  Rock\\\n    b.mp3\n"},
        {"one level: folders whose contents are not listed",
         {{0x01, "C:\\Music"}, {0x12, "a.mp3"}, {0x43, "Rock"}},
         "C:\\Music\\\n  a.mp3\n  Rock\\\n"},
        {"four levels end at once, then three, then two",
         {{0x01, "M"},
          {0x11, "A"},
          {0x21, "B"},
          {0x21, "C"},
          {0x21, "D"},
          {0x22, "deep.mp3"},
          {0x32, "a.mp3"},
          {0x31, "E"},
          {0x21, "F"},
          {0x21, "G"},
          {0x22, "g.mp3"},
          {0x32, "y.mp3"},
          {0x31, "H"},
          {0x21, "I"},
          {0x22, "i.mp3"},
          {0x42, "z.mp3"}},
         "M\\\n  A\\\n    B\\\n      C\\\n        D\\\n          deep.mp3\n"
         "  a.mp3\n  E\\\n    F\\\n      G\\\n        g.mp3\n"
         "  y.mp3\n  H\\\n    I\\\n      i.mp3\n  z.mp3\n"},
        {"several configured folders below an empty root",
         {{0x01, ""},
          {0x11, "C:\\A"},
          {0x21, "Sub"},
          {0x22, "f.mp3"},
          {0x41, "D:\\B"},
          {0x12, "g"},
          {0x42, "h"}},
         "(the configured folders)\n  C:\\A\\\n    Sub\\\n      f.mp3\n  D:\\B\\\n    g\n    h\n"},
        {"one configured folder comes last although it is the only one",
         {{0x01, ""}, {0x41, "C:\\A"}, {0x12, "a"}, {0x42, "b"}},
         "(the configured folders)\n  C:\\A\\\n    a\n    b\n"},
        {"empty folders are followed by their siblings",
         {{0x01, "R"}, {0x11, "E1"}, {0x31, "E2"}, {0x12, "x"}, {0x41, "E3"}, {0x42, "y"}},
         "R\\\n  E1\\\n  E2\\\n    x\n    E3\\\n  y\n"},
        {"a drive root keeps its one backslash", {{0x01, "Z:\\"}, {0x22, "a"}}, "Z:\\\n  a\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pszTree, Tree(c.records)) << c.pszWhat;
}

TEST(ListingLayout, RawLinesShowTheRecordsAsTheyCame)
{
    EXPECT_EQ("41 Rock", RawListingLine(0x41, "Rock"));
    EXPECT_EQ("01", RawListingLine(0x01, ""));
}

namespace
{
// Random folders, made by the server's own tree builder and serializer, so the
// layout is checked against listings exactly as the server writes them.
class CRandomScanner : public CFolderScanner
{
public:
    explicit CRandomScanner(unsigned nSeed) : m_nState(nSeed), m_nNames(0) {}

    void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) override
    {
        int nDepth = 0;
        for (BrowseNode* pNode = pParent; pNode->parent; pNode = pNode->parent)
            nDepth++;
        CChildAppender children(pParent);
        int nEntries = static_cast<int>(Random(nDepth < 5 ? 5 : 2));
        for (int i = 0; i < nEntries; i++)
        {
            bool bFolder = nDepth < 6 && Random(5) < 2;
            std::string name = "e" + std::to_string(++m_nNames);
            unsigned char nKind = !bFolder     ? KIND_FILE
                                  : bRecursive ? KIND_FOLDER_LISTED
                                               : KIND_FOLDER_NOT_LISTED;
            BrowseNode* pNode = children.Append(name.c_str(), nKind);
            if (nKind == KIND_FOLDER_LISTED)
                ScanFolder((std::string(pszPath) + "\\" + name).c_str(), pNode, true);
        }
        FinishFolderChildren(children.Last());
    }

private:
    unsigned Random(unsigned nBelow)
    {
        m_nState = m_nState * 1103515245u + 12345u;
        return (m_nState >> 16) % nBelow;
    }
    unsigned m_nState;
    int m_nNames;
};

class CStreamWriter : public CChunkWriter
{
public:
    std::string stream;
    void WriteChunk(const unsigned char* pChunk, int nLength) override
    {
        stream.append(reinterpret_cast<const char*>(pChunk), nLength);
    }
};
} // namespace

static void CollectDepths(const BrowseNode* pNode, int nDepth, std::vector<int>& depths)
{
    for (; pNode; pNode = pNode->next)
    {
        depths.push_back(nDepth);
        CollectDepths(pNode->child, nDepth + 1, depths);
    }
}

TEST(ListingLayout, DepthsMatchTheServersTreesWhateverEndsAtOnce)
{
    const char* const folderLists[] = {"C:\\Music", "C:\\A;D:\\B;E:\\C", "C:\\A;"};
    for (unsigned nSeed = 1; nSeed <= 300; nSeed++)
    {
        const char* pszFolders = folderLists[nSeed % 3];
        CRandomScanner scanner(nSeed);
        BrowseNode* pRoot = BuildBrowseRoot(pszFolders, nSeed % 7 != 0, scanner);
        std::vector<int> expected;
        CollectDepths(pRoot, 0, expected);
        CStreamWriter writer;
        SendBrowseTreeChunks(pRoot, writer);
        DestroyBrowseTree(pRoot);

        CListingLayout layout;
        std::vector<int> depths;
        for (size_t nAt = 0; static_cast<unsigned char>(writer.stream[nAt]) != 0xFF;)
        {
            depths.push_back(layout.NextDepth(static_cast<unsigned char>(writer.stream[nAt])));
            nAt = writer.stream.find('\0', nAt + 1) + 1;
        }
        ASSERT_EQ(expected, depths) << "seed " << nSeed << ", folders " << pszFolders;
    }
}
