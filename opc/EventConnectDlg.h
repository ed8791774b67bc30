// CEventConnectDlg: the chooser of an alarms-and-events server, laid out as the data-access one:
// it lists the event servers that the server-list service of a computer knows and hands back the
// ProgID, the computer and the class id of the pick.
#pragma once

#include "opc/ConnectDlg.h"

class CEventConnectDlg : public CConnectDlg
{
public:
    enum
    {
        IDD = 12146
    };
    explicit CEventConnectDlg(CWnd* pParent = nullptr);

    // The pick: the ProgID of the line (or the text typed), the computer and the class id.
    CString GetProgID() const;
    const CString& GetComputer() const { return m_strComputer; }
    REFCLSID GetClsid() const { return m_clsidSelected; }
};
