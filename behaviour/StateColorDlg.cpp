#include "behaviour/StateColorDlg.h"

#include "behaviour/BehaviourCommon.h"
#include "figkit/FODrawHelper.h"

#include <cwchar>

CString FormatStateColor(COLORREF cr)
{
    CString text;
    text.Format(L"%02X%02X%02X", GetRValue(cr), GetGValue(cr), GetBValue(cr));
    return text;
}

BOOL ParseStateColor(const CString& text, COLORREF& cr)
{
    unsigned r = 0, g = 0, b = 0;
    if (swscanf(text.GetString(), L"%02X%02X%02X", &r, &g, &b) != 3)
        return FALSE;
    cr = RGB(r, g, b);
    return TRUE;
}

void FillShapeCombo(CComboBox& combo, const CStringArray& names, const CString* pShape)
{
    combo.ResetContent();
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        combo.AddString(names[i]);
    // Only the very name: a prefix would quietly move the item to another shape ("Pump10" for a
    // removed "Pump1").
    combo.SetCurSel(pShape ? combo.FindStringExact(-1, *pShape) : 0);
}

// --- Shared part ---------------------------------------------------------------------------------

void CShapeItemDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEM_SHAPE, m_cbShapes);
    DDX_Text(pDX, IDC_ITEM_CODE, m_strCode);
}

CString CShapeItemDlg::FillShapes()
{
    if (!m_bEdit)
    {
        FillShapeCombo(m_cbShapes, m_arShapes, nullptr);
        return m_strValue;
    }
    const int comma = m_strValue.Find(L',');
    m_strOldShape = comma < 0 ? m_strValue : m_strValue.Left(comma);
    FillShapeCombo(m_cbShapes, m_arShapes, &m_strOldShape);
    return comma < 0 ? CString() : m_strValue.Mid(comma + 1);
}

void CShapeItemDlg::SetValue(const CString& strField)
{
    CString shape = m_strOldShape;
    const int sel = m_cbShapes.GetCurSel();
    if (sel >= 0)
        m_cbShapes.GetLBText(sel, shape);
    m_strValue = shape + L"," + strField;
}

void CShapeItemDlg::OnDestroy()
{
    m_arShapes.RemoveAll();
    CDialog::OnDestroy();
}

// --- Colour editor -------------------------------------------------------------------------------

void CStateColorDlg::DoDataExchange(CDataExchange* pDX)
{
    CShapeItemDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEM_COLOR, m_btnColor);
}

BOOL CStateColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    behaviour::SetGuiFont(this, {IDC_ITEM_CODE});
    // The colour is the value's second field.
    CString colour = FillShapes();
    if (m_bEdit)
    {
        if (colour.Find(L',') >= 0)
            colour = colour.Left(colour.Find(L','));
        ParseStateColor(colour, m_crColor);
    }
    m_btnColor.SetColor(m_crColor);
    return TRUE;
}

void CStateColorDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_crColor = m_btnColor.GetColor();
    SetValue(FormatStateColor(m_crColor));
    EndDialog(IDOK);
}

// --- Number editor -------------------------------------------------------------------------------

void CFillTypeStateDlg::DoDataExchange(CDataExchange* pDX)
{
    CShapeItemDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEM_SPIN, m_spin);
    DDX_Text(pDX, IDC_ITEM_NUMBER, m_nNumber);
    DDV_MinMaxInt(pDX, m_nNumber, 0, 100);
}

BOOL CFillTypeStateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    behaviour::SetGuiFont(this, {IDC_ITEM_CODE, IDC_ITEM_NUMBER});
    // The number is the value's second field, cut to a whole number.
    CString number = FillShapes();
    // A stored item without its number (not written by the editor) opens on the default.
    if (number.IsEmpty())
        number = L"1";
    m_nNumber = int(std::wcstod(number.GetString(), nullptr));
    m_spin.SetBase(10);
    m_spin.SetRange(0, 100);
    m_spin.SetPos(m_nNumber);
    // The edit shows the number as it was stored.
    SetDlgItemText(IDC_ITEM_NUMBER, number);
    return TRUE;
}

void CFillTypeStateDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CString number;
    GetDlgItemText(IDC_ITEM_NUMBER, number);
    SetValue(number);
    EndDialog(IDOK);
}

// --- State chooser -------------------------------------------------------------------------------

CStatesListDlg::CStatesListDlg(CWnd* pParent) : CDialog(IDD_STATES_LIST, pParent) {}

void CStatesListDlg::GetStateNames(const CString& strStateString, CStringArray& names)
{
    CStringArray records;
    if (strStateString.IsEmpty() || FOStringToStringArray(strStateString, L"@", records) < 1)
        return;
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
    {
        const int dollar = records[i].Find(L'$');
        const CString name = dollar < 0 ? records[i] : records[i].Left(dollar);
        if (!name.IsEmpty())
            names.Add(name);
    }
}

BOOL CStatesListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_cbStates.SubclassDlgItem(IDC_LINK_STATES, this);
    CStringArray names;
    GetStateNames(m_strStateString, names);
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        m_cbStates.AddString(names[i]);
    // A state that is gone selects nothing rather than one that begins like it.
    m_cbStates.SetCurSel(m_strState.IsEmpty() ? 0 : m_cbStates.FindStringExact(-1, m_strState));
    return TRUE;
}

void CStatesListDlg::OnOK()
{
    const int sel = m_cbStates.GetCurSel();
    if (sel < 0)
    {
        GotoDlgCtrl(&m_cbStates);
        return;
    }
    m_cbStates.GetLBText(sel, m_strState);
    EndDialog(IDOK);
}
