// The main dialog: the hub that owns the settings, the event log, the phone
// links with their worker threads, the controllers and the folder tree.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>
#include <stdarg.h>
#include <atomic>
#include <mutex>
#include "CheckBoxMirror.h"
#include "LogQueue.h"
#include "../framework/Dialog.h"
#include "../framework/WorkerThread.h"
#include "../links/PhoneApprovals.h"
#include "../players/ControllerLog.h"
#include "../players/PlayerController.h"

struct BrowseNode;
class CPhoneApprovalDlg;
class CWebRemote;

// Private messages by which worker threads have the user-interface thread act.
const UINT WM_APP_LOG_EVENT = WM_APP + 1;         // log lines are queued for the window
const UINT WM_APP_REMOVE_TRAY_ICON = WM_APP + 2;  // before the process ends on EXIT
const UINT WM_APP_CHOOSE_CONTROLLER = WM_APP + 3; // lParam: the file name; returns the kind
const UINT WM_APP_ASK_APPROVAL = WM_APP + 20;     // the listener holds a phone to ask about
const UINT WM_TRAYNOTIFY = WM_USER + 101;
const UINT_PTR LOG_FLUSH_TIMER_ID = 2;

const int COMM_PORT_SIZE = 32;
const int COMM_PORT_DEVICE_SIZE = 260;
const int PATH_SIZE = 260;

class CServerDlg : public CDialog, public CControllerLog
{
public:
    CServerDlg();
    ~CServerDlg();

    // Event log: printf-style, appended as formatted; callable from any thread.
    void LogEvent(const char* pszFormat, ...);
    void LogEventV(const char* pszFormat, va_list args);
    // The controllers' reports of failed operations.
    void LogControllerLine(const char* pszLine) override;

    // Live reads of the controls, callable from any thread.
    bool IsStartAppsTicked() const { return m_startApps.IsChecked(); }
    bool IsStopWhenSwitchingTicked() const { return m_stopWhenSwitching.IsChecked(); }
    void ReadBrowseFolders(char* pBuffer, int nSize);

    // Makes sure the active controller's application runs (when control 1003 says so).
    void EnsureActiveRunning();
    // The active controller is always the one of m_nFileApp, so the controller and
    // the application path it is given can never belong to two kinds.
    CPlayerController* GetActive() const { return m_pControllers[m_nFileApp.load()]; }
    // A copy of a kind's application path: the window's thread may be changing it.
    void CopyAppPath(int nKind, char* pBuffer, int nSize);

    // The controller for a file, chosen on the user-interface thread, where the
    // list 1018 and the edits it takes over live; its kind in *pnKind. The caller
    // makes it active by storing the kind in m_nFileApp, holding m_hSwitchMutex.
    CPlayerController* ControllerForFile(const char* pszName, int* pnKind);
    // Takes over the edits 1019 and 1004 for the old kind and shows the new one's.
    void SyncAppSelection();

    // Removes the tray icon (from any thread) and ends the process with status 0.
    void EndProcessNow();

    void LoadSettings();
    // Settings file (ServerDlgSettings.cpp): saved when the program ends, written
    // fresh by the first-run wizard, which then loads it.
    void SaveSettings();
    void WriteDefaultSettings(int nKind, const char* pszAppPath, const char* pszBrowsePath,
                              const char* pszCommPort);
    void StartSocketListener();
    void StopSocketListener();
    void OpenSerialPort(const char* pszName);
    void CloseSerialPort();
    // The port number proposed from the Bluetooth stack's records, or 0.
    int FindComPort();
    // The web remote (ServerDlgWeb.cpp): started on its port when WebRemote is set.
    void StartWebRemote();
    void StopWebRemote();

    // Fields shared by the subsystems.
    HICON m_hIcon;
    BrowseNode* m_pBrowseRoot;
    // Opened on the window's thread, reopened by the serial reader after a loss.
    std::atomic<HANDLE> m_hComPort;
    SOCKET m_listenSocket;
    CWorkerThread* m_pSerialThread;
    CWorkerThread* m_pSocketThread;
    int m_bListenOnSocket;
    int m_bClientClosed;
    NOTIFYICONDATAA m_nid;
    char m_szCommPort[COMM_PORT_SIZE];
    // The port m_hComPort was opened on; its reader reopens it by this name.
    char m_szOpenPort[COMM_PORT_SIZE];
    char m_szPath[PATH_SIZE];
    char m_szIniDir[PATH_SIZE];
    int m_bHidden;
    CPlayerController* m_pControllers[APP_KIND_COUNT];
    // Written by the window's thread under m_appSettingsLock; workers take copies.
    char m_szAppPath[APP_KIND_COUNT][PATH_SIZE];
    char m_szExtensions[APP_KIND_COUNT][PATH_SIZE];
    int m_nDefaultApp;
    // The kind of the active controller (see GetActive).
    std::atomic<int> m_nFileApp;

    // One folder listing at a time, whichever link asks.
    HANDLE m_hBrowseMutex;
    // One PLAY or LADD at a time: choosing, stopping the old controller, switching
    // and playing are one step, so two links cannot interleave them.
    HANDLE m_hSwitchMutex;
    std::mutex m_appSettingsLock;
    // The TCP client being served; the user-interface thread closes it to cut
    // the client off when the listener stops.
    std::atomic<SOCKET> m_clientSocket;
    // A phone on another computer held, unread, while the user is asked about it.
    std::atomic<SOCKET> m_heldSocket;
    // The web remote and its settings: WebRemote, WebRemotePort, WebRemoteShutdown.
    CWebRemote* m_pWebRemote;
    int m_bWebRemote;
    int m_nWebRemotePort;
    int m_bWebRemoteShutdown;
    // Log lines from every thread, in order, until the window appends them.
    CLogQueue m_logQueue;
    // The check boxes every command reads: 1003 and 1033.
    CCheckBoxMirror m_startApps;
    CCheckBoxMirror m_stopWhenSwitching;
    // TCP phones allowed, denied and asked about; the listener waits on the event
    // (auto-reset) for the user's answer.
    CPhoneApprovals m_approvals;
    HANDLE m_hApprovalAnswered;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    // Enter and Esc must not end a server the phone relies on.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void FillDefaultAppList();
    void WriteBanner();
    void CreateControllers();
    void AddTrayIcon();
    void RemoveTrayIcon();
    // Shows a blank tray icon instead of ours (bBlank), or ours again.
    void BlinkTrayIcon(bool bBlank);
    void MirrorCheckBoxes();
    void OnLogQueued();
    void FlushEventLog();
    void OnExit();
    void OnListenOnSocketClicked();
    void OnConnect();
    void SaveKindSettings(const char* pszIniFile, int nKind);
    void OpenConfiguredSerialPort();
    void StartSerialReader();
    void StopSerialReader();
    void StopLinks();
    void OnWebRemote();

    bool m_bTrayIconShown;
    HICON m_hBlankIcon;
    bool m_bTrayIconBlank;
    bool m_bComInitialised;
    // Stops of link workers under way: their waits answer messages sent to the
    // window, and a Connect or Listen click must not start another stop inside one.
    int m_nLinkStops;
    // Asks a link worker to stop and waits for it; false (logged) when it was left running.
    bool StopLinkWorker(CWorkerThread* pThread, const char* pszLink);
    bool IsLinkCommandDeferred(WORD nId);

    // Start and end of the window (ServerDlg.cpp).
    void LimitEditLengths();
    void ReadIniDir();
    bool SettingsFileExists() const;
    bool SettingsFileUsable() const;
    void RunSetupWizard();
    void OnClose();
    void OnEndSession();

    // The window hidden in the tray (ServerDlgTray.cpp).
    void OnTrayClick();
    // bActivate false: shown behind whatever program the user is in.
    void ShowFromTray(bool bActivate);
    void HideInTray();
    void OnSize(WPARAM nType);
    bool OnPaint();
    void OnWindowPosChanging(WINDOWPOS* pPos);

    // Asking about phones on other computers (ServerDlgApproval.cpp).
    CPhoneApprovalDlg* m_pApprovalDlg;
    // The question m_pApprovalDlg shows, which its time-out answers.
    CPhoneQuestion m_approvalShown;
    bool OnApprovalMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void OnAskApproval();
    void OnApprovalAnswer(bool bAllow, const CPhoneQuestion& question, bool bTimedOut);
    void CloseApprovalQuestion();
    void DropApprovalQuestion();
    void OnForgetPhones();
    void SaveAllowedPhones();
    void AddSystemMenuItem(UINT nStringId, UINT nCommand);

    // The folder and file pickers (ServerDlgPickers.cpp).
    void OnSelectFolder();
    void OnAddFolder();
    void OnClearFolders();
    void OnBrowseApp();
};
