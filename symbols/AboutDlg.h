// CAboutDlg: the About box (dialog 100 of the symbols' resources): the product, a link to its web
// site (control 1002, opened when clicked) and "System..." (1013), which starts the system
// information program that the machine's registry names, if any.
#pragma once

#include "mfc/Dialog.h"
#include "foundation/HyperLink.h"

class CAboutDlg : public CDialog
{
public:
    enum
    {
        IDD = 100,
        IDC_LINK = 1002,
        IDC_SYSTEM_INFO = 1013,
    };
    CAboutDlg();

    // Starts the program named by "Path" under HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared
    // Tools\MSInfo; nothing happens when the key or value is missing.
    static BOOL StartSystemInfo();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnSystemInfo();

    CFOHyperLink m_link;

    DECLARE_MESSAGE_MAP()
};
