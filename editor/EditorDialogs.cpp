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

CQYREventSetDlg::CQYREventSetDlg(CWnd* pParent, UINT nIDTemplate) : CEditorFieldDlg(nIDTemplate, pParent)
{
    BindInt(1001, &m_nEventType);
    BindText(1002, &m_strEventString);
    BindInt(1003, &m_nCursorType);
    BindText(1004, &m_strToolTip);
    BindText(1005, &m_strMethod);
    BindCheck(1006, &m_bAllowHitChild);
}

CQYRKeyValueDlg::CQYRKeyValueDlg(CInfoServer* pServer, CWnd* pParent)
    : CEditorFieldDlg(IDD_QYR_KEY_VALUE, pParent), m_pServer(pServer)
{
    BindText(1001, &m_strObjectName);
    BindText(1002, &m_strKey1);
    BindText(1003, &m_strKey2);
    BindText(1004, &m_strKey3);
}

CKeyValueDlg::CKeyValueDlg(CWnd* pParent) : CEditorFieldDlg(IDD_KEY_VALUE, pParent)
{
    BindText(1001, &m_strObjectName);
    BindText(1005, &m_strToolTip);
    BindText(1002, &m_strKey1);
    BindText(1003, &m_strKey2);
    BindText(1004, &m_strKey3);
}

COptionDlg::COptionDlg(CWnd* pParent) : CEditorFieldDlg(IDD_OPTIONS, pParent)
{
    BindCheck(1001, &m_bNoDefaultPort);
    BindCheck(1002, &m_bLimitPoint);
    BindCheck(1003, &m_bSimpleTrack);
    BindCheck(1004, &m_bSelectWithin);
}

CVisibleExpertDlg::CVisibleExpertDlg(CWnd* pParent) : CEditorFieldDlg(IDD_VISIBLE_EXPERT, pParent)
{
    BindText(1001, &m_strCondition);
}

CScreenSetDlg::CScreenSetDlg(CWnd* pParent) : CEditorFieldDlg(IDD_SCREEN_SET, pParent)
{
    BindText(1001, &m_str15001);
    BindText(1002, &m_str15002);
    BindText(1003, &m_str15003);
    BindInt(1004, &m_n15004);
    BindText(1005, &m_str15005);
    BindText(1006, &m_str15006);
    BindText(1007, &m_str15007);
}

CMyTestDlg::CMyTestDlg(CWnd* pParent) : CEditorFieldDlg(IDD_VALUE_TEST, pParent)
{
    BindText(1001, &m_strKey);
    BindText(1003, &m_strText);
}

void CMyTestDlg::DoDataExchange(CDataExchange* pDX)
{
    CEditorFieldDlg::DoDataExchange(pDX);
    DDX_Text(pDX, 1002, m_dValue);
}
