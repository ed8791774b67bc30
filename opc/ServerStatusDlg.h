// CServerStatusDlg: shows a server's status record in ten static texts.
#pragma once

#include "mfc/Dialog.h"
#include "opcsdk/OpcTypes.h"

// The ten texts, in the dialog's order.
struct COPCStatusTexts
{
    CString strStartTime;
    CString strCurrentTime;
    CString strLastUpdateTime;
    CString strBandWidth;
    CString strVendorInfo;
    CString strStatus;
    CString strGroups;
    CString strMajorVersion;
    CString strMinorVersion;
    CString strBuildNumber;
};

// The text of a server state: the state's sentence, "Unknown" outside 1 to 6.
CString OPCServerStateText(DWORD state);
// The texts of a status record: times as local "%c" ("Unknown", or "No updates" for the last
// update, when the time's high word is 0 or the clock cannot show it), band width "Unknown" for
// 0xFFFFFFFF, a null vendor text as empty.
COPCStatusTexts OPCStatusTexts(const OPCSERVERSTATUS& status);

class CServerStatusDlg : public CDialog
{
public:
    enum
    {
        IDD = 12538
    };
    explicit CServerStatusDlg(CWnd* pParent = nullptr);

    CString m_strStartTime;
    CString m_strCurrentTime;
    CString m_strLastUpdateTime;
    CString m_strBandWidth;
    CString m_strVendorInfo;
    CString m_strStatus;
    CString m_strGroups;
    CString m_strMajorVersion;
    CString m_strMinorVersion;
    CString m_strBuildNumber;

    void SetTexts(const COPCStatusTexts& texts);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
