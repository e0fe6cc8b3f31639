// The folders a walk is inside, from where it started down to the one it reads:
// a link back to any of them (to ".", to a parent, a junction to its own folder)
// would make the walk go round for good. Plain C++, no platform calls.
#pragma once
#include <stdint.h>
#include <vector>

// Which folder a path leads to, whatever links it went through: its volume's
// serial number and its file ID there.
struct FolderIdentity
{
    uint32_t nVolume;
    uint64_t nFileId;
};

class CFolderTrail
{
public:
    // False (and the trail unchanged) when the folder is on the trail already.
    bool Enter(const FolderIdentity& folder);
    // Leaves the folder entered last.
    void Leave();

private:
    std::vector<FolderIdentity> m_folders;
};
