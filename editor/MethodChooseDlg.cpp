#include "editor/MethodChooseDlg.h"

#include "com/ComBase.h"
#include "behaviour/BehaviourCommon.h"
#include "foundation/StdioFileEx.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "model/ScriptObject.h"
#include "symbols/NewMethodHost.h"

namespace
{
constexpr LONG kCompileTimeout = 3000;
}

CMethodChooseDlg::CMethodChooseDlg(CWnd* pParent) : CDialog(IDD_METHOD_CHOOSE, pParent) {}

CMethodChooseDlg::~CMethodChooseDlg()
{
    m_pScript.reset();
    if (m_pHost)
        m_pHost->ExternalRelease();
}

CString CMethodChooseDlg::ReadScriptText(const CString& strPath)
{
    // The reader tells UTF-16 (with its mark) from multibyte text; either way lines come whole.
    CStdioFileEx file;
    if (!file.Open(AfxResolvePathCase(strPath), CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return CString();
    CString text;
    try
    {
        CString line;
        for (bool first = true; file.ReadString(line); first = false)
        {
            if (!first)
                text += L"\r\n";
            text += line;
        }
    }
    catch (CException* e)
    {
        e->Delete();
        text.Empty();
    }
    file.Close();
    return text;
}

void CMethodChooseDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_METHOD_COMBO, m_combo);
}

BOOL CMethodChooseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OleInitialize(nullptr);
    m_methods.RemoveAll();
    try
    {
        m_pScript = std::make_unique<CScriptObject>();
    }
    catch (...)
    {
        m_pScript.reset();
    }
    if (!m_pHost)
        m_pHost = new CNewMethodHost;
    if (m_pScript)
    {
        m_pScript->AddObject(L"app", m_pHost->GetIDispatch(FALSE), TRUE);
        // Listing the procedures runs the script's top-level code: a script that loops there must
        // not hang the editor, so it gets a limit.
        m_pScript->SetTimeout(kCompileTimeout);
    }

    CString text;
    const CString scripts = behaviour::ScriptFolder();
    if (!m_strScriptPath.IsEmpty())
    {
        text = ReadScriptText(m_strScriptPath);
    }
    else if (!scripts.IsEmpty() && !m_strScriptFile.IsEmpty())
    {
        const int dot = m_strScriptFile.ReverseFind(L'.');
        CString ext = dot < 0 ? CString() : m_strScriptFile.Mid(dot + 1);
        ext.Trim();
        ext.MakeLower();
        const CString path = scripts + m_strScriptFile;
        CFileStatus status;
        if (ext == L"uscp" && CFile::GetStatus(path, status))
            text = ReadScriptText(path);
    }

    CComboBox* combo = m_combo.GetSafeHwnd() ? &m_combo : nullptr;
    if (!m_pScript || !m_pScript->AddScript(text))
    {
        const CString error =
            m_pScript ? CString(m_pScript->GetErrorString()) : CString(L"Error: no script engine");
        AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
    }
    else
    {
        m_pScript->GetMethodsName();
        for (int i = 0; i < m_pScript->GetMethodsCount(); ++i)
        {
            const CString name = m_pScript->GetNameAt(i);
            m_methods.Add(name);
            if (combo)
                combo->AddString(name);
        }
        if (combo && !m_strMethod.IsEmpty())
            behaviour::SelectExact(*combo, m_strMethod);
    }
    if (m_bTestMode)
        SetDlgItemText(IDC_METHOD_PROMPT,
                       L"If you cann't find errors when opening this dialog, it means the script works.");
    return TRUE;
}

void CMethodChooseDlg::OnOK()
{
    if (CComboBox* combo = m_combo.GetSafeHwnd() ? &m_combo : nullptr)
    {
        const int sel = combo->GetCurSel();
        if (sel >= 0)
            combo->GetLBText(sel, m_strMethod);
        if (m_strMethod.IsEmpty() && !m_bTestMode)
        {
            AfxMessageBox(IDS_METHOD_NONE, MB_OK | MB_ICONINFORMATION);
            combo->SetFocus();
            return;
        }
    }
    CDialog::OnOK();
}

void CMethodChooseDlg::OnDestroy()
{
    m_pScript.reset();
    CDialog::OnDestroy();
    OleUninitialize();
}
