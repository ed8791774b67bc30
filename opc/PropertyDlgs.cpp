#include "opc/PropertyDlgs.h"

#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/OPCDataTypes.h"

namespace
{
const UINT IDC_GROUP_NAME = 12501;
const UINT IDC_GROUP_LCID = 12509;
const UINT IDC_GROUP_RATE = 12504;
const UINT IDC_GROUP_ACTIVE = 12507;
const UINT IDC_GROUP_BIAS = 12506;
const UINT IDC_GROUP_DEADBAND = 12505;
const UINT IDC_GROUP_DATACHANGE = 12539;
const UINT IDC_ITEM_TYPE = 12536;
const UINT IDC_ITEM_ACTIVE = 12534;
const UINT IDC_ITEM_ID = 12535;
const UINT IDC_ITEM_HANDLE = 12537;
} // namespace

CGroupDlg::CGroupDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CGroupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_GROUP_NAME, m_strName);
    DDX_Text(pDX, IDC_GROUP_LCID, m_dwLCID);
    DDX_Text(pDX, IDC_GROUP_RATE, m_dwUpdateRate);
    DDV_MinMaxDWord(pDX, m_dwUpdateRate, 0, 100000);
    DDX_Check(pDX, IDC_GROUP_ACTIVE, m_bActive);
    DDX_Text(pDX, IDC_GROUP_BIAS, m_lTimeBias);
    DDV_MinMaxLong(pDX, m_lTimeBias, 0, 100);
    DDX_Text(pDX, IDC_GROUP_DEADBAND, m_fDeadBand);
    DDV_MinMaxFloat(pDX, m_fDeadBand, 0.0f, 100.0f);
    DDX_Check(pDX, IDC_GROUP_DATACHANGE, m_bDataChangeEnabled);
}

BOOL CGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(FALSE);
    CInfoServer* server = doc ? doc->GetInfoServer() : nullptr;
    if (!server)
        return FALSE;
    CWnd* box = GetDlgItem(IDC_GROUP_DATACHANGE);
    if (server->GetOPCVersion() <= 1.0f)
    {
        if (box)
            box->EnableWindow(FALSE);
        m_bDataChangeEnabled = TRUE;
        UpdateData(FALSE);
    }
    else if (box)
        box->EnableWindow(TRUE);
    return TRUE;
}

CItemDlg::CItemDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CItemDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEM_TYPE, m_comboDataType);
    DDX_Check(pDX, IDC_ITEM_ACTIVE, m_bActive);
    DDX_Text(pDX, IDC_ITEM_ID, m_strItemID);
    DDX_Text(pDX, IDC_ITEM_HANDLE, m_dwClientHandle);
}

BOOL CItemDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OPCFillDataTypeCombo(m_comboDataType);
    m_comboDataType.SetCurSel(OPCPositionFromDataType(m_vtDataType));
    return TRUE;
}

void CItemDlg::OnOK()
{
    m_vtDataType = OPCDataTypeFromPosition(m_comboDataType.GetCurSel());
    CDialog::OnOK();
}
