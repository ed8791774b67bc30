// CAddItemDlg: the tag picker. It lists every leaf of the explorer document's server in one sorted
// list, filtered by name, data type and access rights. Given a group it adds the selected items to
// it ("Add", and OK before closing); without one it hands back the chosen tag text. A picker that
// cannot load its list ends at once with IDABORT.
#pragma once

#include "com/Variant.h"
#include "mfc/Dialog.h"

#include <vector>

class CGroup;

// Adds the tags to the group in one AddItems call, each as a new item asking for the requested type
// (0: the server's canonical type) with its client handle from the items' table. The group receives
// the items in the reverse order of the tags; items the server refuses are reported and deleted one
// by one. FALSE, adding nothing, without tags, without the group's interface, when validation is
// on and fails, or when the call fails. added receives the number added.
BOOL OPCAddItemsToGroup(CGroup* group, const std::vector<CString>& tags, VARTYPE requested,
                        int* added = nullptr);

class CAddItemDlg : public CDialog
{
public:
    enum
    {
        IDD = 12536
    };
    CAddItemDlg(CGroup* group, CWnd* pParent = nullptr);

    // Names the explorer document's server; FALSE without an explorer document.
    BOOL SetServer(LPCWSTR computer, LPCWSTR server);
    VARTYPE GetDataType() const { return m_vtRequestedType; }

    CEdit m_editTag;
    CComboBox m_comboAccess;
    CButton m_buttonCancel;
    CComboBox m_comboRequestedType;
    CComboBox m_comboFilterType;
    CListBox m_listTags;
    CString m_strTag;
    CString m_strFilter = L"*";
    CString m_strStatus;
    VARTYPE m_vtFilterType = VT_EMPTY;
    VARTYPE m_vtRequestedType = VT_EMPTY;
    CGroup* m_pGroup = nullptr;

    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnAdd();
    afx_msg void OnFindNow();
    afx_msg void OnSelchangeTags();
    afx_msg void OnDblclkTags();
    afx_msg void OnSelchangeFilterType();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL LoadList();
    BOOL AddItems();

    DECLARE_MESSAGE_MAP()
};
