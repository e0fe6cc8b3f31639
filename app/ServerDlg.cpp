// The main dialog's start-up, window messages and end.
#include "ServerDlg.h"
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "AboutDlg.h"
#include "ControllerChoice.h"
#include "PhoneApprovalDlg.h"
#include "SettingsRules.h"
#include "SetupWizardDlg.h"
#include "../framework/WinApp.h"
#include "../protocol/BrowseTree.h"
#include "../protocol/Wire.h"
#include "../web/WebRemote.h"
#include "../res/resource.h"

static const char* const s_appNames[APP_KIND_COUNT] = {
    "Winamp 2", "Winamp 3", "Windows Media Player 7", "PowerPoint Viewer 97", "PowerPoint",
    // Later kinds follow the first five: the list's order is the kinds' numbers.
    "Any player (media keys)"};

CServerDlg::CServerDlg()
    : CDialog(IDD_SERVER_DIALOG, NULL), m_pBrowseRoot(NULL), m_hComPort(INVALID_HANDLE_VALUE),
      m_listenSocket(INVALID_SOCKET), m_pSerialThread(NULL), m_pSocketThread(NULL),
      m_bListenOnSocket(0), m_bClientClosed(0), m_bHidden(0), m_nDefaultApp(0), m_nFileApp(0),
      m_hBrowseMutex(CreateMutexA(NULL, FALSE, NULL)),
      m_hSwitchMutex(CreateMutexA(NULL, FALSE, NULL)), m_clientSocket(INVALID_SOCKET),
      m_heldSocket(INVALID_SOCKET), m_pWebRemote(new CWebRemote(*this)), m_bWebRemote(0),
      m_nWebRemotePort(WEB_REMOTE_PORT_ABSENT), m_bWebRemoteShutdown(0),
      m_hApprovalAnswered(CreateEventA(NULL, FALSE, FALSE, NULL)), m_bTrayIconShown(false),
      m_hBlankIcon(NULL), m_bTrayIconBlank(false), m_bComInitialised(false), m_nLinkStops(0),
      m_pApprovalDlg(NULL), m_approvalShown()
{
    m_hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    memset(&m_nid, 0, sizeof(m_nid));
    m_szCommPort[0] = '\0';
    m_szOpenPort[0] = '\0';
    m_szPath[0] = '\0';
    m_szIniDir[0] = '\0';
    memset(m_pControllers, 0, sizeof(m_pControllers));
    memset(m_szAppPath, 0, sizeof(m_szAppPath));
    memset(m_szExtensions, 0, sizeof(m_szExtensions));
}

CServerDlg::~CServerDlg()
{
    StopLinks();
    delete m_pWebRemote;
    for (int i = 0; i < APP_KIND_COUNT; i++)
        delete m_pControllers[i];
    BrowseNode* pTree = m_pBrowseRoot;
    m_pBrowseRoot = NULL;
    DestroyBrowseTree(pTree);
    if (m_hBrowseMutex)
        CloseHandle(m_hBrowseMutex);
    if (m_hSwitchMutex)
        CloseHandle(m_hSwitchMutex);
    delete m_pApprovalDlg;
    if (m_hApprovalAnswered)
        CloseHandle(m_hApprovalAnswered);
    if (m_nid.hIcon)
        DestroyIcon(m_nid.hIcon);
    if (m_hBlankIcon)
        DestroyIcon(m_hBlankIcon);
    if (m_bComInitialised)
        CoUninitialize();
}

BOOL CServerDlg::OnInitDialog()
{
    AddSystemMenuItem(IDS_ABOUTBOX, IDM_ABOUTBOX);
    AddSystemMenuItem(IDS_WEB_REMOTE, IDM_WEB_REMOTE);
    AddSystemMenuItem(IDS_FORGET_PHONES, IDM_FORGET_PHONES);
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_bComInitialised = SUCCEEDED(CoInitialize(NULL));

    // The log trims itself at its own cap; the edit control's default limit would stop it early.
    SendDlgItemMessageA(m_hWnd, IDC_EVENT_LOG, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    LimitEditLengths();
    MirrorCheckBoxes();
    FillDefaultAppList();
    WriteBanner();
    AddTrayIcon();

    ReadIniDir();
    if (!SettingsFileUsable())
        LogEvent("Settings can't be kept: the path of %s in this folder is too long\r\n",
                 SETTINGS_FILE_NAME);
    else if (!SettingsFileExists())
        RunSetupWizard();
    LoadSettings();
    CreateControllers();

    OpenConfiguredSerialPort();
    if (m_bListenOnSocket)
        StartSocketListener();
    m_pWebRemote->LoadPairings(m_szIniDir);
    if (m_bWebRemote)
        StartWebRemote();
    SetTimer(m_hWnd, 1, 1000, NULL);
    // The focus starts in the read-only event log, where a stray key press changes
    // nothing; the dialog's default would select all of "Files to browse:" for it
    // to replace, and Exit would save the loss.
    SetFocus(GetDlgItem(IDC_EVENT_LOG));
    return FALSE;
}

// What the user types stays within what the settings keep, so nothing typed is
// saved cut short.
void CServerDlg::LimitEditLengths()
{
    SendDlgItemMessageA(m_hWnd, IDC_BROWSE_PATH, EM_LIMITTEXT, PATH_SIZE - 1, 0);
    SendDlgItemMessageA(m_hWnd, IDC_COM_PORT, EM_LIMITTEXT, COMM_PORT_SIZE - 1, 0);
    SendDlgItemMessageA(m_hWnd, IDC_EXTENSIONS, EM_LIMITTEXT, PATH_SIZE - 1, 0);
    SendDlgItemMessageA(m_hWnd, IDC_APP_PATH, EM_LIMITTEXT, PATH_SIZE - 1, 0);
}

// A working directory that does not fit is left unknown rather than cut, so the
// settings are never read from or written to another folder.
void CServerDlg::ReadIniDir()
{
    DWORD nLength = GetCurrentDirectoryA(PATH_SIZE, m_szIniDir);
    if (nLength == 0 || nLength >= static_cast<DWORD>(PATH_SIZE))
        m_szIniDir[0] = '\0';
}

void CServerDlg::RunSetupWizard()
{
    CSetupWizardDlg wizard;
    wizard.m_pServerDlg = this;
    if (wizard.DoModal() != 0)
    {
        // The wizard sets up the Bluetooth link only; say how the other one is opened.
        LogEvent("To let phones in over TCP, tick \"Listen on Internet socket\". The first "
                 "time a phone on another computer connects, this window asks whether to "
                 "allow it.\r\n");
        return;
    }
    // Cancelled: nothing is loaded, started or saved.
    RemoveTrayIcon();
    exit(0);
}

// The About item follows a separator; later items follow the About item.
void CServerDlg::AddSystemMenuItem(UINT nStringId, UINT nCommand)
{
    char szText[256];
    if (!LoadStringA(AfxGetInstanceHandle(), nStringId, szText, sizeof(szText)))
        return;
    HMENU hSysMenu = GetSystemMenu(m_hWnd, FALSE);
    if (!hSysMenu || szText[0] == '\0')
        return;
    if (nCommand == IDM_ABOUTBOX)
        AppendMenuA(hSysMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(hSysMenu, MF_STRING, nCommand, szText);
}

void CServerDlg::FillDefaultAppList()
{
    HWND hList = GetDlgItem(IDC_DEFAULT_APP);
    for (int i = 0; i < APP_KIND_COUNT; i++)
        SendMessageA(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s_appNames[i]));
}

void CServerDlg::WriteBanner()
{
    LogEvent("Welcome to Quorvel v%d.%d\r\n", PROTOCOL_VERSION_MAJOR, PROTOCOL_VERSION_MINOR);
    LogEvent("Control the music on this PC from your phone.\r\n");
}

void CServerDlg::CreateControllers()
{
    for (int i = 0; i < APP_KIND_COUNT; i++)
        m_pControllers[i] = CreateController(i, *this);
    m_nFileApp = m_nDefaultApp;
}

void CServerDlg::EndProcessNow()
{
    SendMessageA(m_hWnd, WM_APP_REMOVE_TRAY_ICON, 0, 0);
    exit(0);
}

void CServerDlg::SyncAppSelection()
{
    char szExtensions[PATH_SIZE];
    char szAppPath[PATH_SIZE];
    if (!GetDlgItemTextA(m_hWnd, IDC_EXTENSIONS, szExtensions, PATH_SIZE))
        szExtensions[0] = '\0';
    if (!GetDlgItemTextA(m_hWnd, IDC_APP_PATH, szAppPath, PATH_SIZE))
        szAppPath[0] = '\0';
    LRESULT nSelection = SendDlgItemMessageA(m_hWnd, IDC_DEFAULT_APP, CB_GETCURSEL, 0, 0);
    {
        std::lock_guard<std::mutex> lock(m_appSettingsLock);
        snprintf(m_szExtensions[m_nDefaultApp], PATH_SIZE, "%s", szExtensions);
        snprintf(m_szAppPath[m_nDefaultApp], PATH_SIZE, "%s", szAppPath);
        if (nSelection >= 0 && nSelection < APP_KIND_COUNT)
            m_nDefaultApp = static_cast<int>(nSelection);
    }
    SetDlgItemTextA(m_hWnd, IDC_EXTENSIONS, m_szExtensions[m_nDefaultApp]);
    SetDlgItemTextA(m_hWnd, IDC_APP_PATH, m_szAppPath[m_nDefaultApp]);
}

void CServerDlg::CopyAppPath(int nKind, char* pBuffer, int nSize)
{
    std::lock_guard<std::mutex> lock(m_appSettingsLock);
    snprintf(pBuffer, nSize, "%s", m_szAppPath[nKind]);
}

CPlayerController* CServerDlg::ControllerForFile(const char* pszName, int* pnKind)
{
    int nKind = static_cast<int>(
        SendMessageA(m_hWnd, WM_APP_CHOOSE_CONTROLLER, 0, reinterpret_cast<LPARAM>(pszName)));
    if (nKind < 0 || nKind >= APP_KIND_COUNT)
        nKind = m_nDefaultApp;
    *pnKind = nKind;
    return m_pControllers[nKind];
}

void CServerDlg::OnExit()
{
    RemoveTrayIcon();
    SaveSettings();
    EndDialog(0);
}

void CServerDlg::OnClose()
{
    RemoveTrayIcon();
    SaveSettings();
    EndDialog(IDCANCEL);
}

// Windows is ending the session and may end the process without another
// message; the tray icon goes with the shell.
void CServerDlg::OnEndSession()
{
    SaveSettings();
}

void CServerDlg::OnListenOnSocketClicked()
{
    m_bListenOnSocket = IsDlgButtonChecked(m_hWnd, IDC_LISTEN_ON_SOCKET) == BST_CHECKED;
    if (m_bListenOnSocket)
        StartSocketListener();
    else
        StopSocketListener();
}

bool CServerDlg::StopLinkWorker(CWorkerThread* pThread, const char* pszLink)
{
    const DWORD WORKER_STOP_GRACE_MS = 1000;
    m_nLinkStops++;
    pThread->RequestStop();
    bool bEnded = pThread->WaitOrTerminate(WORKER_STOP_GRACE_MS);
    m_nLinkStops--;
    if (bEnded)
    {
        delete pThread;
        return true;
    }
    LogEvent("The %s did not stop; it is left to end by itself\r\n", pszLink);
    return false;
}

// A Connect or Listen click that arrives while a link is being stopped (the stop
// answers messages sent to the window) runs once that stop is over.
bool CServerDlg::IsLinkCommandDeferred(WORD nId)
{
    if (m_nLinkStops == 0 || (nId != IDC_CONNECT && nId != IDC_LISTEN_ON_SOCKET))
        return false;
    PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(nId)));
    return true;
}

void CServerDlg::StopLinks()
{
    StopSerialReader();
    CloseSerialPort();
    StopSocketListener();
    StopWebRemote();
}

bool CServerDlg::OnCommand(WORD nId, WORD nCode)
{
    if (IsLinkCommandDeferred(nId))
        return true;
    switch (nId)
    {
    case IDC_EXIT:
        OnExit();
        return true;
    case IDC_CONNECT:
        OnConnect();
        return true;
    case IDC_FIND_PORT:
        FindComPort();
        return true;
    case IDC_SELECT_FOLDER:
        OnSelectFolder();
        return true;
    case IDC_ADD_FOLDER:
        OnAddFolder();
        return true;
    case IDC_CLEAR_FOLDERS:
        OnClearFolders();
        return true;
    case IDC_BROWSE_APP:
        OnBrowseApp();
        return true;
    case IDC_LISTEN_ON_SOCKET:
        if (nCode == BN_CLICKED)
            OnListenOnSocketClicked();
        return true;
    case IDC_DEFAULT_APP:
        if (nCode == CBN_SELCHANGE)
            SyncAppSelection();
        return true;
    }
    return false;
}

bool CServerDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (OnApprovalMessage(nMsg, wParam, lParam))
        return true;
    switch (nMsg)
    {
    case WM_APP_LOG_EVENT:
        OnLogQueued();
        return true;
    case WM_APP_REMOVE_TRAY_ICON:
        // The process ends next: the lines logged before it are shown, as they always were.
        FlushEventLog();
        RemoveTrayIcon();
        return true;
    case WM_APP_CHOOSE_CONTROLLER:
        SyncAppSelection();
        lResult = ChooseKindForFile(reinterpret_cast<const char*>(lParam), m_szExtensions,
                                    APP_KIND_COUNT, m_nDefaultApp);
        return true;
    case WM_TIMER:
        if (wParam == LOG_FLUSH_TIMER_ID)
            FlushEventLog();
        else
            GetActive()->Tick();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_WEB_REMOTE)
        {
            OnWebRemote();
            return true;
        }
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
            return false;
        {
            CAboutDlg about(m_hWnd);
            about.DoModal();
        }
        return true;
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_ENDSESSION:
        OnEndSession();
        return false;
    case WM_TRAYNOTIFY:
        if (lParam != WM_LBUTTONUP)
            return false;
        OnTrayClick();
        return true;
    case WM_SIZE:
        OnSize(wParam);
        return false;
    case WM_PAINT:
        return OnPaint();
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        return false;
    case WM_DESTROY:
        KillTimer(m_hWnd, 1);
        // The workers may be inside a message to this window; stop them while it still answers.
        StopLinks();
        RemoveTrayIcon();
        return false;
    case WM_QUERYDRAGICON:
        lResult = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    }
    return false;
}
