#include "NameParameter.h"
#include <string.h>
#include "CommandHandlers.h"
#include "Wire.h"
#include "../core/ServerCore.h"

const NameFailureLines PLAY_NAME_FAILURES = {"Couldn't read filename length: %d\r\n",
                                             "Couldn't read filename of length %d: %d\r\n", true};
const NameFailureLines FILE_NAME_FAILURES = {"Couldn't read filename length: %d\r\n",
                                             "Couldn't read filename: %d\r\n", false};
const NameFailureLines FOLDER_NAME_FAILURES = {"Couldn't read directory name length: %d\r\n",
                                               "Couldn't read directory name: %d\r\n", false};

bool ReadNameParameter(CServerCore& core, const CPhoneLink& link, char* pName,
                       const NameFailureLines& failures)
{
    memset(pName, 0, NAME_BUFFER_SIZE);
    unsigned char length[2];
    if (!ReadFromPhone(link, length, 2))
    {
        LogLinkFailure(core, link, failures.pszLengthFailure, static_cast<int>(GetLastError()));
        return false;
    }
    int nLength = static_cast<int>(UnpackBE16(length));
    if (nLength > MAX_NAME_LENGTH)
    {
        core.LogEvent("Filename length (%d) too long", nLength);
        return false;
    }
    if (ReadFromPhone(link, pName, nLength))
        return true;
    int nError = static_cast<int>(GetLastError());
    if (failures.bNameFailureHasLength)
        LogLinkFailure(core, link, failures.pszNameFailure, nLength, nError);
    else
        LogLinkFailure(core, link, failures.pszNameFailure, nError);
    return false;
}
