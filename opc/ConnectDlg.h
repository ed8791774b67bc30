// CConnectDlg: the server chooser. It lists the OPC DA 2.0 servers that the server-list service of
// this or a named computer knows, one line "ProgID  (description)" each, and hands back the server
// text, the computer text and the picked line's class id. The class ids of the lines are kept by
// value beside the list, so emptying the list frees them.
#pragma once

#include "com/Guid.h"
#include "opcsdk/OpcDa.h"
#include "mfc/Dialog.h"

#include <vector>

// One server that the server-list service reported.
struct COPCServerEntry
{
    CString strProgID;
    CString strUserType;
    CLSID clsid = GUID_NULL;
};

// Asks the server-list service of the computer (null, empty or "Local": this one) for the servers
// of the category, in the service's order. FALSE, with nothing found, when the service cannot be
// reached.
BOOL OPCFindServers(LPCWSTR computer, REFGUID category, std::vector<COPCServerEntry>& servers);
// The same over a server-list object: a class whose details fail or name no ProgID is skipped, a
// null description reads as empty. FALSE when the enumeration cannot be made.
BOOL OPCListServers(IOPCServerList* list, REFGUID category, std::vector<COPCServerEntry>& servers);
// "ProgID  (description)".
CString OPCServerLine(const COPCServerEntry& server);

class CConnectDlg : public CDialog
{
public:
    enum
    {
        IDD = 12546
    };
    explicit CConnectDlg(CWnd* pParent = nullptr);

    CListBox m_listServers;
    CString m_strServer;
    CString m_strComputer;
    CString m_strSelected;
    GUID m_catid = GUID_NULL;
    CLSID m_clsidSelected = GUID_NULL;

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL DestroyWindow() override;
    afx_msg void OnFindServers();
    afx_msg void OnSelchangeServerList();
    afx_msg void OnDblclkServerList();

    // The lines' class ids, one per line (item data is the index).
    const std::vector<CLSID>& GetLineClassIds() const { return m_lineClsids; }

protected:
    // A chooser of another template that lists the servers of another category.
    CConnectDlg(UINT nIDTemplate, REFGUID category, CWnd* pParent);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL FindOPCServers(LPCWSTR computer);
    void EmptyList();

    std::vector<CLSID> m_lineClsids;
    GUID m_catidListed = CATID_OPCDAServer20;

    DECLARE_MESSAGE_MAP()
};
