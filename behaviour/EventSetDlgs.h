// The click-event dialogs: the shape event dialog (CQYREventSetDlg), its twin with a numbered
// command (CEFEventSetDlg) and one item of an option menu (CEFSubMenuSetDlg). They share the action
// list, the rule for which controls are live, the "..." browse step and the check on OK.
#pragma once

#include "mfc/ButtonCtl.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/SpinButtonCtrl.h"

#define IDD_EVENT_SET 220
#define IDD_EF_EVENT_SET 187
#define IDD_SUBMENU_SET 216

#define IDC_EVENT_ACTIONS 1037
#define IDC_EVENT_COMMANDS 1038
#define IDC_EVENT_COMMAND_NO 1029
#define IDC_EVENT_COMMAND_SPIN 1076
#define IDC_EVENT_PARAM 1011
#define IDC_EVENT_BROWSE 1012
#define IDC_EVENT_METHOD 1075
#define IDC_EVENT_PARAM_CAPTION 1230
#define IDC_EVENT_LIST_MODE 1030
#define IDC_EVENT_COMMAND_MODE 1031
#define IDC_EVENT_ACTUAL_CURSOR 28337
#define IDC_EVENT_CUSTOM_CURSOR 28338
#define IDC_EVENT_CURSORS 28339
#define IDC_EVENT_TOOLTIP 29206
#define IDC_EVENT_STATE_ID 1035

// Messages of the event dialogs (string table).
#define IDS_EVENT_STRING_EMPTY 28164
#define IDS_MENU_STATE_ID_EMPTY 32889
#define IDS_MENU_STATE_ID_CHARS 32951
#define IDS_MENU_EVENT_CHARS 32952

// Action codes the dialogs know by name.
enum EventCode
{
    EVENT_NONE = 0,
    EVENT_SEND_MAIL = 1,
    EVENT_OPEN_URL = 2,
    EVENT_OPEN_FILE = 3,
    EVENT_EXECUTE = 4,
    EVENT_OPEN_PAGE = 5,
    EVENT_PRINT = 6,
    EVENT_PROCEDURE_OLD = 7,
    EVENT_HIDE = 12,
    EVENT_SHOW = 13,
    EVENT_EXPORT = 16,
    EVENT_RUN_PROCEDURE = 18,
    EVENT_EXIT = 19,
    EVENT_COMMAND_NONE = 20,
    EVENT_TOGGLE = 21,
    EVENT_MANUAL = 22,
};

// Which controls a code leaves live: its parameter is absent, typed or browsed (none: no rule).
enum class EventParamKind
{
    None,
    Typed,
    Browsed,
    NoRule,
};
EventParamKind GetEventParamKind(int nCode);
// A code whose parameter is absent (rule 1 of the live controls).
BOOL IsCodeWithoutParam(int nCode);

// One entry of the action list or of the command list.
struct EventListEntry
{
    const wchar_t* text;
    int code;
};
// The action list, in list order; "Run procedure..." (18) stands for the older procedure code 7.
const EventListEntry* GetEventActions(int& nCount);
const EventListEntry* GetEventCommands(int& nCount);

class CEventSetBaseDlg : public CDialog
{
public:
    CEventSetBaseDlg(UINT nIDTemplate, CWnd* pParent);

    int m_nEventType = 0;
    int m_nCommandCode = EVENT_COMMAND_NONE;
    BOOL m_bCommandMode = FALSE;
    CString m_strEventString;
    int m_nCursorType = 0;
    CString m_strToolTip;
    CString m_strMethod;
    // Whether a click reaches the children of a composite (the design view writes it back).
    BOOL m_bAllowHitChild = FALSE;
    // Set by OK when the event type, event string, cursor type, tooltip or method changed.
    BOOL m_bModified = FALSE;

    // Enables the parameter edit, "..." and the list or command controls for the code (the
    // live-control rule) and checks the mode radio it implies.
    void ApplyLiveRule(int nCode);

protected:
    // The twin dialogs: a command number with a spin (20 to 100) instead of a command list, and
    // "None" for an empty parameter of a code without one.
    virtual BOOL HasCommandNumber() const { return TRUE; }
    virtual BOOL HasCursor() const { return TRUE; }
    // Checks after the shared ones on OK; FALSE keeps the dialog open.
    virtual BOOL CheckMore() { return TRUE; }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnActionChange();
    afx_msg void OnCommandChange();
    afx_msg void OnListMode();
    afx_msg void OnCommandMode();
    afx_msg void OnActualCursor();
    afx_msg void OnCustomCursor();
    afx_msg void OnBrowse();

    // The code of the selected entry; -1 when nothing is selected.
    int SelectedAction() const;
    int SelectedCommand() const;
    void SelectCode(int nCode);
    void ShowMethod();
    // A code chosen in a list: stored, the parameter cleared when it changed, the rule applied.
    void TakeCode(int nCode);
    // Browsing for a script and, for a script, one of its procedures.
    void BrowseScript(BOOL bProcedure);
    void BrowseFile(LPCWSTR lpszFilter);
    void BrowseShape();

    CListBox m_actions;
    CListBox m_commands;
    CComboBox m_cursors;
    CSpinButtonCtrl m_spin;

    int m_nSavedEventType = 0;
    CString m_strSavedEventString;
    int m_nSavedCursorType = 0;
    CString m_strSavedToolTip;
    CString m_strSavedMethod;

    DECLARE_MESSAGE_MAP()
};

// "Event Setting": the shape's click event with a list of real-time commands.
class CQYREventSetDlg : public CEventSetBaseDlg
{
public:
    explicit CQYREventSetDlg(CWnd* pParent = nullptr) : CEventSetBaseDlg(IDD_EVENT_SET, pParent) {}

protected:
    BOOL HasCommandNumber() const override { return FALSE; }
};

// The older "Event Setting" with a numbered user-defined command.
class CEFEventSetDlg : public CEventSetBaseDlg
{
public:
    explicit CEFEventSetDlg(CWnd* pParent = nullptr) : CEventSetBaseDlg(IDD_EF_EVENT_SET, pParent) {}
};

// "Sub menu setting": one item of an option menu, stored by the menu editor under the state id.
class CEFSubMenuSetDlg : public CEventSetBaseDlg
{
public:
    explicit CEFSubMenuSetDlg(CWnd* pParent = nullptr);

    CString m_strStateId = L"STATE_0";

    // The item's text in the menu's state string: the code ("%u"), "#", and the event string
    // trimmed ("None" when empty).
    CString GetItemText() const;

protected:
    BOOL HasCursor() const override { return FALSE; }
    BOOL CheckMore() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
