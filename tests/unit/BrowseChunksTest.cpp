// The listing's chunks against those of the first serializer, which walked the
// tree from the root for every chunk, on many generated trees.
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include "core/BrowseTree.h"

// The first serializer, kept as the reference: the sent marks make each walk from
// the root go on where the previous chunk stopped.
static bool ReferenceSerialize(BrowseNode* pNode, unsigned char** ppWrite, int* pRoom)
{
    for (; pNode; pNode = pNode->next)
    {
        int nNameLength = static_cast<int>(strlen(pNode->name));
        int nNeed = nNameLength + 2;
        if (*pRoom < nNeed)
            return false;
        if (!pNode->sent)
        {
            unsigned char* pWrite = *ppWrite;
            pWrite[0] = static_cast<unsigned char>(pNode->place * 16 + pNode->kind);
            memcpy(pWrite + 1, pNode->name, nNameLength + 1);
            *ppWrite += nNeed;
            *pRoom -= nNeed;
            pNode->sent = 1;
        }
        if (pNode->child && !ReferenceSerialize(pNode->child, ppWrite, pRoom))
            return false;
    }
    return true;
}

static std::vector<std::string> ReferenceChunks(BrowseNode* pRoot, int* pTotal)
{
    ClearSentMarks(pRoot);
    std::vector<std::string> chunks;
    *pTotal = 0;
    for (;;)
    {
        unsigned char chunk[LISTING_CHUNK_SIZE] = {};
        unsigned char* pWrite = chunk;
        int nRoom = LISTING_CHUNK_ROOM;
        bool bComplete = ReferenceSerialize(pRoot, &pWrite, &nRoom);
        int nUsed = LISTING_CHUNK_ROOM - nRoom;
        if (nUsed == 0)
            bComplete = true;
        *pTotal += nUsed + 2;
        int nLength = nUsed;
        if (bComplete)
        {
            chunk[nUsed] = 0xFF;
            chunk[nUsed + 1] = 0x00;
            nLength = nUsed + 2;
        }
        chunks.push_back(std::string(reinterpret_cast<char*>(chunk), nLength));
        if (bComplete)
            return chunks;
    }
}

namespace
{
class CCollectingWriter : public CChunkWriter
{
public:
    std::vector<std::string> chunks;
    void WriteChunk(const unsigned char* pChunk, int nLength) override
    {
        chunks.push_back(std::string(reinterpret_cast<const char*>(pChunk), nLength));
    }
};

// Invents folders as they are scanned: a shape per tree (deep, wide, mixed), names
// of every length up to 255 and now and then of 1019 bytes and more.
class CRandomScanner : public CFolderScanner
{
public:
    CRandomScanner(unsigned nSeed, int nMaxWidth, int nMaxDepth, int nFolderPercent)
        : m_random(nSeed), m_nMaxWidth(nMaxWidth), m_nMaxDepth(nMaxDepth),
          m_nFolderPercent(nFolderPercent), m_nNodes(0)
    {
    }

    std::string Name()
    {
        int nPick = Pick(0, 999);
        int nLength = nPick < 800 ? Pick(1, 30) : nPick < 999 ? Pick(31, 255) : Pick(1019, 1023);
        std::string name(nLength, ' ');
        for (char& c : name)
            c = static_cast<char>(1 + m_random() % 255);
        return name;
    }

    void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) override
    {
        (void)pszPath;
        int nDepth = 0;
        for (BrowseNode* pNode = pParent; pNode->parent; pNode = pNode->parent)
            nDepth++;
        int nWidth = m_nNodes > 600 ? 0 : Pick(0, m_nMaxWidth);
        CChildAppender children(pParent);
        for (int i = 0; i < nWidth; i++)
        {
            bool bFolder = nDepth < m_nMaxDepth && Pick(0, 99) < m_nFolderPercent;
            unsigned char nKind = !bFolder     ? KIND_FILE
                                  : bRecursive ? KIND_FOLDER_LISTED
                                               : KIND_FOLDER_NOT_LISTED;
            BrowseNode* pNode = children.Append(Name().c_str(), nKind);
            m_nNodes++;
            if (nKind == KIND_FOLDER_LISTED)
                ScanFolder("", pNode, true);
        }
        FinishFolderChildren(children.Last());
    }

    int Pick(int nLow, int nHigh)
    {
        return std::uniform_int_distribution<int>(nLow, nHigh)(m_random);
    }

private:
    std::mt19937 m_random;
    int m_nMaxWidth, m_nMaxDepth, m_nFolderPercent;
    int m_nNodes;
};
} // namespace

// One folder, or several separated by ";" (with an empty part or a trailing
// backslash now and then); the names are the scanner's.
static std::string FolderList(CRandomScanner& scanner)
{
    int nFolders = scanner.Pick(0, 3) == 0 ? scanner.Pick(2, 6) : 1;
    std::string list;
    for (int i = 0; i < nFolders; i++)
    {
        std::string name = scanner.Name();
        for (char& c : name)
            if (c == ';')
                c = '_';
        if (scanner.Pick(0, 4) == 0)
            name += "\\";
        list += (i ? ";" : "") + name;
        if (scanner.Pick(0, 9) == 0)
            list += ";";
    }
    return list;
}

TEST(BrowseChunks, AreTheFirstSerializersOnThousandsOfTrees)
{
    struct Shape
    {
        const char* pszName;
        int nMaxWidth, nMaxDepth, nFolderPercent, nTrees;
    };
    const Shape shapes[] = {
        {"small", 6, 4, 40, 1500}, {"wide", 400, 1, 10, 300}, {"deep", 2, 120, 90, 300},
        {"mixed", 40, 6, 25, 600}, {"large", 60, 3, 15, 100}, {"flat", 3000, 0, 0, 30},
    };
    unsigned nSeed = 1;
    int nTrees = 0, nMultiChunk = 0, nCutShort = 0;
    for (const Shape& shape : shapes)
    {
        for (int i = 0; i < shape.nTrees; i++, nSeed++)
        {
            CRandomScanner scanner(nSeed, shape.nMaxWidth, shape.nMaxDepth, shape.nFolderPercent);
            std::string folders = FolderList(scanner);
            BrowseNode* pRoot = BuildBrowseRoot(folders.c_str(), scanner.Pick(0, 4) != 0, scanner);
            ASSERT_TRUE(pRoot != NULL);
            int nReferenceTotal = 0;
            std::vector<std::string> expected = ReferenceChunks(pRoot, &nReferenceTotal);
            CCollectingWriter writer;
            int nTotal = SendBrowseTreeChunks(pRoot, writer);
            DestroyBrowseTree(pRoot);
            ASSERT_EQ(expected, writer.chunks) << shape.pszName << " tree, seed " << nSeed;
            ASSERT_EQ(nReferenceTotal, nTotal) << shape.pszName << " tree, seed " << nSeed;
            nTrees++;
            nMultiChunk += expected.size() > 1;
            nCutShort += expected.back().size() == 2 && expected.size() > 1;
        }
    }
    // The generator must reach the cases that matter.
    EXPECT_GE(nTrees, 2800);
    EXPECT_GE(nMultiChunk, 500);
    EXPECT_GE(nCutShort, 20) << "listings ended early by a record too long for any chunk";
}

TEST(BrowseChunks, ACursorStartedInsideATreeCoversTheNodeItsSubtreeAndItsSiblingsOnly)
{
    BrowseNode* pRoot = CreateBrowseNode("R");
    CChildAppender top(pRoot);
    BrowseNode* pA = top.Append("A", KIND_FOLDER_LISTED);
    top.Append("B", KIND_FILE);
    CChildAppender inA(pA);
    inA.Append("a1", KIND_FILE);
    inA.Append("a2", KIND_FILE);
    CChildAppender inA2(inA.Last());
    inA2.Append("deep", KIND_FILE);

    std::string names;
    for (CBrowseTreeCursor cursor(pA->child); cursor.Next(); cursor.Advance())
        names += std::string(cursor.Next()->name) + " ";
    EXPECT_EQ("a1 a2 deep ", names) << "never climbs above its start";
    names.clear();
    for (CBrowseTreeCursor cursor(pRoot); cursor.Next(); cursor.Advance())
        names += std::string(cursor.Next()->name) + " ";
    EXPECT_EQ("R A a1 a2 deep B ", names);
    DestroyBrowseTree(pRoot);
}
