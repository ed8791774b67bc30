#include "opc/ServerStatusDlg.h"

#include "foundation/PlexcoreRes.h"
#include "mfc/FileTimeText.h"

namespace
{
const UINT IDS_UNKNOWN = 12580;
const UINT IDS_NO_UPDATES = 12581;
const UINT IDS_COMM_FAULT = 12603;

CString LoadText(UINT id)
{
    CString text;
    Plexcore_LoadString(id, text);
    return text;
}

CString TimeText(const FILETIME& ft, UINT idNone)
{
    CString text;
    if (ft.dwHighDateTime == 0 || !AfxFormatFileTime(ft, L"%c", text))
        return LoadText(idNone);
    return text;
}

CString Number(long long value)
{
    CString text;
    text.Format(L"%lld", value);
    return text;
}
} // namespace

CString OPCServerStateText(DWORD state)
{
    switch (state)
    {
    case OPC_STATUS_RUNNING:
        return LoadText(12583);
    case OPC_STATUS_FAILED:
        return LoadText(12582);
    case OPC_STATUS_NOCONFIG:
        return LoadText(12585);
    case OPC_STATUS_SUSPENDED:
        return LoadText(12587);
    case OPC_STATUS_TEST:
        return LoadText(12589);
    case 6: // communication fault
        return LoadText(IDS_COMM_FAULT);
    default:
        return LoadText(IDS_UNKNOWN);
    }
}

COPCStatusTexts OPCStatusTexts(const OPCSERVERSTATUS& status)
{
    COPCStatusTexts t;
    t.strStartTime = TimeText(status.ftStartTime, IDS_UNKNOWN);
    t.strCurrentTime = TimeText(status.ftCurrentTime, IDS_UNKNOWN);
    t.strLastUpdateTime = TimeText(status.ftLastUpdateTime, IDS_NO_UPDATES);
    t.strBandWidth =
        status.dwBandWidth == 0xFFFFFFFFu ? LoadText(IDS_UNKNOWN) : Number(int(status.dwBandWidth));
    t.strVendorInfo = status.szVendorInfo ? CString(status.szVendorInfo) : CString();
    t.strStatus = OPCServerStateText(DWORD(status.dwServerState));
    t.strGroups = Number(int(status.dwGroupCount));
    t.strMajorVersion = Number(status.wMajorVersion);
    t.strMinorVersion = Number(status.wMinorVersion);
    t.strBuildNumber = Number(status.wBuildNumber);
    return t;
}

CServerStatusDlg::CServerStatusDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CServerStatusDlg::SetTexts(const COPCStatusTexts& t)
{
    m_strStartTime = t.strStartTime;
    m_strCurrentTime = t.strCurrentTime;
    m_strLastUpdateTime = t.strLastUpdateTime;
    m_strBandWidth = t.strBandWidth;
    m_strVendorInfo = t.strVendorInfo;
    m_strStatus = t.strStatus;
    m_strGroups = t.strGroups;
    m_strMajorVersion = t.strMajorVersion;
    m_strMinorVersion = t.strMinorVersion;
    m_strBuildNumber = t.strBuildNumber;
}

void CServerStatusDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 12510, m_strStartTime);
    DDX_Text(pDX, 12511, m_strCurrentTime);
    DDX_Text(pDX, 12513, m_strLastUpdateTime);
    DDX_Text(pDX, 12515, m_strBandWidth);
    DDX_Text(pDX, 12517, m_strVendorInfo);
    DDX_Text(pDX, 12519, m_strStatus);
    DDX_Text(pDX, 12521, m_strGroups);
    DDX_Text(pDX, 12523, m_strMajorVersion);
    DDX_Text(pDX, 12525, m_strMinorVersion);
    DDX_Text(pDX, 12527, m_strBuildNumber);
}
