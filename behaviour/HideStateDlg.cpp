#include "behaviour/HideStateDlg.h"

#include "behaviour/BehaviourCommon.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOShapeSet.h"
#include "mfc/ModalHook.h"

BEGIN_MESSAGE_MAP(CAddNewStateDlg, CDialog)
ON_BN_CLICKED(IDC_HIDE_MOVE, &CAddNewStateDlg::OnHide)
ON_BN_CLICKED(IDC_HIDE_BACK, &CAddNewStateDlg::OnShow)
ON_LBN_DBLCLK(IDC_HIDE_ALL, &CAddNewStateDlg::OnHide)
ON_LBN_DBLCLK(IDC_HIDE_HIDDEN, &CAddNewStateDlg::OnShow)
ON_LBN_SELCHANGE(IDC_HIDE_ALL, &CAddNewStateDlg::OnSelChangeAll)
ON_LBN_SELCHANGE(IDC_HIDE_HIDDEN, &CAddNewStateDlg::OnSelChangeHidden)
END_MESSAGE_MAP()

CAddNewStateDlg::CAddNewStateDlg(CWnd* pParent) : CDialog(IDD_HIDE_STATE, pParent) {}

CAddNewStateDlg::~CAddNewStateDlg() = default;

void CAddNewStateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HIDE_ALL, m_lbAll);
    DDX_Control(pDX, IDC_HIDE_HIDDEN, m_lbHidden);
    DDX_Text(pDX, IDC_HIDE_CODE, m_strCode);
}

BOOL CAddNewStateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    behaviour::SetGuiFont(this, {IDC_HIDE_CODE});
    FillLists();
    if (CWnd* frame = GetDlgItem(IDC_HIDE_PREVIEW))
    {
        CRect rc;
        frame->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_wndPreview.Create(rc, this, IDC_HIDE_PREVIEW + 1);
    }
    // The picture starts with the entry the lists open on.
    PreviewSelected(m_lbHidden.GetCurSel() >= 0 ? m_lbHidden : m_lbAll);
    return TRUE;
}

void CAddNewStateDlg::FillLists()
{
    m_lbAll.ResetContent();
    for (INT_PTR i = 0; i < m_arShapes.GetSize(); ++i)
        m_lbAll.AddString(m_arShapes[i]);
    m_lbAll.SetCurSel(0);
}

BOOL CEditStateDlg::OnInitDialog()
{
    SetWindowText(L"Edit State Value");
    return CAddNewStateDlg::OnInitDialog();
}

void CEditStateDlg::FillLists()
{
    CStringArray hidden;
    if (!m_strValue.IsEmpty())
        FOStringToStringArray(m_strValue, L",", hidden);
    m_lbAll.ResetContent();
    m_lbHidden.ResetContent();
    for (INT_PTR i = 0; i < hidden.GetSize(); ++i)
    {
        CString name = hidden[i];
        name.Trim();
        if (!name.IsEmpty() && m_lbHidden.FindStringExact(-1, name) < 0)
            m_lbHidden.AddString(name);
    }
    for (INT_PTR i = 0; i < m_arShapes.GetSize(); ++i)
        if (m_lbHidden.FindStringExact(-1, m_arShapes[i]) < 0)
            m_lbAll.AddString(m_arShapes[i]);
    m_lbHidden.SetCurSel(0);
    m_lbAll.SetCurSel(0);
}

void CAddNewStateDlg::MoveSelected(GWExtBmpListBox& from, GWExtBmpListBox& to)
{
    const int sel = from.GetCurSel();
    if (sel < 0)
        return;
    CString name;
    from.GetText(sel, name);
    to.SetCurSel(to.AddString(name));
    from.DeleteString(UINT(sel));
    const int count = from.GetCount();
    if (count > 0)
        from.SetCurSel(sel < count ? sel : count - 1);
    PreviewSelected(to);
}

void CAddNewStateDlg::OnHide()
{
    if (m_lbAll.GetCount() < 2)
    {
        AfxMessageBox(IDS_HIDE_LAST_SHOWN, MB_OK | MB_ICONINFORMATION);
        return;
    }
    MoveSelected(m_lbAll, m_lbHidden);
}

void CAddNewStateDlg::OnShow()
{
    MoveSelected(m_lbHidden, m_lbAll);
}

void CAddNewStateDlg::OnSelChangeAll()
{
    PreviewSelected(m_lbAll);
}

void CAddNewStateDlg::OnSelChangeHidden()
{
    PreviewSelected(m_lbHidden);
}

void CAddNewStateDlg::PreviewSelected(const GWExtBmpListBox& list)
{
    const int sel = list.GetCurSel();
    if (sel < 0 || !m_pShapes || !m_wndPreview.GetSafeHwnd())
        return;
    CString name;
    list.GetText(sel, name);
    for (CFODrawShape* shape : *m_pShapes)
        if (shape && shape->GetKeyId1() == name)
        {
            m_wndPreview.SetShape(shape);
            return;
        }
}

void CAddNewStateDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // An item that hides nothing could never be opened again: a name must be chosen.
    if (m_lbHidden.GetCount() < 1)
    {
        GotoDlgCtrl(&m_lbAll);
        return;
    }
    CStringArray names;
    for (int i = 0; i < m_lbHidden.GetCount(); ++i)
    {
        CString name;
        m_lbHidden.GetText(i, name);
        names.Add(name);
    }
    FOStringArrayToString(names, L",", m_strValue);
    EndDialog(IDOK);
}

void CAddNewStateDlg::OnDestroy()
{
    m_arShapes.RemoveAll();
    m_pShapes = nullptr;
    CDialog::OnDestroy();
    FO_GLOBAL::FreeObjectCache();
}
