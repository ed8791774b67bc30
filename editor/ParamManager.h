// The parameter manager: lists the project's variables filtered by kind, adds, edits and removes
// them, and on OK gives the name of the selected one. CParamSetDlg edits one variable: it works on
// the stored value, offers all eight value types and changes nothing that was left untouched.
// System variables are listed but never edited or removed from the workspace.
#pragma once

#include "figkit/FOImageButton.h"
#include "figkit/FoValue.h"
#include "foundation/ResizableDialog.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"
#include "mfc/Gdi.h"
#include "mfc/ImageList.h"
#include "mfc/ListCtrl.h"

#include <vector>

class CParamObj;
class CWorkSpaceObj;

#define IDD_PARAM_MANAGER 214
#define IDD_PARAM_SET 118

// Texts of a value and a kind as the list shows them, and the editable form of a value.
class CParamText
{
public:
    static CString KindName(int nKind);
    static CString TypeName(int nType);
    static CString ListValue(const FO_VALUE& value);
    // A text that reads back as the same value (Parse gives it back unchanged).
    static CString EditValue(const FO_VALUE& value);
    // Reads a text as a value of the type; FALSE when it does not read as one.
    static BOOL Parse(int nType, const CString& text, FO_VALUE& value);
    // OLE dates of a calendar date and time, and back.
    static double OleDate(int y, int m, int d, int hh, int mm, int ss);
};

class CParamSetDlg : public CDialog
{
public:
    explicit CParamSetDlg(CWnd* pParent = nullptr);

    CString m_strDescription;
    CString m_strName = L"#Param";
    CString m_strExtra;
    // The value type (FO_VALUE_BOOL..FO_VALUE_COLOR) and the value text shown for it.
    int m_nValueType = FO_VALUE_STRING;
    CString m_strValue;
    // 0 runtime, 1 global.
    int m_nParamType = 0;
    double m_dMax = 100.0;
    double m_dMin = 0.0;
    BOOL m_bNew = TRUE;
    CString m_strOldName;
    CParamObj* m_pParam = nullptr;
    CWorkSpaceObj* m_pWorkSpace = nullptr;

    // Fills the fields from a variable for editing.
    void LoadFrom(CParamObj* pParam);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnValueTypeChanged();

    CComboBox m_cbValueType;
    CComboBox m_cbParamType;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // The type and text as the dialog opened, to tell an untouched value.
    int m_nFirstType = -1;
    CString m_strFirstValue;
};

// Resizable: the list follows both corners, the buttons the right edge, down to 400 x 280 pixels.
class CParamManager : public CResizableDialog
{
public:
    explicit CParamManager(CWorkSpaceObj* pWorkSpace, CWnd* pParent = nullptr);

    CString m_strResult;

    // Filter entries: 0 all, 1 runtime, 2 global, 3 system.
    static int KindOfFilter(int nFilter) { return nFilter == 0 ? 0 : 99 + nFilter; }
    int GetFilter() const;
    void SetFilter(int nFilter);
    void FillList();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnAdd();
    afx_msg void OnRemove();
    afx_msg void OnFilterChanged();
    afx_msg void OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    // Edits the selected rows, as a double click does.
    void EditSelected();

    CComboBox m_cbFilter;
    CListCtrl m_List;
    CFOImageButton m_btnAdd;
    CFOImageButton m_btnRemove;
    // The kind images: 9 runtime, 10 global, 11 system.
    CImageList m_ImageList;
    static int KindImage(int nKind);

protected:
    DECLARE_MESSAGE_MAP()

private:
    void AddRow(CParamObj* pParam);
    void SetRow(int nRow, CParamObj* pParam);
    BOOL Shows(int nKind) const;

    CWorkSpaceObj* m_pWorkSpace;
    // Parameters removed from the list; the workspace loses them only on OK.
    std::vector<CParamObj*> m_removed;
    CFont m_font;
};
