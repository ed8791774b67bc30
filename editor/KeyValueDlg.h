// CKeyValueDlg ("Connect a parameter"): a shape's keys 1 to 3, object name and tool tip. Key 3 can
// be browsed on the OPC server that keys 1 (computer) and 2 (ProgID) name: a hierarchical server
// opens the tag browser, a flat one the item picker; keys that name no server let the user choose
// one in the server chooser first. The caller fills the values and their copies;
// OK sets m_bModified when any value differs from its copy.
#pragma once

#include "mfc/Dialog.h"

#define IDD_KEY_VALUE 5
#define IDC_PARAM_KEY1 1067
#define IDC_PARAM_KEY2 1068
#define IDC_PARAM_KEY3 1025
#define IDC_PARAM_NAME 1022
#define IDC_PARAM_TOOLTIP 1026
#define IDC_PARAM_BROWSE 1221
#define IDC_PARAM_LABEL 1226

class CKeyValueDlg : public CDialog
{
public:
    explicit CKeyValueDlg(CWnd* pParent = nullptr);

    CString m_strKey1;
    CString m_strKey2;
    CString m_strKey3;
    CString m_strName;
    CString m_strToolTip;
    CString m_strOldKey1;
    CString m_strOldKey2;
    CString m_strOldKey3;
    CString m_strOldName;
    CString m_strOldToolTip;
    BOOL m_bModified = FALSE;

    afx_msg void OnBrowse();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
