#include "behaviour/RealTimeDlgs.h"

#include "behaviour/BehaviourCommon.h"

#include "editor/EditorApp.h"
#include "editor/ParamManager.h"
#include "mfc/WinApp.h"
#include "model/StateString.h"

#include <cwchar>

// --- One line ------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CRealTimeSubDlg, CDialog)
ON_BN_CLICKED(1221, &CRealTimeSubDlg::OnBrowseParam)
END_MESSAGE_MAP()

CRealTimeSubDlg::CRealTimeSubDlg(CWnd* pParent) : CDialog(IDD_REALTIME_SUB, pParent)
{
    if (auto* app = dynamic_cast<IEditorApp*>(AfxGetApp()))
        m_pWorkSpace = app->GetWorkSpace();
}

void CRealTimeSubDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1035, m_strId);
    DDX_Text(pDX, 1225, m_dMax);
    DDV_MinMaxDouble(pDX, m_dMax, 10.0, 2000.0);
    DDX_Text(pDX, 1224, m_dMin);
    DDV_MinMaxDouble(pDX, m_dMin, 0.0, 2000.0);
    DDX_Text(pDX, 1025, m_strParam);
    DDX_Control(pDX, 1056, m_btnColor);
}

BOOL CRealTimeSubDlg::OnInitDialog()
{
    if (m_bEdit)
    {
        // Only a whole line is taken over; a shorter body leaves the defaults, the parameter
        // showing "No" as a new line stores it.
        const std::vector<CString> fields = StateString::SplitFields(m_strBody);
        COLORREF cr = 0;
        if (fields.size() != 5)
            m_strParam = L"No";
        else
        {
            if (StateString::ParseColor(fields[0], cr))
                m_crColor = cr;
            m_dMin = std::wcstod(fields[1].GetString(), nullptr);
            m_dMax = std::wcstod(fields[2].GetString(), nullptr);
            m_strId = fields[3];
            m_strParam = fields[4];
        }
    }
    CDialog::OnInitDialog();
    behaviour::SetGuiFont(this, {1230});
    m_btnColor.SetColor(m_crColor);
    if (m_bEdit)
    {
        const std::vector<CString> fields = StateString::SplitFields(m_strBody);
        if (fields.size() == 5)
        {
            // The limits show as they were typed.
            SetDlgItemText(1224, fields[1]);
            SetDlgItemText(1225, fields[2]);
        }
    }
    m_strOpeningId = m_strId;
    return TRUE;
}

void CRealTimeSubDlg::OnBrowseParam()
{
    if (!UpdateData(TRUE))
        return;
    CParamManager dlg(m_pWorkSpace, this);
    dlg.m_strResult = m_strParam;
    if (dlg.DoModal() != IDOK)
        return;
    m_strParam = dlg.m_strResult;
    UpdateData(FALSE);
}

void CRealTimeSubDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (RefuseSeparators(this, m_strId, L"@$,", IDS_LINE_ID_SEPARATOR, 1035))
        return;
    // The parameter is the record's last field: a separator in it would split the chart's text.
    if (RefuseSeparators(this, m_strParam, L"@$,", IDS_LINE_PARAM_SEPARATOR, 1025))
        return;
    for (INT_PTR i = 0; i < m_arUsedIds.GetSize(); ++i)
    {
        if (m_arUsedIds[i] == m_strId)
        {
            RefuseWith(this, IDS_LINE_ID_USED, 1035);
            return;
        }
    }
    m_crColor = m_btnColor.GetColor();
    CString strMin, strMax;
    GetDlgItemText(1224, strMin);
    GetDlgItemText(1225, strMax);
    if (m_strParam.IsEmpty())
        m_strParam = L"No";
    m_strBody =
        StateString::JoinFields({StateString::FormatColor(m_crColor), strMin, strMax, m_strId, m_strParam});
    EndDialog(IDOK);
}

// --- The builder ---------------------------------------------------------------------------------------

CRealTimeSetDlg::CRealTimeSetDlg(CWnd* pParent) : CRecordListDlg(IDD_REALTIME_SET, pParent)
{
    m_nRemovePrompt = IDS_LINE_REMOVE_ITEM;
    m_nAllPrompt = IDS_LINE_REMOVE_ALL;
    m_nAddImage = 2903;
    m_bLimits = TRUE;
}

void CRealTimeSetDlg::UsedIds(int nExcept, CStringArray& ids) const
{
    ids.RemoveAll();
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (i != nExcept)
            ids.Add(Key(i));
}

void CRealTimeSetDlg::AddRow()
{
    CRealTimeSubDlg dlg(this);
    if (m_pWorkSpace)
        dlg.m_pWorkSpace = m_pWorkSpace;
    UsedIds(-1, dlg.m_arUsedIds);
    if (dlg.DoModal() != IDOK)
        return;
    AppendRow(dlg.m_strId, dlg.m_strBody);
    RebuildText();
}

void CRealTimeSetDlg::EditRow(int nRow)
{
    CRealTimeSubDlg dlg(this);
    if (m_pWorkSpace)
        dlg.m_pWorkSpace = m_pWorkSpace;
    dlg.m_strBody = Body(nRow);
    dlg.m_bEdit = TRUE;
    UsedIds(nRow, dlg.m_arUsedIds);
    if (dlg.DoModal() == IDOK)
        SetRow(nRow, dlg.m_strId, dlg.m_strBody);
}
