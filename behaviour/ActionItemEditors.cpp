#include "behaviour/ActionItemEditors.h"

#include "behaviour/HideStateDlg.h"
#include "behaviour/StateColorDlg.h"

namespace
{
bool IsColourCode(const CString& code)
{
    return code == L"C_C" || code == L"L_C" || code == L"L_F" || code == L"C_P";
}
bool IsNumberCode(const CString& code)
{
    return code == L"F_T" || code == L"L_W";
}

// The value editors: the code, the child shapes and, when editing, the value go in; the value
// comes back on OK.
template <class Dlg> BOOL RunValueEditor(CWnd* pParent, CActionItemRequest& request)
{
    Dlg dlg(pParent);
    dlg.m_strCode = request.strCode;
    if (request.pChildNames)
        dlg.m_arShapes.Copy(*request.pChildNames);
    dlg.m_pShapes = request.pChildShapes;
    if constexpr (requires { dlg.m_bEdit; })
        dlg.m_bEdit = request.bEdit;
    if (request.bEdit)
        dlg.m_strValue = request.strValue;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    request.strValue = dlg.m_strValue;
    return TRUE;
}
} // namespace

BOOL HasActionItemEditor(const CString& strCode)
{
    return IsColourCode(strCode) || IsNumberCode(strCode) || strCode == L"H_H" || strCode == L"L_S";
}

BOOL RunActionItemEditor(CWnd* pParent, CActionItemRequest& request)
{
    if (IsColourCode(request.strCode))
        return RunValueEditor<CStateColorDlg>(pParent, request);
    if (IsNumberCode(request.strCode))
        return RunValueEditor<CFillTypeStateDlg>(pParent, request);
    if (request.strCode == L"H_H")
        return request.bEdit ? RunValueEditor<CEditStateDlg>(pParent, request)
                             : RunValueEditor<CAddNewStateDlg>(pParent, request);
    if (request.strCode == L"L_S")
    {
        CStatesListDlg dlg(pParent);
        dlg.m_strStateString = request.strStateString;
        if (request.bEdit)
            dlg.m_strState = request.strValue;
        if (dlg.DoModal() != IDOK)
            return FALSE;
        request.strValue = dlg.m_strState;
        return TRUE;
    }
    return FALSE;
}
