// The fake presentation programs' automation server as a test sees it: copied
// into the test's folder with its slide count, registered for both class ids
// (PowerPoint and the viewer), its record of calls read back.
#pragma once
#include <string>
#include "ServerProcess.h"

class CFakeAutomation
{
public:
    explicit CFakeAutomation(const CTempDir& dir);
    ~CFakeAutomation();

    // Copies the DLL into <dir>\automation and registers it for both classes.
    void Register(int nSlides);
    // Removes both classes from the registry: creating either then fails.
    static void Unregister();
    // The calls recorded so far, one line each.
    std::string Calls() const;
    void ForgetCalls() const;

private:
    std::string m_folder;
};
