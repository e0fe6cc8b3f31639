// The "Web remote" dialog, opened from the system menu: turns the web remote on
// and off at once, its port, the addresses to type on the phone (the first also
// in a QR code with the pairing key), the pairing key and the paired browsers.
#pragma once
#include <string>
#include <vector>
#include "../framework/Dialog.h"

class CServerDlg;

class CWebRemoteDlg : public CDialog
{
public:
    explicit CWebRemoteDlg(CServerDlg& server);
    ~CWebRemoteDlg();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD nId, WORD nCode) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    void OnOK() override { Close(); }
    void OnCancel() override { Close(); }

private:
    void OnEnableClicked();
    void OnRemove();
    void TakePort();
    void ShowAddresses();
    void DrawQrCode(const DRAWITEMSTRUCT& item) const;
    void ShowKey(const std::string& key);
    void DrawQrOfKey();
    void ShowPairing();
    void Close();

    CServerDlg& m_server;
    HFONT m_hKeyFont;
    unsigned m_nShownChanges;
    std::string m_firstAddress;            // "http://192.168.1.20:7655/"
    std::string m_shownKey;                // "" when none pairs
    std::vector<std::string> m_browserIds; // in the order of the list box
    std::vector<std::string> m_qrRows;     // the first address and the key, for the phone's camera
};
