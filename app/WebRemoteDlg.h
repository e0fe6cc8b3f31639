// The "Web remote" dialog, opened from the system menu: turns the web remote on
// and off at once, its port, the addresses to type on the phone (the first also
// as a QR code), the pairing code and the paired browsers.
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
    void ShowCode(const std::string& code);
    void ShowPairing();
    void Close();

    CServerDlg& m_server;
    HFONT m_hCodeFont;
    unsigned m_nShownChanges;
    std::vector<std::string> m_browserHashes; // in the order of the list box
    std::vector<std::string> m_qrRows;        // the first address, for the phone's camera
};
