// The main dialog's start-up, window messages and end.
#include "ServerDlg.h"
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "AboutDlg.h"
#include "PhoneApprovalDlg.h"
#include "SetupWizardDlg.h"
#include "../core/SettingsRules.h"
#include "../core/Version.h"
#include "../framework/WinApp.h"
#include "../res/resource.h"

CServerDlg::CServerDlg()
    : CDialog(IDD_SERVER_DIALOG, NULL), m_core(*this), m_serialLink(m_core),
      m_listener(m_core, *this), m_webRemote(m_core), m_nShownKind(0), m_bFillingControls(false),
      m_bTrayIconShown(false), m_hBlankIcon(NULL), m_bTrayIconBlank(false), m_bHidden(0),
      m_bComInitialised(false), m_nLinkStops(0), m_pApprovalDlg(NULL), m_approvalShown()
{
    m_hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    memset(&m_nid, 0, sizeof(m_nid));
    m_szPath[0] = '\0';
}

CServerDlg::~CServerDlg()
{
    StopLinks();
    delete m_pApprovalDlg;
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
    m_startApps.Attach(GetDlgItem(IDC_START_APPS), OnCheckBoxChanged, this);
    m_stopWhenSwitching.Attach(GetDlgItem(IDC_STOP_WHEN_SWITCHING), OnCheckBoxChanged, this);
    FillDefaultAppList();
    WriteBanner();
    AddTrayIcon();

    ReadSettingsFolder();
    if (!m_settingsFile.IsUsable())
        m_core.LogEvent("Settings can't be kept: the path of %s in this folder is too long\r\n",
                        SETTINGS_FILE_NAME);
    else if (!m_settingsFile.Exists())
        RunSetupWizard();
    LoadSettings();
    m_core.CreateControllers();

    if (m_settings.szCommPort[0] != '\0')
        m_serialLink.Connect(m_settings.szCommPort);
    if (m_settings.bListenOnSocket)
        StartSocketListener();
    m_webRemote.LoadPairings(m_settingsFile.Folder());
    if (m_settings.bWebRemote)
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
void CServerDlg::ReadSettingsFolder()
{
    char szFolder[PATH_SIZE];
    DWORD nLength = GetCurrentDirectoryA(PATH_SIZE, szFolder);
    if (nLength == 0 || nLength >= static_cast<DWORD>(PATH_SIZE))
        szFolder[0] = '\0';
    m_settingsFile.SetFolder(szFolder);
}

void CServerDlg::RunSetupWizard()
{
    CSetupWizardDlg wizard;
    wizard.m_pServerDlg = this;
    if (wizard.DoModal() != 0)
    {
        // The wizard sets up the Bluetooth link only; say how the other one is opened.
        m_core.LogEvent("To let phones in over TCP, tick \"Listen on Internet socket\". The first "
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
        SendMessageA(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(KindInfo(i).pszListName));
}

void CServerDlg::WriteBanner()
{
    m_core.LogEvent("Welcome to Quorvel v%d.%d\r\n", PROTOCOL_VERSION_MAJOR,
                    PROTOCOL_VERSION_MINOR);
    m_core.LogEvent("Control the music on this PC from your phone.\r\n");
}

// The worker that read EXIT must not wait for its own end: the window does the
// stopping, and the process ends only once no thread uses a socket any more.
void CServerDlg::RequestExit()
{
    PostMessageA(m_hWnd, WM_APP_EXIT_NOW, 0, 0);
}

void CServerDlg::OnExitNow()
{
    StopLinks();
    // The lines logged before the end are shown, as they always were.
    FlushEventLog();
    RemoveTrayIcon();
    exit(0);
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

void CServerDlg::StopLinks()
{
    m_nLinkStops++;
    m_serialLink.Close();
    m_nLinkStops--;
    StopSocketListener();
    m_webRemote.Stop();
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
        OnFindPort();
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
            OnDefaultAppChanged();
        return true;
    case IDC_BROWSE_PATH:
        if (nCode == EN_KILLFOCUS)
            OnBrowseFoldersEdited();
        return true;
    case IDC_APP_PATH:
    case IDC_EXTENSIONS:
        if (nCode == EN_CHANGE)
            OnKindEdited();
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
    case WM_APP_EXIT_NOW:
        OnExitNow();
        return true;
    case WM_TIMER:
        if (wParam == LOG_FLUSH_TIMER_ID)
            FlushEventLog();
        else
            m_core.Tick();
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
