// The list editors of a shape's records: the named states of a composite (CStateSetDlg), the
// entries of an option-menu button (CMenuEditorDlg) and the value ranges of a shape
// (CValueStateMgrDlg). Each lists the records of its text, opens a record dialog to add or change
// one, and gives back the rebuilt text on OK.
#pragma once

#include "behaviour/StateListDlg.h"

#define IDD_STATE_SET_TOOL 116
#define IDD_VALUE_STATE_MGR 191

#define IDS_STATESET_REMOVE_ITEM 32875
#define IDS_STATESET_REMOVE_ALL 32876
#define IDS_MENU_REMOVE_ITEM 32877
#define IDS_MENU_REMOVE_ALL 32878

class CStateSetDlg : public CRecordListDlg
{
public:
    explicit CStateSetDlg(CWnd* pParent = nullptr);

    // In and out: the state string.
    CString m_strState;

protected:
    CString& ListText() override { return m_strState; }
    void AddRow() override;
    void EditRow(int nRow) override;
};

// The entries of an option-menu button: each record is a state id and "code#event string".
class CMenuEditorDlg : public CRecordListDlg
{
public:
    explicit CMenuEditorDlg(CWnd* pParent = nullptr);

    // In and out: the menu's state string, trimmed on OK.
    CString m_strState;

    void OnOK() override;

protected:
    CString& ListText() override { return m_strState; }
    void AddRow() override;
    void EditRow(int nRow) override;
};

class CValueStateMgrDlg : public CRecordListDlg
{
public:
    explicit CValueStateMgrDlg(CWnd* pParent = nullptr);

    // In and out: the value-state string (and the limits); in: the shape's state string.
    CString m_strValueState;
    CString m_strStateString;

protected:
    CString& ListText() override { return m_strValueState; }
    void AddRow() override;
    void EditRow(int nRow) override;
};
