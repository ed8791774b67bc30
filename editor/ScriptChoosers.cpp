#include "editor/ScriptChoosers.h"

#include "editor/FOProjectApp.h"
#include "mfc/File.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"

#include <QDir>

CNameChooseDlg::CNameChooseDlg(const CString& strTitle, const CStringArray& names, CWnd* pParent)
    : CDialog(IDD_NAME_CHOOSE, pParent), m_strTitle(strTitle)
{
    m_names.Copy(names);
}

void CNameChooseDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NAME_LIST, m_list);
}

BOOL CNameChooseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    for (INT_PTR i = 0; i < m_names.GetSize(); ++i)
        m_list.AddString(m_names[i]);
    return TRUE;
}

void CNameChooseDlg::OnOK()
{
    const int sel = m_list.GetCurSel();
    if (sel >= 0)
        m_list.GetText(sel, m_strValue);
    CDialog::OnOK();
}

namespace
{
BOOL RunChooser(CWnd* pParent, const wchar_t* title, const CStringArray& names, CString& strValue)
{
    CNameChooseDlg dlg(title, names, pParent);
    if (dlg.DoModal() != IDOK || dlg.m_strValue.IsEmpty())
        return FALSE;
    strValue = dlg.m_strValue;
    return TRUE;
}

void AddFiles(CStringArray& names, const CString& strFolder, const QString& pattern)
{
    if (!CFOProjectApp::IsDirectory(strFolder))
        return;
    const QDir dir(QString::fromStdWString(AfxResolvePathCase(strFolder).GetString()));
    const QStringList files = dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& f : files)
        names.Add(CString(f.toStdWString().c_str()));
}
} // namespace

BOOL RunParameterChooser(CWnd* pParent, CString& strName)
{
    CStringArray names;
    CFOProjectApp* app = AfxGetProjectApp();
    if (CWorkSpaceObj* ws = app ? app->GetWorkSpace() : nullptr)
        for (POSITION pos = ws->GetParamObjects().GetHeadPosition(); pos;)
            if (CParamObj* param = ws->GetParamObjects().GetNext(pos))
                names.Add(param->GetName());
    return RunChooser(pParent, L"Parameters", names, strName);
}

BOOL RunScriptFileChooser(CWnd* pParent, CString& strName)
{
    CStringArray names;
    CFOProjectApp* app = AfxGetProjectApp();
    if (app && app->IsProjectLoaded())
    {
        AddFiles(names, app->GetXdgFilesPath(), QStringLiteral("*.xdg"));
        AddFiles(names, app->GetScriptFilesPath(), QStringLiteral("*.uscp"));
    }
    return RunChooser(pParent, L"Connect Script or Drawing", names, strName);
}
