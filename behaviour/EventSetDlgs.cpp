#include "behaviour/EventSetDlgs.h"

#include "behaviour/BehaviourCommon.h"
#include "behaviour/ShapeChooserDlgs.h"
#include "editor/MethodChooseDlg.h"
#include "editor/ProjectDialogs.h"
#include "mfc/ModalHook.h"

#include <iterator>

namespace
{
const EventListEntry kActions[] = {
    {L"None", EVENT_NONE},
    {L"Open page...", EVENT_OPEN_PAGE},
    {L"Hide object...", EVENT_HIDE},
    {L"Show object...", EVENT_SHOW},
    {L"Execute file...", EVENT_EXECUTE},
    {L"Print Document", EVENT_PRINT},
    {L"Export data to image", EVENT_EXPORT},
    {L"Exit Application.", EVENT_EXIT},
    {L"Send Email...", EVENT_SEND_MAIL},
    {L"Open URL...", EVENT_OPEN_URL},
    {L"Open file...", EVENT_OPEN_FILE},
    // The players run a procedure for 18; 7 was the editor's older code for the same choice.
    {L"Run procedure...", EVENT_RUN_PROCEDURE},
};

const EventListEntry kCommands[] = {
    {L"None", EVENT_COMMAND_NONE},
    {L"Toggle Command...", EVENT_TOGGLE},
    {L"Manual Command...", EVENT_MANUAL},
};

const EventListEntry kCursors[] = {
    {L"HANDLE", 1},
    {L"CROSS", 2},
    {L"HANDLE1", 3},
    {L"ROUND", 4},
};

// The entry a code selects in the action list: 7 opens on "Run procedure...".
int ListCode(int nCode)
{
    return nCode == EVENT_PROCEDURE_OLD ? EVENT_RUN_PROCEDURE : nCode;
}

void Enable(CWnd* pDlg, int nID, BOOL bEnable)
{
    if (CWnd* ctrl = pDlg->GetDlgItem(nID))
        ctrl->EnableWindow(bEnable);
}
} // namespace

EventParamKind GetEventParamKind(int nCode)
{
    switch (nCode)
    {
    case 0:
    case 6:
    case 8:
    case 9:
    case 10:
    case 11:
    case 14:
    case 15:
    case 16:
    case 17:
    case 19:
    case 21:
    case 22:
        return EventParamKind::None;
    case 1:
    case 2:
        return EventParamKind::Typed;
    case 3:
    case 4:
    case 5:
    case 7:
    case 12:
    case 13:
    case 18:
        return EventParamKind::Browsed;
    default:
        return EventParamKind::NoRule;
    }
}

BOOL IsCodeWithoutParam(int nCode)
{
    return GetEventParamKind(nCode) == EventParamKind::None;
}

const EventListEntry* GetEventActions(int& nCount)
{
    nCount = int(std::size(kActions));
    return kActions;
}

const EventListEntry* GetEventCommands(int& nCount)
{
    nCount = int(std::size(kCommands));
    return kCommands;
}

// --- Shared base -------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CEventSetBaseDlg, CDialog)
ON_LBN_SELCHANGE(IDC_EVENT_ACTIONS, &CEventSetBaseDlg::OnActionChange)
ON_LBN_SELCHANGE(IDC_EVENT_COMMANDS, &CEventSetBaseDlg::OnCommandChange)
ON_BN_CLICKED(IDC_EVENT_LIST_MODE, &CEventSetBaseDlg::OnListMode)
ON_BN_CLICKED(IDC_EVENT_COMMAND_MODE, &CEventSetBaseDlg::OnCommandMode)
ON_BN_CLICKED(IDC_EVENT_ACTUAL_CURSOR, &CEventSetBaseDlg::OnActualCursor)
ON_BN_CLICKED(IDC_EVENT_CUSTOM_CURSOR, &CEventSetBaseDlg::OnCustomCursor)
ON_BN_CLICKED(IDC_EVENT_BROWSE, &CEventSetBaseDlg::OnBrowse)
END_MESSAGE_MAP()

CEventSetBaseDlg::CEventSetBaseDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

void CEventSetBaseDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EVENT_ACTIONS, m_actions);
    if (HasCommandNumber())
    {
        DDX_Control(pDX, IDC_EVENT_COMMAND_SPIN, m_spin);
        DDX_Text(pDX, IDC_EVENT_COMMAND_NO, m_nCommandCode);
        DDV_MinMaxInt(pDX, m_nCommandCode, 20, 100);
    }
    else
    {
        DDX_Control(pDX, IDC_EVENT_COMMANDS, m_commands);
    }
    if (HasCursor())
    {
        DDX_Control(pDX, IDC_EVENT_CURSORS, m_cursors);
        DDX_Text(pDX, IDC_EVENT_TOOLTIP, m_strToolTip);
    }
    DDX_Text(pDX, IDC_EVENT_PARAM, m_strEventString);
}

BOOL CEventSetBaseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nSavedEventType = m_nEventType;
    m_strSavedEventString = m_strEventString;
    m_nSavedCursorType = m_nCursorType;
    m_strSavedToolTip = m_strToolTip;
    m_strSavedMethod = m_strMethod;
    m_bModified = FALSE;
    behaviour::SetGuiFont(this, {IDC_EVENT_PARAM, IDC_EVENT_TOOLTIP, IDC_EVENT_COMMAND_NO, IDC_EVENT_STATE_ID,
                                 IDC_EVENT_METHOD, IDC_EVENT_PARAM_CAPTION});

    if (HasCursor())
    {
        m_cursors.ResetContent();
        for (const EventListEntry& c : kCursors)
            m_cursors.SetItemData(m_cursors.AddString(c.text), DWORD_PTR(c.code));
        const BOOL custom = m_nCursorType != 0;
        CheckDlgButton(IDC_EVENT_ACTUAL_CURSOR, custom ? 0 : 1);
        CheckDlgButton(IDC_EVENT_CUSTOM_CURSOR, custom ? 1 : 0);
        m_cursors.SetCurSel(0);
        if (custom)
            for (int i = 0; i < m_cursors.GetCount(); ++i)
                if (int(m_cursors.GetItemData(i)) == m_nCursorType)
                    m_cursors.SetCurSel(i);
        m_cursors.EnableWindow(custom);
    }

    SetDlgItemText(IDC_EVENT_PARAM, m_strEventString);
    m_actions.ResetContent();
    for (const EventListEntry& a : kActions)
        m_actions.SetItemData(m_actions.AddString(a.text), DWORD_PTR(a.code));
    if (m_nEventType < 20)
        SelectCode(ListCode(m_nEventType));
    ShowMethod();

    if (HasCommandNumber())
    {
        m_spin.SetBase(10);
        m_spin.SetRange32(20, 100);
        m_spin.SetPos32(m_nCommandCode);
    }
    else
    {
        m_commands.ResetContent();
        for (const EventListEntry& c : kCommands)
            m_commands.SetItemData(m_commands.AddString(c.text), DWORD_PTR(c.code));
        if (m_nEventType >= 20)
            for (int i = 0; i < m_commands.GetCount(); ++i)
                if (int(m_commands.GetItemData(i)) == m_nEventType)
                    m_commands.SetCurSel(i);
    }
    ApplyLiveRule(m_nEventType);
    return TRUE;
}

void CEventSetBaseDlg::ApplyLiveRule(int nCode)
{
    switch (GetEventParamKind(nCode))
    {
    case EventParamKind::None:
        Enable(this, IDC_EVENT_PARAM, FALSE);
        Enable(this, IDC_EVENT_BROWSE, FALSE);
        break;
    case EventParamKind::Typed:
        Enable(this, IDC_EVENT_PARAM, TRUE);
        Enable(this, IDC_EVENT_BROWSE, FALSE);
        break;
    case EventParamKind::Browsed:
        Enable(this, IDC_EVENT_PARAM, FALSE);
        Enable(this, IDC_EVENT_BROWSE, TRUE);
        break;
    case EventParamKind::NoRule:
        break;
    }
    m_bCommandMode = nCode >= 20;
    CheckDlgButton(IDC_EVENT_LIST_MODE, m_bCommandMode ? 0 : 1);
    CheckDlgButton(IDC_EVENT_COMMAND_MODE, m_bCommandMode ? 1 : 0);
    Enable(this, IDC_EVENT_ACTIONS, !m_bCommandMode);
    if (HasCommandNumber())
    {
        Enable(this, IDC_EVENT_COMMAND_NO, m_bCommandMode);
        Enable(this, IDC_EVENT_COMMAND_SPIN, m_bCommandMode);
        if (m_bCommandMode)
            SetDlgItemInt(IDC_EVENT_COMMAND_NO, UINT(nCode));
    }
    if (m_bCommandMode)
        m_nCommandCode = nCode;
}

int CEventSetBaseDlg::SelectedAction() const
{
    const int sel = m_actions.GetCurSel();
    return sel < 0 ? -1 : int(m_actions.GetItemData(sel));
}

int CEventSetBaseDlg::SelectedCommand() const
{
    const int sel = m_commands.GetSafeHwnd() ? m_commands.GetCurSel() : -1;
    return sel < 0 ? -1 : int(m_commands.GetItemData(sel));
}

void CEventSetBaseDlg::SelectCode(int nCode)
{
    m_actions.SetCurSel(-1);
    for (int i = 0; i < m_actions.GetCount(); ++i)
        if (int(m_actions.GetItemData(i)) == nCode)
            m_actions.SetCurSel(i);
}

void CEventSetBaseDlg::ShowMethod()
{
    SetDlgItemText(IDC_EVENT_METHOD, L"Method:" + m_strMethod);
}

void CEventSetBaseDlg::TakeCode(int nCode)
{
    if (nCode < 0)
        return;
    if (ListCode(nCode) != ListCode(m_nEventType))
        SetDlgItemText(IDC_EVENT_PARAM, L"");
    m_nEventType = nCode;
    ApplyLiveRule(nCode);
}

void CEventSetBaseDlg::OnActionChange()
{
    TakeCode(SelectedAction());
}

void CEventSetBaseDlg::OnCommandChange()
{
    TakeCode(SelectedCommand());
}

void CEventSetBaseDlg::OnListMode()
{
    m_bCommandMode = FALSE;
    Enable(this, IDC_EVENT_ACTIONS, TRUE);
    Enable(this, IDC_EVENT_COMMANDS, FALSE);
    Enable(this, IDC_EVENT_COMMAND_NO, FALSE);
    Enable(this, IDC_EVENT_COMMAND_SPIN, FALSE);
}

void CEventSetBaseDlg::OnCommandMode()
{
    m_bCommandMode = TRUE;
    Enable(this, IDC_EVENT_ACTIONS, FALSE);
    Enable(this, IDC_EVENT_COMMANDS, TRUE);
    Enable(this, IDC_EVENT_COMMAND_NO, TRUE);
    Enable(this, IDC_EVENT_COMMAND_SPIN, TRUE);
    Enable(this, IDC_EVENT_PARAM, TRUE);
}

void CEventSetBaseDlg::OnActualCursor()
{
    m_nCursorType = 0;
    Enable(this, IDC_EVENT_CURSORS, FALSE);
}

void CEventSetBaseDlg::OnCustomCursor()
{
    m_nCursorType = 1;
    Enable(this, IDC_EVENT_CURSORS, TRUE);
}

void CEventSetBaseDlg::OnBrowse()
{
    switch (m_nEventType)
    {
    case EVENT_OPEN_FILE:
        BrowseFile(L"Open Files(*.*)|*.*||");
        break;
    case EVENT_EXECUTE:
        BrowseFile(L"Exe Files(*.exe)|*.exe|All Files(*.*)|*.*||");
        break;
    case EVENT_OPEN_PAGE:
        BrowseScript(FALSE);
        break;
    case EVENT_PROCEDURE_OLD:
    case EVENT_RUN_PROCEDURE:
        BrowseScript(TRUE);
        break;
    case EVENT_HIDE:
    case EVENT_SHOW:
        BrowseShape();
        break;
    default:
        break;
    }
}

void CEventSetBaseDlg::BrowseFile(LPCWSTR lpszFilter)
{
    CString path;
    if (!behaviour::ChooseFileToOpen(this, lpszFilter, path))
        return;
    m_strEventString = path;
    SetDlgItemText(IDC_EVENT_PARAM, path);
}

void CEventSetBaseDlg::BrowseScript(BOOL bProcedure)
{
    CString current;
    GetDlgItemText(IDC_EVENT_PARAM, current);
    MBScriptChooseDlg chooser(this);
    chooser.m_strProjectFolder = behaviour::ProjectFolder();
    chooser.m_strValue = current;
    if (chooser.DoModal() != IDOK)
        return;
    const CString choice = chooser.m_strValue;
    if (bProcedure && behaviour::IsScriptName(choice))
    {
        CMethodChooseDlg methods(this);
        methods.m_strScriptFile = choice;
        methods.m_strMethod = m_strMethod;
        if (methods.DoModal() == IDOK)
        {
            m_strMethod = methods.m_strMethod;
            ShowMethod();
        }
    }
    m_strEventString = choice;
    SetDlgItemText(IDC_EVENT_PARAM, choice);
}

void CEventSetBaseDlg::BrowseShape()
{
    CString current;
    GetDlgItemText(IDC_EVENT_PARAM, current);
    CMBEventEditDlg7 shapes(this);
    shapes.m_strValue = current;
    if (shapes.DoModal() != IDOK)
        return;
    m_strEventString = shapes.m_strValue;
    SetDlgItemText(IDC_EVENT_PARAM, shapes.m_strValue);
}

void CEventSetBaseDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (HasCursor())
        GetDlgItemText(IDC_EVENT_TOOLTIP, m_strToolTip);
    int code = m_nEventType;
    if (m_bCommandMode)
        code = m_nCommandCode;
    else if (SelectedAction() >= 0)
        code = SelectedAction();
    // With no action selected the stored code stays.
    m_nEventType = code;

    if (m_strEventString.IsEmpty())
    {
        if (!IsCodeWithoutParam(code))
        {
            AfxMessageBox(IDS_EVENT_STRING_EMPTY, MB_OK | MB_ICONINFORMATION);
            if (CWnd* edit = GetDlgItem(IDC_EVENT_PARAM))
                edit->SetFocus();
            return;
        }
        if (HasCommandNumber())
            m_strEventString = L"None";
    }
    if (HasCursor() && IsDlgButtonChecked(IDC_EVENT_CUSTOM_CURSOR))
    {
        const int sel = m_cursors.GetCurSel();
        if (sel >= 0)
            m_nCursorType = int(m_cursors.GetItemData(sel));
    }
    if (!CheckMore())
        return;
    m_bModified = m_nEventType != m_nSavedEventType || m_strEventString != m_strSavedEventString ||
                  m_nCursorType != m_nSavedCursorType || m_strToolTip != m_strSavedToolTip ||
                  m_strMethod != m_strSavedMethod;
    EndDialog(IDOK);
}

// --- Sub-menu item -----------------------------------------------------------------------------------

CEFSubMenuSetDlg::CEFSubMenuSetDlg(CWnd* pParent) : CEventSetBaseDlg(IDD_SUBMENU_SET, pParent) {}

void CEFSubMenuSetDlg::DoDataExchange(CDataExchange* pDX)
{
    CEventSetBaseDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EVENT_STATE_ID, m_strStateId);
}

BOOL CEFSubMenuSetDlg::CheckMore()
{
    struct Refusal
    {
        BOOL bRefused;
        UINT nMessage;
        int nFocus;
    };
    // The menu's state string takes "@", "$" and "#" as separators: an id or text holding them
    // would come back as other items.
    const Refusal refusals[] = {
        {m_strStateId.IsEmpty(), IDS_MENU_STATE_ID_EMPTY, IDC_EVENT_STATE_ID},
        {m_strStateId.FindOneOf(L"@$") >= 0, IDS_MENU_STATE_ID_CHARS, IDC_EVENT_STATE_ID},
        {m_strEventString.FindOneOf(L"@#") >= 0, IDS_MENU_EVENT_CHARS, IDC_EVENT_PARAM},
    };
    for (const Refusal& r : refusals)
        if (r.bRefused)
        {
            AfxMessageBox(r.nMessage, MB_OK | MB_ICONINFORMATION);
            if (CWnd* ctrl = GetDlgItem(r.nFocus))
                ctrl->SetFocus();
            return FALSE;
        }
    return TRUE;
}

CString CEFSubMenuSetDlg::GetItemText() const
{
    CString text = m_strEventString;
    text.Trim();
    if (text.IsEmpty())
        text = L"None";
    CString item;
    item.Format(L"%u#%s", unsigned(m_nEventType), text.GetString());
    return item;
}
