#include "behaviour/ShapeChooserDlgs.h"

#include "behaviour/BehaviourCommon.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "mfc/ModalHook.h"

// --- List pickers ------------------------------------------------------------------------------------

void CListPickerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHOOSER_LIST, m_List);
}

BOOL CListPickerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_List.ResetContent();
    FillList();
    behaviour::SelectExact(m_List, m_strValue);
    return TRUE;
}

void CListPickerDlg::OnOK()
{
    const int sel = m_List.GetCurSel();
    if (sel >= 0)
        m_List.GetText(sel, m_strValue);
    EndDialog(IDOK);
}

void MBEventEditDlg2::FillList()
{
    for (const auto& pair : m_pairs)
        m_List.AddString(pair.first);
}

void CMBEventEditDlg7::FillList()
{
    CFODataModel* model = m_pModel ? m_pModel : behaviour::ActiveModel();
    if (!model)
        return;
    // Each name goes on top, so the list shows the shapes last first.
    for (CFODrawShape* shape : *model->GetShapes())
        m_List.InsertString(0, shape->GetObjectName());
}

// --- Shapes by key 1 ---------------------------------------------------------------------------------

void CShapeKeyDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SHAPE_COMBO, m_combo);
}

BOOL CShapeKeyDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CFODataModel* model = m_pModel ? m_pModel : behaviour::ActiveModel())
    {
        const int skipped = SkippedType();
        for (CFODrawShape* shape : *model->GetShapes())
            if (int(shape->GetType()) != skipped)
                m_combo.AddString(shape->GetKeyId1());
    }
    behaviour::SelectExact(m_combo, m_strKey);
    return TRUE;
}

void CShapeKeyDlg::TakeSelection()
{
    const int sel = m_combo.GetCurSel();
    if (sel >= 0)
        m_combo.GetLBText(sel, m_strKey);
}

void CMBCustomMoveDlg::OnOK()
{
    TakeSelection();
    EndDialog(IDOK);
}

void CMyTestDlg::DoDataExchange(CDataExchange* pDX)
{
    CShapeKeyDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TEST_VALUE, m_dValue);
    DDX_Text(pDX, IDC_TEST_TEXT, m_strText);
}

void CMyTestDlg::OnOK()
{
    TakeSelection();
    if (m_strKey.IsEmpty())
    {
        AfxMessageBox(IDS_TEST_NO_SHAPE, MB_OK | MB_ICONINFORMATION);
        m_combo.SetFocus();
        return;
    }
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}
