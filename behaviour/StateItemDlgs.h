// The record dialogs: one named state of a composite (CSubOptionStateDlg) or one value range of a
// shape (CValueSubStateDlg), each with its list of action items. Items are added by one button per
// action code and changed on a double click, both through the action item editors.
#pragma once

#include "behaviour/StateListDlg.h"
#include "figkit/FOShapeSet.h"
#include "mfc/Collections.h"
#include "foundation/RangeSlider.h"

#define IDD_SUB_OPTION_STATE 189
#define IDD_VALUE_SUB_STATE 192

// Messages of the record dialogs.
#define IDS_STATE_REMOVE_ITEM 32879
#define IDS_STATE_NAME_USED 32880
#define IDS_STATE_NO_ITEM 32881
#define IDS_STATE_REMOVE_ALL 32882
#define IDS_RANGE_REMOVE_ITEM 32883
#define IDS_RANGE_REMOVE_ALL 32884
#define IDS_RANGE_USED 32885
#define IDS_RANGE_NO_ITEM 32886
#define IDS_STATE_NAME_SEPARATOR 32960

// An item list with the per-code add buttons and the item editors.
class CStateItemListDlg : public CStateListDlg
{
public:
    CStateItemListDlg(UINT nIDTemplate, CWnd* pParent);
    ~CStateItemListDlg() override;

    // The record body: the items joined by "#".
    CString m_strItemText;
    BOOL m_bEdit = FALSE;
    // The names (keys 1) the item editors offer.
    CStringArray m_arChildNames;
    // The child shapes, not owned: for the hide editors' preview.
    CFOTypedShapeObList m_listChildShapes;
    // The shape's state string, for state-change items.
    CString m_strStateString;

    // Runs the code's editor for a new item; appends the row on OK.
    void AddItem(const wchar_t* pszCode);
    afx_msg void OnAddItem(UINT nID);
    afx_msg void OnDestroy() override;

protected:
    CString& ListText() override { return m_strItemText; }
    void EditRow(int nRow) override;

    DECLARE_MESSAGE_MAP()
};

class CSubOptionStateDlg : public CStateItemListDlg
{
public:
    explicit CSubOptionStateDlg(CWnd* pParent = nullptr);

    CString m_strStateName = L"STATE_0";
    // The keys of every record of the calling list (this record's own too when editing).
    CStringArray m_arUsedNames;
    CString m_strOpeningName;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

protected:
    void AddRow() override;
};

class CValueSubStateDlg : public CStateItemListDlg
{
public:
    explicit CValueSubStateDlg(CWnd* pParent = nullptr);

    CString m_strRange = L"0,0";
    double m_dMin = 0.0;
    double m_dMax = 100.0;
    double m_dLower = 25.0;
    double m_dUpper = 75.0;
    CStringArray m_arUsedRanges;
    CString m_strOpeningRange;
    CRangeSlider m_Slider;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // The slider's change: the bounds and the range text follow it.
    afx_msg LRESULT OnRangeChange(WPARAM wParam, LPARAM lParam);
    // Sets the bounds as the slider would, for callers without a pointer.
    void SetBounds(double dLower, double dUpper);

protected:
    void ShowRange();

    DECLARE_MESSAGE_MAP()
};
