// The small choosers the script view opens: a project variable by name, and a screen or script
// file of the project. Each shows a list, preselects nothing and gives back the line chosen.
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "mfc/Dialog.h"
#include "mfc/ListBoxCtl.h"

class CWnd;

#define IDD_NAME_CHOOSE 1240
#define IDC_NAME_LIST 1090

class CNameChooseDlg : public CDialog
{
public:
    CNameChooseDlg(const CString& strTitle, const CStringArray& names, CWnd* pParent);

    CString m_strValue;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CString m_strTitle;
    CStringArray m_names;
    CListBox m_list;
};

// The names of the project's variables; TRUE with the one chosen.
BOOL RunParameterChooser(CWnd* pParent, CString& strName);
// The project's "*.xdg" and "*.uscp" files by name (sorted); TRUE with the one chosen.
BOOL RunScriptFileChooser(CWnd* pParent, CString& strName);
