// CGroupDlg and CItemDlg: the property dialogs of a group and of an item. The caller fills the
// members, runs DoModal and on IDOK reads them back; values out of range are refused by the data
// exchange and the dialog stays open.
#pragma once

#include "com/Variant.h"
#include "mfc/Dialog.h"

class CGroupDlg : public CDialog
{
public:
    enum
    {
        IDD = 12537
    };
    explicit CGroupDlg(CWnd* pParent = nullptr);

    CString m_strName;
    DWORD m_dwLCID = 0;
    DWORD m_dwUpdateRate = 100;
    BOOL m_bActive = TRUE;
    LONG m_lTimeBias = 0;
    float m_fDeadBand = 0.0f;
    BOOL m_bDataChangeEnabled = TRUE;

    // FALSE, changing nothing, without an explorer document; at OPC 1.0 or below the data-change
    // box is ticked and disabled.
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CItemDlg : public CDialog
{
public:
    enum
    {
        IDD = 12543
    };
    explicit CItemDlg(CWnd* pParent = nullptr);

    CComboBox m_comboDataType;
    BOOL m_bActive = FALSE;
    CString m_strItemID;
    DWORD m_dwClientHandle = 0;

    VARTYPE GetDataType() const { return m_vtDataType; }
    void SetDataType(VARTYPE type) { m_vtDataType = type; }

    // Selects the data type's entry (none for a type outside the list).
    BOOL OnInitDialog() override;
    // The selected entry's type (0 for none) becomes the data type.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    VARTYPE m_vtDataType = VT_EMPTY;
};
