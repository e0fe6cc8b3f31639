// The folder tree of a listing and its wire form. Plain C++, no platform calls.
#pragma once

struct BrowseNode
{
    unsigned char place;  // 0 root, 1 first of several, 2 only one, 3 middle, 4 last of several
    unsigned char kind;   // 1 folder listed, 2 file, 3 folder not listed
    char* name;           // owned
    int sent;             // the record is already in a chunk
    BrowseNode* parent;   // not owned
    BrowseNode* child;    // owned
    BrowseNode* next;     // owned
};

// A node with every field zero, or NULL when memory runs out.
BrowseNode* CreateBrowseNode(const char* pszName);
// Destroys the node, its children and its following siblings.
void DestroyBrowseTree(BrowseNode* pNode);
