#include "editor/EditorDialogs.h"

void CEditorFieldDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (TextField& f : m_texts)
        DDX_Text(pDX, f.nID, *f.pValue);
    for (IntField& f : m_ints)
        DDX_Text(pDX, f.nID, *f.pValue);
    for (IntField& f : m_checks)
        DDX_Check(pDX, f.nID, *f.pValue);
}

BOOL CEditorFieldDlg::OnInitDialog()
{
    for (TextField& f : m_texts)
        f.first = *f.pValue;
    for (IntField& f : m_ints)
        f.first = *f.pValue;
    for (IntField& f : m_checks)
        f.first = *f.pValue;
    m_bModified = FALSE;
    return CDialog::OnInitDialog();
}

void CEditorFieldDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    for (const TextField& f : m_texts)
        if (*f.pValue != f.first)
            m_bModified = TRUE;
    for (const IntField& f : m_ints)
        if (*f.pValue != f.first)
            m_bModified = TRUE;
    for (const IntField& f : m_checks)
        if (*f.pValue != f.first)
            m_bModified = TRUE;
    EndDialog(IDOK);
}

COptionDlg::COptionDlg(CWnd* pParent) : CEditorFieldDlg(IDD_OPTIONS, pParent)
{
    BindCheck(1001, &m_bNoDefaultPort);
    BindCheck(1002, &m_bLimitPoint);
    BindCheck(1003, &m_bSimpleTrack);
    BindCheck(1004, &m_bSelectWithin);
}
