// The small editors of one action item's value: the colour editor (fill, line, font and pattern
// colour of a child shape), the number editor (fill type and line width) and the state chooser of a
// state-change item. Each is made on the caller's stack, given the code and what it offers, and read
// back after IDOK.
#pragma once

#include "mfc/Collections.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"
#include "mfc/SpinButtonCtrl.h"

// The picker keeps its palette widget in a guarded pointer, which needs the widget class.
#include <QWidget>

#include "figkit/FOPDropDownColorPickerButton.h"

class CFOTypedShapeObList;

#define IDD_STATE_COLOR 140
#define IDD_FILL_TYPE_STATE 190
#define IDD_STATES_LIST 217
#define IDC_ITEM_CODE 1035
#define IDC_ITEM_SHAPE 1044
#define IDC_ITEM_COLOR 1056
#define IDC_ITEM_NUMBER 1092
#define IDC_ITEM_SPIN 1004
#define IDC_LINK_STATES 1121

// "%02X%02X%02X" of red, green and blue, and back; FALSE when the text is not six hex digits.
CString FormatStateColor(COLORREF cr);
BOOL ParseStateColor(const CString& text, COLORREF& cr);

// What the colour and number editors share: the code shown, the child shape chosen from a sorted
// drop-down list, and the value "shape,field" that goes in and out.
class CShapeItemDlg : public CDialog
{
public:
    CShapeItemDlg(UINT nIDTemplate, CWnd* pParent, LPCWSTR lpszValue)
        : CDialog(nIDTemplate, pParent), m_strValue(lpszValue)
    {
    }

    CString m_strCode;
    CString m_strValue;
    CStringArray m_arShapes;
    // Not owned.
    const CFOTypedShapeObList* m_pShapes = nullptr;
    BOOL m_bEdit = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    // Fills the shape list and, when editing, selects the value's shape; returns the value's field.
    CString FillShapes();
    // The value from the chosen shape (with none chosen, the edited value's) and the field.
    void SetValue(const CString& strField);

    CComboBox m_cbShapes;
    // The shape named by the edited value, kept when the list no longer offers it.
    CString m_strOldShape;
};

class CStateColorDlg : public CShapeItemDlg
{
public:
    explicit CStateColorDlg(CWnd* pParent = nullptr) : CShapeItemDlg(IDD_STATE_COLOR, pParent, L"STATE_0") {}

    FOPDropDownColorPickerButton m_btnColor;
    COLORREF m_crColor = RGB(255, 255, 255);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class CFillTypeStateDlg : public CShapeItemDlg
{
public:
    explicit CFillTypeStateDlg(CWnd* pParent = nullptr) : CShapeItemDlg(IDD_FILL_TYPE_STATE, pParent, L"1") {}

    int m_nNumber = 1;
    CSpinButtonCtrl m_spin;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class CStatesListDlg : public CDialog
{
public:
    explicit CStatesListDlg(CWnd* pParent = nullptr);

    CString m_strStateString;
    CString m_strState;

    // The state names of a state string, in record order; a record without "$" is a name only.
    static void GetStateNames(const CString& strStateString, CStringArray& names);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    CComboBox m_cbStates;
};

// The shape entries of the editors: the names given, sorted by the list; the entry named exactly
// by strShape is selected (a name the list lacks selects nothing), or the first when strShape is null.
void FillShapeCombo(CComboBox& combo, const CStringArray& names, const CString* pShape);
