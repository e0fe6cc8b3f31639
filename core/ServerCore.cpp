// The core's state: the log, the settings the window pushes in, the controllers.
#include "ServerCore.h"
#include <stdio.h>
#include <string.h>
#include "BrowseTree.h"
#include "ControllerChoice.h"
#include "ControllerFactory.h"
#include "LogLine.h"

CServerCore::CServerCore(CServerHost& host)
    : m_host(host), m_nActiveKind(0), m_nDefaultKind(0), m_bStartApps(false),
      m_bStopWhenSwitching(false), m_hBrowseMutex(CreateMutexA(NULL, FALSE, NULL)),
      m_pBrowseRoot(NULL), m_hSwitchMutex(CreateMutexA(NULL, FALSE, NULL))
{
    memset(m_pControllers, 0, sizeof(m_pControllers));
    memset(m_szAppPath, 0, sizeof(m_szAppPath));
    memset(m_szExtensions, 0, sizeof(m_szExtensions));
    m_szBrowseFolders[0] = '\0';
}

CServerCore::~CServerCore()
{
    for (int i = 0; i < APP_KIND_COUNT; i++)
        delete m_pControllers[i];
    BrowseNode* pTree = m_pBrowseRoot;
    m_pBrowseRoot = NULL;
    DestroyBrowseTree(pTree);
    if (m_hBrowseMutex)
        CloseHandle(m_hBrowseMutex);
    if (m_hSwitchMutex)
        CloseHandle(m_hSwitchMutex);
}

void CServerCore::LogEvent(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    LogEventV(pszFormat, args);
    va_end(args);
}

void CServerCore::LogEventV(const char* pszFormat, va_list args)
{
    char szLine[LOG_LINE_SIZE];
    FormatLogMessage(szLine, sizeof(szLine), pszFormat, args);
    m_host.LogText(szLine);
}

void CServerCore::LogControllerLine(const char* pszLine)
{
    LogEvent("%s", pszLine);
}

void CServerCore::SetKindSettings(int nKind, const char* pszAppPath, const char* pszExtensions)
{
    if (nKind < 0 || nKind >= APP_KIND_COUNT)
        return;
    std::lock_guard<std::mutex> lock(m_settingsLock);
    snprintf(m_szAppPath[nKind], PATH_SIZE, "%s", pszAppPath);
    snprintf(m_szExtensions[nKind], PATH_SIZE, "%s", pszExtensions);
}

void CServerCore::SetDefaultKind(int nKind)
{
    if (nKind < 0 || nKind >= APP_KIND_COUNT)
        return;
    std::lock_guard<std::mutex> lock(m_settingsLock);
    m_nDefaultKind = nKind;
}

void CServerCore::SetStartApps(bool bStart)
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    m_bStartApps = bStart;
}

void CServerCore::SetStopWhenSwitching(bool bStop)
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    m_bStopWhenSwitching = bStop;
}

void CServerCore::SetBrowseFolders(const char* pszFolders)
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    snprintf(m_szBrowseFolders, sizeof(m_szBrowseFolders), "%s", pszFolders);
}

std::string CServerCore::BrowseFolders() const
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    return m_szBrowseFolders;
}

std::string CServerCore::AppPath(int nKind) const
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    return m_szAppPath[nKind >= 0 && nKind < APP_KIND_COUNT ? nKind : 0];
}

std::string CServerCore::Extensions(int nKind) const
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    return m_szExtensions[nKind >= 0 && nKind < APP_KIND_COUNT ? nKind : 0];
}

void CServerCore::CreateControllers()
{
    for (int i = 0; i < APP_KIND_COUNT; i++)
        m_pControllers[i] = CreateController(i, *this);
    std::lock_guard<std::mutex> lock(m_settingsLock);
    m_nActiveKind = m_nDefaultKind;
}

void CServerCore::Tick()
{
    Active()->Tick();
}

int CServerCore::ChooseKindForFile(const char* pszName)
{
    std::lock_guard<std::mutex> lock(m_settingsLock);
    return ::ChooseKindForFile(pszName, m_szExtensions, APP_KIND_COUNT, m_nDefaultKind);
}

void CServerCore::EnsureActiveRunning()
{
    int nKind = m_nActiveKind.load();
    char szAppPath[PATH_SIZE];
    int bStart = 0;
    {
        std::lock_guard<std::mutex> lock(m_settingsLock);
        snprintf(szAppPath, sizeof(szAppPath), "%s", m_szAppPath[nKind]);
        bStart = m_bStartApps ? 1 : 0;
    }
    m_pControllers[nKind]->EnsureRunning(szAppPath, bStart);
}
