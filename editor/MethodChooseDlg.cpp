#include "editor/MethodChooseDlg.h"

#include "com/ComBase.h"
#include "editor/FOProjectApp.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "model/ScriptObject.h"
#include "symbols/NewMethodHost.h"

#include <QFile>

#include <string>

CMethodChooseDlg::CMethodChooseDlg(CWnd* pParent) : CDialog(IDD_METHOD_CHOOSE, pParent) {}

CMethodChooseDlg::~CMethodChooseDlg()
{
    m_pScript.reset();
    if (m_pHost)
        m_pHost->ExternalRelease();
}

CString CMethodChooseDlg::ReadScriptText(const CString& strPath)
{
    QFile file(QString::fromStdWString(AfxResolvePathCase(strPath).GetString()));
    if (!file.open(QIODevice::ReadOnly))
        return CString();
    // The whole file as UTF-16 (an odd last byte is dropped).
    const QByteArray bytes = file.readAll();
    std::u16string units(size_t(bytes.size() / 2), u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(static_cast<unsigned char>(bytes[qsizetype(2 * i)]) |
                            (static_cast<unsigned char>(bytes[qsizetype(2 * i + 1)]) << 8));
    if (!units.empty() && units.front() == u'\xFEFF')
        units.erase(0, 1);
    const size_t nul = units.find(u'\0');
    if (nul != std::u16string::npos)
        units.resize(nul);
    return CString(QString::fromStdU16String(units).toStdWString().c_str());
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
        m_pScript->SetTimeout(-1);
    }

    CString text;
    CFOProjectApp* app = AfxGetProjectApp();
    if (!m_strScriptPath.IsEmpty())
    {
        text = ReadScriptText(m_strScriptPath);
    }
    else if (app && app->IsProjectLoaded() && !m_strScriptFile.IsEmpty())
    {
        CString ext = CFOProjectApp::GetFileExtension(m_strScriptFile);
        ext.Trim();
        ext.MakeLower();
        const CString path = app->GetScriptFilesPath() + m_strScriptFile;
        if (ext == L"uscp" && CFOProjectApp::IsFileExist(path))
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
            combo->SelectString(-1, m_strMethod);
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
            AfxMessageBox(L"You must select at least one method", MB_OK | MB_ICONINFORMATION);
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
