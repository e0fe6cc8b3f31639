// The main dialog: the hub that owns the settings, the event log, the phone
// links with their worker threads, the five controllers and the folder tree.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>
#include <stdarg.h>
#include <atomic>
#include "CheckBoxMirror.h"
#include "LogQueue.h"
#include "../framework/Dialog.h"
#include "../framework/WorkerThread.h"
#include "../players/ControllerLog.h"
#include "../players/PlayerController.h"

struct BrowseNode;
class CWebRemote;

// Private messages by which worker threads have the user-interface thread act.
const UINT WM_APP_LOG_EVENT = WM_APP + 1;         // log lines are queued for the window
const UINT WM_APP_REMOVE_TRAY_ICON = WM_APP + 2;  // before the process ends on EXIT
const UINT WM_APP_CHOOSE_CONTROLLER = WM_APP + 3; // lParam: the file name; returns the kind
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
    CPlayerController* GetActive() const { return m_pActive.load(); }

    // The controller for a file, chosen on the user-interface thread, where the
    // list 1018 and the edits it takes over live; records the kind in m_nFileApp.
    CPlayerController* ControllerForFile(const char* pszName);
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
    HANDLE m_hComPort;
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
    std::atomic<CPlayerController*> m_pActive;
    CPlayerController* m_pControllers[APP_KIND_COUNT];
    char m_szAppPath[APP_KIND_COUNT][PATH_SIZE];
    char m_szExtensions[APP_KIND_COUNT][PATH_SIZE];
    int m_nDefaultApp;
    std::atomic<int> m_nFileApp;

    // One folder listing at a time, whichever link asks.
    HANDLE m_hBrowseMutex;
    // The TCP client being served; the user-interface thread closes it to cut
    // the client off when the listener stops.
    std::atomic<SOCKET> m_clientSocket;
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

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    // Enter and Esc must not end a server the phone relies on.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void AddAboutMenuItem();
    void FillDefaultAppList();
    void WriteBanner();
    void CreateControllers();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void MirrorCheckBoxes();
    void OnLogQueued();
    void FlushEventLog();
    void OnExit();
    void OnListenOnSocketClicked();
    void OnConnect();
    void OpenConfiguredSerialPort();
    void StartSerialReader();
    void StopSerialReader();
    void StopLinks();
    void AddWebRemoteMenuItem();
    void OnWebRemote();

    bool m_bTrayIconShown;
    bool m_bComInitialised;

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
    void ShowFromTray();
    void HideInTray();
    void OnSize(WPARAM nType);
    bool OnPaint();
    void OnWindowPosChanging(WINDOWPOS* pPos);

    // The folder and file pickers (ServerDlgPickers.cpp).
    void OnSelectFolder();
    void OnAddFolder();
    void OnClearFolders();
    void OnBrowseApp();
};
