// The main window: it shows the settings and the event log, pushes every change
// of a setting into the core, starts and stops the links and the web remote, and
// hides in the notification area. It owns the core and the ways in for the whole
// run of the program.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>
#include "CheckBoxMirror.h"
#include "LogQueue.h"
#include "../core/ServerCore.h"
#include "../core/SettingsFile.h"
#include "../framework/Dialog.h"
#include "../links/SerialLink.h"
#include "../links/SocketListener.h"
#include "../web/WebRemote.h"

class CPhoneApprovalDlg;

// Private messages by which other threads have the user-interface thread act.
const UINT WM_APP_LOG_EVENT = WM_APP + 1;     // log lines are queued for the window
const UINT WM_APP_EXIT_NOW = WM_APP + 2;      // EXIT: stop everything, end the process
const UINT WM_APP_ASK_APPROVAL = WM_APP + 20; // the listener holds a phone to ask about
const UINT WM_TRAYNOTIFY = WM_USER + 101;
const UINT_PTR LOG_FLUSH_TIMER_ID = 2;

class CServerDlg : public CDialog, public CServerHost, public CListenerEvents
{
public:
    CServerDlg();
    ~CServerDlg();

    // What the core asks of the window: the log, and the end on EXIT.
    void LogText(const char* pszText) override;
    void RequestExit() override;
    // The listener holds a phone: the user is asked, on the window's thread.
    void OnPhoneToAskAbout() override;

    CServerCore& Core() { return m_core; }
    CWebRemote& WebRemote() { return m_webRemote; }

    // For the first-run wizard: the proposed COM port (0: none) and its answers.
    int FindComPort();
    void WriteFirstRunSettings(int nKind, const char* pszAppPath, const char* pszBrowseFolders,
                               const char* pszCommPort);

    // The web remote's settings, changed by its dialog (ServerDlgWeb.cpp).
    bool IsWebRemoteOn() const { return m_settings.bWebRemote != 0; }
    bool IsWebShutdownAllowed() const { return m_settings.bWebRemoteShutdown != 0; }
    bool IsWebInputAllowed() const { return m_settings.bWebRemoteInput != 0; }
    int WebRemotePort() const { return m_settings.nWebRemotePort; }
    void SetWebRemoteOn(bool bOn);
    void SetWebShutdownAllowed(bool bAllowed);
    void SetWebInputAllowed(bool bAllowed);
    void SetWebRemotePort(int nPort) { m_settings.nWebRemotePort = nPort; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    // Enter and Esc must not end a server the phone relies on; Enter ends the
    // editing of "Files to browse:".
    void OnOK() override { OnBrowseFoldersEdited(); }
    void OnCancel() override {}

private:
    // Start and end of the window (ServerDlg.cpp).
    void AddSystemMenuItem(UINT nStringId, UINT nCommand);
    void FillDefaultAppList();
    void WriteBanner();
    void LimitEditLengths();
    void ReadSettingsFolder();
    void RunSetupWizard();
    void OnExit();
    void OnClose();
    void OnEndSession();
    void OnExitNow();
    void StopLinks();

    // The settings shown in the controls and pushed into the core (ServerDlgSettings.cpp).
    void LoadSettings();
    void ShowSettings();
    void SaveSettings();
    void ShowSelectedKind();
    void OnKindEdited();
    void OnDefaultAppChanged();
    void OnBrowseFoldersEdited();
    static void OnCheckBoxChanged(void* pContext, int nId, bool bChecked);

    // The phone links (ServerDlgLinks.cpp).
    void OnConnect();
    void OnFindPort();
    void OnListenOnSocketClicked();
    void StartSocketListener();
    void StopSocketListener();
    bool IsLinkCommandDeferred(WORD nId);

    // The event log (ServerDlgLog.cpp).
    void OnLogQueued();
    void FlushEventLog();

    // The window hidden in the tray (ServerDlgTray.cpp).
    void AddTrayIcon();
    void RemoveTrayIcon();
    // Shows a blank tray icon instead of ours (bBlank), or ours again.
    void BlinkTrayIcon(bool bBlank);
    void OnTrayClick();
    // bActivate false: shown behind whatever program the user is in.
    void ShowFromTray(bool bActivate);
    void HideInTray();
    void OnSize(WPARAM nType);
    bool OnPaint();
    void OnWindowPosChanging(WINDOWPOS* pPos);

    // Asking about phones on other computers (ServerDlgApproval.cpp).
    bool OnApprovalMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void OnAskApproval();
    void OnApprovalAnswer(bool bAllow, const CPhoneQuestion& question, bool bTimedOut);
    void CloseApprovalQuestion();
    void OnForgetPhones();

    // The folder and file pickers (ServerDlgPickers.cpp).
    void OnSelectFolder();
    void OnAddFolder();
    void OnClearFolders();
    void ShowPickedFolders();
    void OnBrowseApp();

    // The web remote (ServerDlgWeb.cpp).
    void OnWebRemote();
    void StartWebRemote();

    // Log lines from every thread, in order, until the window appends them; it
    // outlives everything below that logs.
    CLogQueue m_logQueue;
    CServerCore m_core;
    CSerialLink m_serialLink;
    CSocketListener m_listener;
    CWebRemote m_webRemote;

    CSettingsFile m_settingsFile;
    // The settings as loaded; the controls are their live values, the rest is
    // kept here until it is saved.
    ServerSettings m_settings;
    // The list of folders as last loaded, picked or saved: "Add..." appends to it.
    char m_szPath[PATH_SIZE];
    // The kind whose path and extensions the edits 1004 and 1019 show.
    int m_nShownKind;
    // Set while the window itself fills the edits: they are not the user's changes.
    bool m_bFillingControls;
    CCheckBoxMirror m_startApps;
    CCheckBoxMirror m_stopWhenSwitching;

    HICON m_hIcon;
    NOTIFYICONDATAA m_nid;
    bool m_bTrayIconShown;
    HICON m_hBlankIcon;
    bool m_bTrayIconBlank;
    int m_bHidden;
    bool m_bComInitialised;
    // Stops of link workers under way: their waits answer messages sent to the
    // window, and a Connect or Listen click must not start another stop inside one.
    int m_nLinkStops;
    CPhoneApprovalDlg* m_pApprovalDlg;
    // The question m_pApprovalDlg shows, which its time-out answers.
    CPhoneQuestion m_approvalShown;
};
