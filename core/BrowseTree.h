// The folder tree of a listing and its wire form. Plain C++, no platform calls:
// the file system is reached through CFolderScanner.
#pragma once

struct BrowseNode
{
    unsigned char place; // 0 root, 1 first of several, 2 only one, 3 middle, 4 last of several
    unsigned char kind;  // 1 folder listed, 2 file, 3 folder not listed
    char* name;          // owned
    int sent;            // the record is already in a chunk
    BrowseNode* parent;  // not owned
    BrowseNode* child;   // owned
    BrowseNode* next;    // owned
};

const unsigned char KIND_FOLDER_LISTED = 1;
const unsigned char KIND_FILE = 2;
const unsigned char KIND_FOLDER_NOT_LISTED = 3;

// Chunks of the listing: at most 1022 bytes of records, and the end mark FF 00.
const int LISTING_CHUNK_SIZE = 1024;
const int LISTING_CHUNK_ROOM = 1022;

// A node with every field zero and a copy of the name, or NULL when memory runs out.
BrowseNode* CreateBrowseNode(const char* pszName);
// Destroys the node, its children and its following siblings.
void DestroyBrowseTree(BrowseNode* pNode);

// Appends the children of one folder, one entry at a time, and gives them their places.
class CChildAppender
{
public:
    explicit CChildAppender(BrowseNode* pParent) : m_pParent(pParent), m_pLast(0) {}
    // NULL when memory runs out; the tree stays whole.
    BrowseNode* Append(const char* pszName, unsigned char nKind);
    BrowseNode* Last() const { return m_pLast; }

private:
    BrowseNode* m_pParent;
    BrowseNode* m_pLast;
};

// Gives the last child of a scanned folder its place: the only one 2, the last of several 4.
void FinishFolderChildren(BrowseNode* pLast);

// Reads folders from the file system into the tree.
class CFolderScanner
{
public:
    virtual ~CFolderScanner() {}
    // Appends the folder's entries as children of pParent, recursing into
    // subfolders when asked; logs a folder that cannot be opened.
    virtual void ScanFolder(const char* pszPath, BrowseNode* pParent, bool bRecursive) = 0;
};

// The tree for a folder list: NULL for an empty text; one folder names the
// root; several, separated by ";", hang below an empty-named root.
BrowseNode* BuildBrowseRoot(const char* pszFolders, bool bRecursive, CFolderScanner& scanner);

// Where a listing goes on: the next node in pre-order whose record is not yet
// written. Each chunk resumes there, so a listing costs time in proportion to its size.
class CBrowseTreeCursor
{
public:
    // At pNode; the walk covers pNode, its subtree and its following siblings.
    explicit CBrowseTreeCursor(BrowseNode* pNode)
        : m_pNext(pNode), m_pTop(pNode ? pNode->parent : 0)
    {
    }
    BrowseNode* Next() const { return m_pNext; }
    void Advance();

private:
    BrowseNode* m_pNext;
    const BrowseNode* m_pTop; // the walk never climbs to this node
};

// Writes the records from the cursor on, in pre-order, into *ppWrite while they
// fit in *pRoom, marking them sent; true once the whole tree is written.
bool SerializeBrowseTree(CBrowseTreeCursor& cursor, unsigned char** ppWrite, int* pRoom);
void ClearSentMarks(BrowseNode* pNode);

class CChunkWriter
{
public:
    virtual ~CChunkWriter() {}
    virtual void WriteChunk(const unsigned char* pChunk, int nLength) = 0;
    // True once the link has failed: nothing more can reach the phone.
    virtual bool IsBroken() const { return false; }
};

// Sends the tree in chunks, the last one ending with FF 00; returns the byte
// total for the log (records plus 2 per chunk). A record too long for an
// empty chunk ends the listing there, so every listing ends. A broken writer
// ends it at once: the rest of the tree is not serialised for nobody.
int SendBrowseTreeChunks(BrowseNode* pRoot, CChunkWriter& writer);

// The byte total a listing of the tree has on the phone's wire (as
// SendBrowseTreeChunks returns it), for the log of a listing that goes elsewhere.
int ListingByteTotal(BrowseNode* pRoot);
