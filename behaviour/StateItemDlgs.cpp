#include "behaviour/StateItemDlgs.h"

#include "behaviour/ActionItemEditors.h"
#include "figkit/FOGlobalData.h"
#include "mfc/ModalHook.h"
#include "model/StateString.h"

#include <vector>

namespace
{
// The add buttons and their codes; the hide item only on states, the state change only on ranges.
struct AddButton
{
    UINT nID;
    const wchar_t* pszCode;
};
constexpr AddButton kAddButtons[] = {
    {1056, STATE_CODE_FILL_COLOR}, {1060, STATE_CODE_LINE_COLOR},    {1111, STATE_CODE_FONT_COLOR},
    {1112, STATE_CODE_FILL_TYPE},  {1113, STATE_CODE_PATTERN_COLOR}, {1114, STATE_CODE_LINE_WIDTH},
    {1222, STATE_CODE_LINK_STATE},
};

std::vector<CString> ToVector(const CStringArray& ar)
{
    std::vector<CString> out;
    out.reserve(size_t(ar.GetSize()));
    for (INT_PTR i = 0; i < ar.GetSize(); ++i)
        out.push_back(ar[i]);
    return out;
}
} // namespace

// --- Item lists ----------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CStateItemListDlg, CStateListDlg)
ON_COMMAND_RANGE(1056, 1056, &CStateItemListDlg::OnAddItem)
ON_COMMAND_RANGE(1060, 1060, &CStateItemListDlg::OnAddItem)
ON_COMMAND_RANGE(1111, 1114, &CStateItemListDlg::OnAddItem)
ON_COMMAND_RANGE(1222, 1222, &CStateItemListDlg::OnAddItem)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CStateItemListDlg::CStateItemListDlg(UINT nIDTemplate, CWnd* pParent)
    : CStateListDlg(nIDTemplate, StateListLevel::Items, pParent)
{
    m_pszColumn0 = L"State Item";
    m_pszColumn1 = L"Action Sctipt Text";
}

CStateItemListDlg::~CStateItemListDlg()
{
    m_listChildShapes.RemoveAll();
}

void CStateItemListDlg::OnAddItem(UINT nID)
{
    for (const AddButton& b : kAddButtons)
        if (b.nID == nID)
            AddItem(b.pszCode);
}

void CStateItemListDlg::AddItem(const wchar_t* pszCode)
{
    CActionItemRequest request;
    request.strCode = pszCode;
    request.pChildNames = &m_arChildNames;
    request.pChildShapes = &m_listChildShapes;
    request.strStateString = m_strStateString;
    if (!RunActionItemEditor(this, request))
        return;
    AppendRow(request.strCode, request.strValue);
    RebuildText();
}

void CStateItemListDlg::EditRow(int nRow)
{
    CActionItemRequest request;
    request.strCode = Key(nRow);
    request.strValue = Body(nRow);
    // A value without a field cannot be shown, and a code without an editor is left alone.
    if (StateString::SplitFields(request.strValue).empty() || !HasActionItemEditor(request.strCode))
        return;
    request.bEdit = TRUE;
    request.pChildNames = &m_arChildNames;
    request.pChildShapes = &m_listChildShapes;
    request.strStateString = m_strStateString;
    if (RunActionItemEditor(this, request))
        SetRow(nRow, request.strCode, request.strValue);
}

void CStateItemListDlg::OnDestroy()
{
    m_listChildShapes.RemoveAll();
    FO_GLOBAL::FreeObjectCache();
    CStateListDlg::OnDestroy();
}

// --- One named state -----------------------------------------------------------------------------------

CSubOptionStateDlg::CSubOptionStateDlg(CWnd* pParent) : CStateItemListDlg(IDD_SUB_OPTION_STATE, pParent)
{
    m_nRemovePrompt = IDS_STATE_REMOVE_ITEM;
    m_nAllPrompt = IDS_STATE_REMOVE_ALL;
}

void CSubOptionStateDlg::DoDataExchange(CDataExchange* pDX)
{
    CStateItemListDlg::DoDataExchange(pDX);
    DDX_Text(pDX, 1035, m_strStateName);
}

BOOL CSubOptionStateDlg::OnInitDialog()
{
    if (!m_bEdit)
        m_strStateName = StateString::NextFreeStateName(ToVector(m_arUsedNames));
    CStateItemListDlg::OnInitDialog();
    m_strOpeningName = m_strStateName;
    return FALSE;
}

void CSubOptionStateDlg::AddRow()
{
    AddItem(STATE_CODE_HIDE);
}

void CSubOptionStateDlg::OnOK()
{
    GetDlgItemText(1035, m_strStateName);
    if (RefuseSeparators(this, m_strStateName, L"@$", IDS_STATE_NAME_SEPARATOR, 1035))
        return;
    // A new state may not take a used name either, or two records would answer to it.
    if (ContainsKey(ToVector(m_arUsedNames), m_strStateName) &&
        (!m_bEdit || m_strStateName != m_strOpeningName))
    {
        RefuseWith(this, IDS_STATE_NAME_USED, 1035);
        return;
    }
    RebuildText();
    if (m_strItemText.IsEmpty())
    {
        RefuseWith(this, IDS_STATE_NO_ITEM, 1035);
        return;
    }
    EndDialog(IDOK);
}

// --- One value range -----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CValueSubStateDlg, CStateItemListDlg)
ON_REGISTERED_MESSAGE(RANGE_CHANGED, &CValueSubStateDlg::OnRangeChange)
END_MESSAGE_MAP()

CValueSubStateDlg::CValueSubStateDlg(CWnd* pParent) : CStateItemListDlg(IDD_VALUE_SUB_STATE, pParent)
{
    m_nRemovePrompt = IDS_RANGE_REMOVE_ITEM;
    m_nAllPrompt = IDS_RANGE_REMOVE_ALL;
}

void CValueSubStateDlg::DoDataExchange(CDataExchange* pDX)
{
    CStateItemListDlg::DoDataExchange(pDX);
    DDX_Text(pDX, 1035, m_strRange);
    DDX_Text(pDX, 1072, m_dMin);
    DDX_Text(pDX, 1119, m_dMax);
    DDX_Text(pDX, 1089, m_dLower);
    DDX_Text(pDX, 1096, m_dUpper);
    DDX_Control(pDX, 1016, m_Slider);
}

BOOL CValueSubStateDlg::OnInitDialog()
{
    m_strRange = StateString::FormatRangeKey(m_dLower, m_dUpper);
    CStateItemListDlg::OnInitDialog();
    if (CWnd* link = GetDlgItem(1222))
        link->EnableWindow(!m_strStateString.IsEmpty());
    // Setting the slider reports its corrections, which the bounds follow.
    const double lower = m_dLower, upper = m_dUpper;
    m_Slider.SetMinMax(m_dMin, m_dMax);
    m_Slider.SetRange(lower, upper);
    OnRangeChange(0, 0);
    m_strOpeningRange = m_strRange;
    return FALSE;
}

void CValueSubStateDlg::ShowRange()
{
    m_strRange = StateString::FormatRangeKey(m_dLower, m_dUpper);
    UpdateData(FALSE);
}

void CValueSubStateDlg::SetBounds(double dLower, double dUpper)
{
    UpdateData(TRUE);
    m_dLower = dLower;
    m_dUpper = dUpper;
    ShowRange();
}

LRESULT CValueSubStateDlg::OnRangeChange(WPARAM, LPARAM)
{
    UpdateData(TRUE);
    m_Slider.GetRange(m_dLower, m_dUpper);
    ShowRange();
    return 0;
}

void CValueSubStateDlg::OnOK()
{
    ShowRange();
    if (ContainsKey(ToVector(m_arUsedRanges), m_strRange) && (!m_bEdit || m_strRange != m_strOpeningRange))
    {
        RefuseWith(this, IDS_RANGE_USED, 1035);
        return;
    }
    RebuildText();
    if (m_strItemText.IsEmpty())
    {
        RefuseWith(this, IDS_RANGE_NO_ITEM, 1035);
        return;
    }
    EndDialog(IDOK);
}
