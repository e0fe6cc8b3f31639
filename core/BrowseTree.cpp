#include "BrowseTree.h"
#include <stdlib.h>
#include <string.h>

BrowseNode* CreateBrowseNode(const char* pszName)
{
    BrowseNode* pNode = static_cast<BrowseNode*>(calloc(1, sizeof(BrowseNode)));
    if (!pNode)
        return NULL;
    size_t nLength = strlen(pszName);
    pNode->name = static_cast<char*>(malloc(nLength + 1));
    if (!pNode->name)
    {
        free(pNode);
        return NULL;
    }
    memcpy(pNode->name, pszName, nLength + 1);
    return pNode;
}

void DestroyBrowseTree(BrowseNode* pNode)
{
    // Siblings are walked in a loop, so a folder of many thousand files does not
    // recurse once per file.
    while (pNode)
    {
        BrowseNode* pNext = pNode->next;
        DestroyBrowseTree(pNode->child);
        free(pNode->name);
        free(pNode);
        pNode = pNext;
    }
}

BrowseNode* CChildAppender::Append(const char* pszName, unsigned char nKind)
{
    BrowseNode* pNode = CreateBrowseNode(pszName);
    if (!pNode)
        return NULL;
    pNode->parent = m_pParent;
    pNode->kind = nKind;
    if (m_pLast)
    {
        pNode->place = 3;
        m_pLast->next = pNode;
    }
    else
    {
        pNode->place = 1;
        m_pParent->child = pNode;
    }
    m_pLast = pNode;
    return pNode;
}

void FinishFolderChildren(BrowseNode* pLast)
{
    if (!pLast)
        return;
    pLast->place = pLast->place == 1 ? 2 : 4;
}

static void RemoveOneTrailingBackslash(char* pszText)
{
    size_t nLength = strlen(pszText);
    if (nLength > 0 && pszText[nLength - 1] == '\\')
        pszText[nLength - 1] = '\0';
}

static void AddConfiguredFolders(BrowseNode* pRoot, const char* pszFolders, bool bRecursive,
                                 CFolderScanner& scanner)
{
    CChildAppender children(pRoot);
    const char* pPart = pszFolders;
    for (;;)
    {
        const char* pEnd = strchr(pPart, ';');
        size_t nLength = pEnd ? static_cast<size_t>(pEnd - pPart) : strlen(pPart);
        char szFolder[1024] = {};
        memcpy(szFolder, pPart, nLength < sizeof(szFolder) ? nLength : sizeof(szFolder) - 1);
        RemoveOneTrailingBackslash(szFolder);
        if (szFolder[0] != '\0')
        {
            BrowseNode* pNode =
                children.Append(szFolder, bRecursive ? KIND_FOLDER_LISTED : KIND_FOLDER_NOT_LISTED);
            if (!pNode)
                break;
            if (bRecursive)
                scanner.ScanFolder(szFolder, pNode, true);
        }
        if (!pEnd)
            break;
        pPart = pEnd + 1;
    }
    // The last configured folder is "last" even when it is the only one.
    if (children.Last())
        children.Last()->place = 4;
}

BrowseNode* BuildBrowseRoot(const char* pszFolders, bool bRecursive, CFolderScanner& scanner)
{
    if (pszFolders[0] == '\0')
        return NULL;
    bool bSeveral = strchr(pszFolders, ';') != NULL;
    BrowseNode* pRoot = CreateBrowseNode(bSeveral ? "" : pszFolders);
    if (!pRoot)
        return NULL;
    pRoot->place = 0;
    pRoot->kind = KIND_FOLDER_LISTED;
    if (bSeveral)
        AddConfiguredFolders(pRoot, pszFolders, bRecursive, scanner);
    else
        scanner.ScanFolder(pRoot->name, pRoot, bRecursive);
    return pRoot;
}

void CBrowseTreeCursor::Advance()
{
    if (m_pNext->child)
    {
        m_pNext = m_pNext->child;
        return;
    }
    // Climb to the nearest node with a following sibling.
    for (BrowseNode* pNode = m_pNext; pNode && pNode != m_pTop; pNode = pNode->parent)
    {
        if (pNode->next)
        {
            m_pNext = pNode->next;
            return;
        }
    }
    m_pNext = NULL;
}

bool SerializeBrowseTree(CBrowseTreeCursor& cursor, unsigned char** ppWrite, int* pRoom)
{
    for (BrowseNode* pNode = cursor.Next(); pNode; pNode = cursor.Next())
    {
        int nNameLength = static_cast<int>(strlen(pNode->name));
        int nNeed = nNameLength + 2;
        if (*pRoom < nNeed)
            return false;
        unsigned char* pWrite = *ppWrite;
        pWrite[0] = static_cast<unsigned char>(pNode->place * 16 + pNode->kind);
        memcpy(pWrite + 1, pNode->name, nNameLength + 1);
        *ppWrite += nNeed;
        *pRoom -= nNeed;
        pNode->sent = 1;
        cursor.Advance();
    }
    return true;
}

void ClearSentMarks(BrowseNode* pNode)
{
    for (; pNode; pNode = pNode->next)
    {
        pNode->sent = 0;
        ClearSentMarks(pNode->child);
    }
}

int SendBrowseTreeChunks(BrowseNode* pRoot, CChunkWriter& writer)
{
    ClearSentMarks(pRoot);
    CBrowseTreeCursor cursor(pRoot);
    int nTotal = 0;
    for (;;)
    {
        unsigned char chunk[LISTING_CHUNK_SIZE] = {};
        unsigned char* pWrite = chunk;
        int nRoom = LISTING_CHUNK_ROOM;
        bool bComplete = SerializeBrowseTree(cursor, &pWrite, &nRoom);
        int nUsed = LISTING_CHUNK_ROOM - nRoom;
        // Nothing fitted into an empty chunk: that record never will, so end here.
        if (nUsed == 0)
            bComplete = true;
        nTotal += nUsed + 2;
        int nLength = nUsed;
        if (bComplete)
        {
            chunk[nUsed] = 0xFF;
            chunk[nUsed + 1] = 0x00;
            nLength = nUsed + 2;
        }
        writer.WriteChunk(chunk, nLength);
        if (bComplete || writer.IsBroken())
            return nTotal;
    }
}

// Takes the chunks and keeps nothing.
class CDiscardingChunkWriter : public CChunkWriter
{
public:
    void WriteChunk(const unsigned char*, int) override {}
};

int ListingByteTotal(BrowseNode* pRoot)
{
    CDiscardingChunkWriter writer;
    return SendBrowseTreeChunks(pRoot, writer);
}
