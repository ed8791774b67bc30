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

// Browses the item of the server that key 1 (computer) and key 2 (ProgID) name: a connection to
// another server is dropped first, a server that cannot be reached leaves key 3 as it is without a
// word; a hierarchical server opens the tag browser, a flat one the item picker, and a server whose
// organisation stays unanswered counts as nUnanswered. With key 2 empty and bChooseWhenNone, the
// server chooser asks first and keys 1 and 2 take the server chosen. TRUE when key 3 took an item.
BOOL BrowseServerItem(CInfoServer* pServer, CString& strKey1, CString& strKey2, CString& strKey3,
                      CWnd* pParent, BOOL bChooseWhenNone, int nUnanswered);

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
    afx_msg void OnBrowseComputer();
    // The item "..." only while key 2 names a server.
    void EnableItemBrowse();

    CString m_strFirstName;
    CString m_strFirstKey1;
    CString m_strFirstKey2;
    CString m_strFirstKey3;

    DECLARE_MESSAGE_MAP()
};
