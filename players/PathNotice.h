// Says something about an application path once per path: the controllers are
// handed their path on every command, and the same refusal on each would bury
// the event log. Plain C++, no platform calls.
#pragma once
#include <mutex>
#include <string>

class CPathNotice
{
public:
    CPathNotice() : m_bSaid(false) {}

    // The path the controller was just handed; a path other than the last one
    // is new, so it will be said again, even a path seen before that one.
    void Use(const char* pszPath);
    // True the first time it is asked since a new path came into use.
    bool ShouldSay();

private:
    // Both links' workers hand the same controller its path.
    std::mutex m_mutex;
    std::string m_path;
    bool m_bSaid;
};
