#include "opc/EventConnectDlg.h"

#include "opcsdk/OpcTypes.h"

CEventConnectDlg::CEventConnectDlg(CWnd* pParent) : CConnectDlg(IDD, CATID_OPCAEServer10, pParent) {}

CString CEventConnectDlg::GetProgID() const
{
    // A picked line is "ProgID  (description)".
    const int end = m_strServer.Find(L"  (");
    return end >= 0 ? m_strServer.Left(end) : m_strServer;
}
