// CTagBrowseDlg: browses a server's address space with a connection of its own: a hierarchical one
// branch by branch in a tree (each unread branch carries one "Dummy" child until it is opened, then
// it is read once) with the selected branch's leaves beside it, a flat one in a single list. It
// hands back the fully qualified item ID of the chosen tag and the typed access path. Every browse
// starts from the server's root and returns there afterwards, also after an error.
#pragma once

#include "opc/IOPCBrowseWrapper.h"

#include "mfc/Dialog.h"
#include "mfc/TreeCtrl.h"

class CTagBrowseDlg : public CDialog
{
public:
    enum
    {
        IDD = 15152
    };
    CTagBrowseDlg(LPCWSTR progId, LPCWSTR computer, CWnd* pParent = nullptr);
    ~CTagBrowseDlg() override;

    CString m_strItemName;
    CString m_strAccessPath;
    int m_nNamespace = OPC_NS_HIERARCHIAL;
    CListBox m_listFlat;
    CListBox m_listTags;
    CTreeCtrl m_tree;
    CString m_strFilter = L"*";
    CString m_strServer;
    CString m_strComputer;

    BOOL OnInitDialog() override;
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelchangedTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelchangeTags();
    afx_msg void OnSelchangeFlat();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL Connect();
    void ShowFlat();
    void FillFlatList();
    // Browses from the root to the node; FALSE when the server refuses a step.
    BOOL Reach(HTREEITEM node);
    void ReturnToRoot();
    HTREEITEM InsertBranch(LPCWSTR name, HTREEITEM parent, HTREEITEM after);
    void ListLeaves(CListBox& list);
    void TakeItemName(CListBox& list);

    CComPtr<IOPCServer> m_pServer;
    CComPtr<IOPCBrowseServerAddressSpace> m_pBrowse;

    DECLARE_MESSAGE_MAP()
};
