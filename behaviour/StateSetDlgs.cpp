#include "behaviour/StateSetDlgs.h"

#include "behaviour/EventSetDlgs.h"
#include "behaviour/StateItemDlgs.h"
#include "model/StateString.h"

#include <cwchar>

namespace
{
void CopyNames(const CStringArray& from, CStringArray& to)
{
    to.RemoveAll();
    for (INT_PTR i = 0; i < from.GetSize(); ++i)
        to.Add(from[i]);
}

void CopyShapes(const CFOTypedShapeObList& from, CFOTypedShapeObList& to)
{
    to = from;
}

void CopyKeys(const std::vector<CString>& keys, CStringArray& to)
{
    to.RemoveAll();
    for (const CString& k : keys)
        to.Add(k);
}
} // namespace

// --- Named states --------------------------------------------------------------------------------------

CStateSetDlg::CStateSetDlg(CWnd* pParent) : CRecordListDlg(IDD_STATE_SET_TOOL, pParent)
{
    m_nRemovePrompt = IDS_STATESET_REMOVE_ITEM;
    m_nAllPrompt = IDS_STATESET_REMOVE_ALL;
    m_nAddImage = 147;
}

void CStateSetDlg::AddRow()
{
    CSubOptionStateDlg dlg(this);
    CopyKeys(GetKeys(), dlg.m_arUsedNames);
    CopyNames(m_arChildNames, dlg.m_arChildNames);
    CopyShapes(m_listChildShapes, dlg.m_listChildShapes);
    if (dlg.DoModal() != IDOK)
        return;
    AppendRow(dlg.m_strStateName, dlg.m_strItemText);
    RebuildText();
}

void CStateSetDlg::EditRow(int nRow)
{
    const CString body = Body(nRow);
    if (body.IsEmpty())
        return;
    CSubOptionStateDlg dlg(this);
    dlg.m_strStateName = Key(nRow);
    dlg.m_strItemText = body;
    dlg.m_bEdit = TRUE;
    CopyKeys(GetKeys(), dlg.m_arUsedNames);
    CopyNames(m_arChildNames, dlg.m_arChildNames);
    CopyShapes(m_listChildShapes, dlg.m_listChildShapes);
    if (dlg.DoModal() == IDOK)
        SetRow(nRow, dlg.m_strStateName, dlg.m_strItemText);
}

// --- Menu entries -------------------------------------------------------------------------------------

CMenuEditorDlg::CMenuEditorDlg(CWnd* pParent) : CRecordListDlg(IDD_STATE_SET_TOOL, pParent)
{
    m_nRemovePrompt = IDS_MENU_REMOVE_ITEM;
    m_nAllPrompt = IDS_MENU_REMOVE_ALL;
    m_nAddImage = 2903;
}

void CMenuEditorDlg::OnOK()
{
    RebuildText();
    m_strState.Trim();
    CStateListDlg::OnOK();
}

void CMenuEditorDlg::AddRow()
{
    CEFSubMenuSetDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    AppendRow(dlg.m_strStateId, dlg.GetItemText());
    RebuildText();
}

void CMenuEditorDlg::EditRow(int nRow)
{
    // A body without its "#" has no event to show; the editor never writes one.
    const CString body = Body(nRow);
    if (body.Find(L'#') < 0)
        return;
    UINT nType = 0;
    CEFSubMenuSetDlg dlg(this);
    StateString::ParseMenuBody(body, nType, dlg.m_strEventString);
    dlg.m_nEventType = int(nType);
    dlg.m_strStateId = Key(nRow);
    if (dlg.DoModal() == IDOK)
        SetRow(nRow, dlg.m_strStateId, dlg.GetItemText());
}

// --- Value ranges --------------------------------------------------------------------------------------

CValueStateMgrDlg::CValueStateMgrDlg(CWnd* pParent) : CRecordListDlg(IDD_VALUE_STATE_MGR, pParent)
{
    m_nRemovePrompt = IDS_RANGE_REMOVE_ITEM;
    m_nAllPrompt = IDS_RANGE_REMOVE_ALL;
    m_nAddImage = 147;
    m_bLimits = TRUE;
}

void CValueStateMgrDlg::AddRow()
{
    CValueSubStateDlg dlg(this);
    dlg.m_strStateString = m_strStateString;
    dlg.m_dMin = m_dMin;
    dlg.m_dMax = m_dMax;
    CopyKeys(GetKeys(), dlg.m_arUsedRanges);
    CopyNames(m_arChildNames, dlg.m_arChildNames);
    CopyShapes(m_listChildShapes, dlg.m_listChildShapes);
    if (dlg.DoModal() != IDOK)
        return;
    AppendRow(dlg.m_strRange, dlg.m_strItemText);
    RebuildText();
}

void CValueStateMgrDlg::EditRow(int nRow)
{
    CValueSubStateDlg dlg(this);
    dlg.m_strRange = Key(nRow);
    dlg.m_strItemText = Body(nRow);
    // The bounds are the key's two numbers; a key that does not hold them cannot be opened.
    if (!StateString::ParseRangeKey(dlg.m_strRange, dlg.m_dLower, dlg.m_dUpper))
        return;
    dlg.m_bEdit = TRUE;
    dlg.m_dMin = m_dMin;
    dlg.m_dMax = m_dMax;
    dlg.m_strStateString = m_strStateString;
    CopyKeys(GetKeys(), dlg.m_arUsedRanges);
    CopyNames(m_arChildNames, dlg.m_arChildNames);
    CopyShapes(m_listChildShapes, dlg.m_listChildShapes);
    if (dlg.DoModal() == IDOK)
        SetRow(nRow, dlg.m_strRange, dlg.m_strItemText);
}
