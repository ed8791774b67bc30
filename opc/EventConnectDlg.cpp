#include "opc/EventConnectDlg.h"

#include "opcsdk/OpcTypes.h"

CEventConnectDlg::CEventConnectDlg(CWnd* pParent) : CConnectDlg(IDD, CATID_OPCAEServer10, pParent) {}
