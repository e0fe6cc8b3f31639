// Stand-in for the pairing by key, until it lands: ids and keys read from a
// file beside the paired browsers' ("id<TAB>K", both hex).
#include "WebPairing.h"
#include <fstream>
#include "ByteText.h"

BrowserCheck CWebPairing::FindBrowserKey(const std::string& idHex, std::string* pK)
{
    EnterCriticalSection(&m_lock);
    bool bRemoved = m_removedHashes.count(idHex) > 0;
    std::string path = m_filePath + ".keys";
    LeaveCriticalSection(&m_lock);
    if (bRemoved)
        return BROWSER_REMOVED;
    std::ifstream file(path.c_str());
    std::string line;
    while (std::getline(file, line))
    {
        if (line.compare(0, idHex.size() + 1, idHex + "\t") == 0 &&
            BytesFromHex(line.substr(idHex.size() + 1, 64), pK))
            return BROWSER_PAIRED;
    }
    return BROWSER_UNKNOWN;
}
