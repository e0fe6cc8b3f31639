#include "ListingLayout.h"
#include <stdio.h>

static const unsigned PLACE_ROOT = 0, PLACE_FIRST = 1, PLACE_ONLY = 2, PLACE_MIDDLE = 3;
static const unsigned KIND_CONTENTS_FOLLOW = 1, KIND_FILE = 2;

CListingLayout::CListingLayout() : m_nDepth(-1), m_bWasRoot(false), m_bContentsFollow(false) {}

int CListingLayout::NextDepth(unsigned char nHead)
{
    unsigned nPlace = nHead >> 4, nKind = nHead & 0x0F;
    int nDepth;
    if (m_nDepth < 0)
        nDepth = 0;
    // A first (or only) entry after a folder whose contents follow is that
    // folder's first child; an empty folder is followed by a later sibling,
    // which is never first. The root's entries may have any place: the
    // configured folders end with a "last" even when there is only one.
    else if (m_bWasRoot || (m_bContentsFollow && (nPlace == PLACE_FIRST || nPlace == PLACE_ONLY)))
        nDepth = m_nDepth + 1;
    else
    {
        // Otherwise it is the next sibling at the deepest level still open;
        // any number of levels may have ended with the record before.
        nDepth = m_nDepth;
        while (nDepth > 1 && !m_moreSiblings[nDepth])
            nDepth--;
    }
    m_moreSiblings.resize(nDepth + 1);
    m_moreSiblings[nDepth] = nPlace == PLACE_FIRST || nPlace == PLACE_MIDDLE;
    m_nDepth = nDepth;
    m_bWasRoot = nPlace == PLACE_ROOT;
    m_bContentsFollow = nKind == KIND_CONTENTS_FOLLOW;
    return nDepth;
}

std::string ListingLine(int nDepth, unsigned char nHead, const std::string& name)
{
    std::string line(2 * nDepth, ' ');
    if (nDepth == 0 && name.empty())
        return line + "(the configured folders)";
    line += name;
    bool bFolder = (nHead & 0x0F) != KIND_FILE;
    if (bFolder && (name.empty() || name[name.size() - 1] != '\\'))
        line += '\\';
    return line;
}

std::string RawListingLine(unsigned char nHead, const std::string& name)
{
    char hex[4];
    snprintf(hex, sizeof(hex), "%02X", nHead);
    return name.empty() ? std::string(hex) : std::string(hex) + " " + name;
}
