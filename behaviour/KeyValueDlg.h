// "Key Values": a shape's object name and its three binding keys (OPC computer, server, item),
// with the server chooser and the server's tag browser or item picker.
#pragma once

#include "mfc/Dialog.h"

class CInfoServer;

#define IDD_QYR_KEY_VALUE 6
#define IDC_KEY_NAME 28245
#define IDC_KEY_COMPUTER 29317
#define IDC_KEY_SERVER 29318
#define IDC_KEY_ITEM 29319
#define IDC_KEY_BROWSE_SERVER 1232
#define IDC_KEY_BROWSE_ITEM 1067
#define IDC_KEY_BROWSE_COMPUTER 1066
#define IDC_KEY_PROPERTY 3

class CQYRKeyValueDlg : public CDialog
{
public:
    explicit CQYRKeyValueDlg(CInfoServer* pServer, CWnd* pParent = nullptr);

    CString m_strObjectName;
    CString m_strKey1;
    CString m_strKey2;
    CString m_strKey3;
    // Set by OK when any of the four differs from what the dialog opened with.
    BOOL m_bModified = FALSE;
    CInfoServer* m_pServer;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnBrowseServer();
    afx_msg void OnBrowseItem();

    CString m_strFirstName;
    CString m_strFirstKey1;
    CString m_strFirstKey2;
    CString m_strFirstKey3;

    DECLARE_MESSAGE_MAP()
};
