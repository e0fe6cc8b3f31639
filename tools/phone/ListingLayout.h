// Lays out a folder listing as an indented tree. The records carry no depth: it
// follows from each record's place among its siblings and from whether the
// record before it is a folder whose contents follow. Plain C++.
#pragma once
#include <string>
#include <vector>

class CListingLayout
{
public:
    CListingLayout();
    // The depth of the next record, given its head byte (place x 16 + kind):
    // 0 for the root, 1 for its entries, and so on.
    int NextDepth(unsigned char nHead);

private:
    // Per depth: the last record there was not the last of its siblings.
    std::vector<bool> m_moreSiblings;
    int m_nDepth; // of the record before, -1 before the first
    bool m_bWasRoot;
    bool m_bContentsFollow;
};

// One line of the tree: two spaces per level, the name, a backslash after a folder.
std::string ListingLine(int nDepth, unsigned char nHead, const std::string& name);
// One record as it came: the head byte in hex, then the name.
std::string RawListingLine(unsigned char nHead, const std::string& name);
