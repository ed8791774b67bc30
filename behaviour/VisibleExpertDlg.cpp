#include "behaviour/VisibleExpertDlg.h"

#include <cwchar>
#include <iterator>

namespace
{
const wchar_t* const kOperators[] = {L"<", L">", L"=", L"<=", L">=", L"!="};
}

CVisibleExpertDlg::CVisibleExpertDlg(CWnd* pParent) : CDialog(IDD_VISIBLE_EXPERT, pParent) {}

CString CVisibleExpertDlg::FormatCondition(int nOperator, double dValue)
{
    CString text;
    text.Format(L"%u,%.f", unsigned(nOperator), dValue);
    return text;
}

void CVisibleExpertDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VISIBLE_OPERATOR, m_operators);
    DDX_Check(pDX, IDC_VISIBLE_ENABLE, m_bEnable);
    DDX_CBIndex(pDX, IDC_VISIBLE_OPERATOR, m_nOperator);
    DDX_Text(pDX, IDC_VISIBLE_VALUE, m_dValue);
}

BOOL CVisibleExpertDlg::OnInitDialog()
{
    if (!m_strCondition.IsEmpty())
    {
        const int comma = m_strCondition.Find(L',');
        const CString first = comma < 0 ? m_strCondition : m_strCondition.Left(comma);
        // Cut to a whole number; an index the list does not hold shows the first operator.
        const double index = std::wcstod(first.GetString(), nullptr);
        m_nOperator = index >= 0.0 && index < double(std::size(kOperators)) ? int(index) : 0;
        // A text of one field keeps the value.
        if (comma >= 0)
            m_dValue = std::wcstod(m_strCondition.Mid(comma + 1).GetString(), nullptr);
    }
    CDialog::OnInitDialog();
    // The operators, unless the template brought them.
    if (m_operators.GetCount() == 0)
        for (const wchar_t* op : kOperators)
            m_operators.AddString(op);
    UpdateData(FALSE);
    return TRUE;
}

void CVisibleExpertDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strCondition = FormatCondition(m_nOperator, m_dValue);
    EndDialog(IDOK);
}
