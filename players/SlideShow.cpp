#include "SlideShow.h"
#include <stdio.h>
#include <string.h>

// What each operation does, as the log line for its failure says it.
static const char* const s_operations[] = {
    "show the presentation", "start the show again",     "end the show",
    "go to the next slide",  "go to the previous slide", "let the application go"};

void ReportOutcome(const AutomationOutcome& outcome, const char* pszApp, const char* pszLoadError,
                   int nOperation, CControllerLog& log)
{
    if (outcome.bNotCreated)
    {
        MessageBoxA(NULL, pszLoadError, "Error", MB_OK);
        return;
    }
    if (!outcome.pszFailedCall)
        return;
    char szGone[96] = "";
    if (ServerGone(outcome))
        snprintf(szGone, sizeof(szGone), ": %s is no longer running, the next PLAY starts it again",
                 pszApp);
    char szLine[320];
    snprintf(szLine, sizeof(szLine), "%s: couldn't %s (%s failed with 0x%08lX)%s\r\n", pszApp,
             s_operations[nOperation], outcome.pszFailedCall,
             static_cast<unsigned long>(outcome.hr), szGone);
    log.LogControllerLine(szLine);
}

void ReportDropped(const char* pszApp, int nOperation, CControllerLog& log)
{
    char szLine[160];
    snprintf(szLine, sizeof(szLine), "%s: dropped the request to %s: its phone link was closed\r\n",
             pszApp, s_operations[nOperation]);
    log.LogControllerLine(szLine);
}

void RememberPresentation(char* pszRemembered, size_t nSize, const char* pszPath)
{
    if (strlen(pszPath) < nSize)
        snprintf(pszRemembered, nSize, "%s", pszPath);
    else
        pszRemembered[0] = '\0';
}

bool CallSystemParameter(unsigned nAction, unsigned nValue, int* pnValue)
{
    return SystemParametersInfoA(nAction, nValue, pnValue, 0) != FALSE;
}
