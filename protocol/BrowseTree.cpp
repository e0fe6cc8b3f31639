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
