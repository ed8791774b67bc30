#include "editor/ProjectDialogs.h"

#include "behaviour/BehaviourCommon.h"

#include "editor/ProjectServices.h"
#include "foundation/StdioFileEx.h"
#include "mfc/ModalHook.h"
#include "mfc/WaitCursor.h"
#include "win32/Files.h"
#include "win32/Shell.h"

#include <QDir>
#include <QFileDialog>

#include <utility>

// --- Folder chooser ----------------------------------------------------------------------------------

BOOL CDirDialog::DoBrowse(CWnd* pParent)
{
    CString start = m_strSelDir;
    start.TrimRight();
    if (!start.IsEmpty() && (start.Right(1) == L"\\" || start.Right(1) == L"/"))
        start = start.Left(start.GetLength() - 1);
    CString chosen;
    AfxModalRequest request;
    request.kind = AfxModalKind::FolderDialog;
    request.pParent = pParent;
    request.strText = CProjectFiles::Slashed(start);
    request.strCaption = m_strWindowTitle;
    int answer = 0;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK || request.paths.empty())
            return FALSE;
        chosen = request.paths.front();
    }
    else
    {
        const QString dir = QFileDialog::getExistingDirectory(pParent ? pParent->GetWidget() : nullptr,
                                                              QString::fromStdWString(m_strWindowTitle.str()),
                                                              QString::fromStdWString(request.strText.str()));
        if (dir.isEmpty())
            return FALSE;
        chosen = CString(dir.toStdWString());
    }
    // Only real folders count; the hook may name anything.
    if (chosen.IsEmpty() || !CProjectFiles::IsDirectory(chosen))
        return FALSE;
    CString status;
    if (!SelChanged(chosen, status))
        return FALSE;
    m_strPath = chosen;
    return TRUE;
}

CString ChooseFolderWithSlash(CWnd* pParent, const CString& strTitle, const CString& strStart)
{
    CDirDialog dlg;
    dlg.m_strWindowTitle = strTitle;
    dlg.m_strSelDir = strStart;
    if (dlg.m_strSelDir.IsEmpty())
        dlg.m_strSelDir = CString(QDir::currentPath().toStdWString());
    if (!dlg.DoBrowse(pParent))
        return CString();
    return CProjectFiles::AsFolder(dlg.m_strPath);
}

// --- Project settings --------------------------------------------------------------------------------

const SIZE CProjectSetDlg::kQuickSizes[8] = {{200, 200}, {320, 200}, {380, 200}, {400, 320},
                                             {600, 400}, {640, 480}, {756, 570}, {800, 600}};

BEGIN_MESSAGE_MAP(CProjectSetDlg, CDialog)
ON_CBN_SELCHANGE(1086, &CProjectSetDlg::OnQuickSetting)
ON_BN_CLICKED(1116, &CProjectSetDlg::OnChooseMainScreen)
END_MESSAGE_MAP()

CProjectSetDlg::CProjectSetDlg(CWnd* pParent) : CDialog(IDD_PROJECT_SET, pParent) {}

void CProjectSetDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1086, m_cbQuick);
    DDX_Control(pDX, 1006, m_spinWidth);
    DDX_Control(pDX, 1008, m_spinHeight);
    DDX_Check(pDX, 1094, m_bShowRuler);
    DDX_Check(pDX, 1095, m_bShowPageShadow);
    DDX_Text(pDX, 1117, m_strMainScreen);
    DDX_Check(pDX, 28235, m_bShowCloseBox);
    DDX_Check(pDX, 28238, m_bShowHelpBox);
    DDX_Check(pDX, 28237, m_bShowMaxBox);
    DDX_Check(pDX, 28236, m_bShowMinBox);
    DDX_Check(pDX, 28234, m_bShowTitleBar);
    DDX_Text(pDX, 1077, m_strCaption);
    DDX_Check(pDX, 28243, m_bShow3DBorder);
    DDX_Check(pDX, 1223, m_bFullScreen);
    DDX_Check(pDX, 1227, m_bAlwaysOnTop);
    // The checks run in this order: window height, window width, canvas width, canvas height.
    DDX_Text(pDX, 1007, m_nWindowHeight);
    DDV_MinMaxInt(pDX, m_nWindowHeight, 1, 5000);
    DDX_Text(pDX, 1005, m_nWindowWidth);
    DDV_MinMaxInt(pDX, m_nWindowWidth, 1, 5000);
    DDX_Text(pDX, 1092, m_nCanvasWidth);
    DDV_MinMaxInt(pDX, m_nCanvasWidth, 100, 60000);
    DDX_Text(pDX, 1093, m_nCanvasHeight);
    DDV_MinMaxInt(pDX, m_nCanvasHeight, 100, 60000);
    DDX_Control(pDX, 1097, m_btnBack);
    DDX_Control(pDX, 1098, m_btnPageBack);
    if (pDX->m_bSaveAndValidate)
    {
        m_crBack = m_btnBack.GetColor();
        m_crPageBack = m_btnPageBack.GetColor();
    }
}

BOOL CProjectSetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The spins cover the whole range the OK check allows.
    for (auto [spin, value] :
         {std::pair{&m_spinWidth, m_nWindowWidth}, std::pair{&m_spinHeight, m_nWindowHeight}})
    {
        spin->SetBase(10);
        spin->SetRange32(1, 5000);
        spin->SetPos32(value);
    }
    CString current;
    current.Format(L"%d x %d", m_nWindowWidth, m_nWindowHeight);
    int selected = -1;
    for (int i = 0; i < 8; ++i)
    {
        CString text;
        text.Format(L"%d x %d", int(kQuickSizes[i].cx), int(kQuickSizes[i].cy));
        const int index = m_cbQuick.AddString(text);
        m_cbQuick.SetItemData(index, DWORD_PTR(i));
        if (text == current)
            selected = index;
    }
    m_cbQuick.SetCurSel(selected);
    m_btnBack.SetColor(m_crBack);
    m_btnPageBack.SetColor(m_crPageBack);
    return TRUE;
}

void CProjectSetDlg::OnQuickSetting()
{
    const int sel = m_cbQuick.GetCurSel();
    if (sel < 0)
        return;
    const int i = int(m_cbQuick.GetItemData(sel));
    if (i < 0 || i >= 8)
        return;
    m_nWindowWidth = int(kQuickSizes[i].cx);
    m_nWindowHeight = int(kQuickSizes[i].cy);
    SetDlgItemInt(1005, UINT(m_nWindowWidth));
    SetDlgItemInt(1007, UINT(m_nWindowHeight));
}

void CProjectSetDlg::OnChooseMainScreen()
{
    MBScriptChooseDlg dlg(this);
    dlg.m_strValue = m_strMainScreen;
    dlg.m_bListScripts = FALSE;
    dlg.m_strProjectFolder = m_strProjectFolder;
    if (dlg.DoModal() != IDOK)
        return;
    UpdateData(TRUE);
    m_strMainScreen = dlg.m_strValue;
    UpdateData(FALSE);
}

// --- Build -------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMBBuildDlg, CDialog)
ON_BN_CLICKED(1118, &CMBBuildDlg::OnBrowse)
END_MESSAGE_MAP()

CMBBuildDlg::CMBBuildDlg(CWnd* pParent) : CDialog(IDD_MB_BUILD, pParent) {}

void CMBBuildDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1078, m_strExeName);
    DDX_Text(pDX, 1079, m_strLocation);
}

void CMBBuildDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strExeName.IsEmpty())
    {
        AfxMessageBox(30058, MB_ICONINFORMATION);
        GetDlgItem(1078)->SetFocus();
        return;
    }
    if (m_strLocation.IsEmpty())
    {
        AfxMessageBox(30059, MB_ICONINFORMATION);
        GetDlgItem(1079)->SetFocus();
        return;
    }
    EndDialog(IDOK);
}

void CMBBuildDlg::OnBrowse()
{
    UpdateData(TRUE);
    const CString folder = ChooseFolderWithSlash(this, L"Path setting...", m_strLocation);
    if (folder.IsEmpty())
        return;
    m_strLocation = folder;
    UpdateData(FALSE);
}

// --- HTML output folder ------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(COutputDlg, CDialog)
ON_BN_CLICKED(1128, &COutputDlg::OnBrowse)
END_MESSAGE_MAP()

COutputDlg::COutputDlg(CWnd* pParent) : CDialog(IDD_OUTPUT, pParent) {}

void COutputDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1083, m_strPath);
}

void COutputDlg::OnBrowse()
{
    CDirDialog dlg;
    dlg.m_strWindowTitle = L"Select Directory";
    if (!dlg.DoBrowse(nullptr))
        return;
    SetDlgItemText(1083, CProjectFiles::AsFolder(dlg.m_strPath));
}

void COutputDlg::OnOK()
{
    CString path;
    GetDlgItemText(1083, path);
    path.Trim();
    if (path.IsEmpty())
    {
        GetDlgItem(1083)->SetFocus();
        return;
    }
    path = CProjectFiles::AsFolder(path);
    if (!CProjectFiles::IsDirectory(path) && !CProjectFiles::CreateDirectoryTree(path))
    {
        AfxMessageBox(L"The folder cannot be created: please choose another one.", MB_ICONINFORMATION);
        GetDlgItem(1083)->SetFocus();
        return;
    }
    m_strPath = path;
    EndDialog(IDOK);
}

// --- Save as template --------------------------------------------------------------------------------

CSVSaveAsTemplateDlg::CSVSaveAsTemplateDlg(CWnd* pParent) : CDialog(IDD_SAVE_AS_TEMPLATE, pParent) {}

void CSVSaveAsTemplateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 32861, m_strName);
}

void CSVSaveAsTemplateDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CString name = m_strName;
    name.Trim();
    CWnd* edit = GetDlgItem(32861);
    if (name.IsEmpty())
    {
        edit->SetFocus();
        return;
    }
    // The name becomes a folder and a file name: the project-name rules hold for it.
    if (!CProjectFiles::IsValidProjectName(name))
    {
        AfxMessageBox(30045, MB_ICONINFORMATION);
        edit->SetFocus();
        return;
    }
    const CString target = CProjectFiles::AsFolder(m_strTemplateFolder) + name + L"/";
    if (CProjectFiles::IsFileExist(target))
    {
        AfxMessageBox(32872, MB_OK);
        edit->SetFocus();
        return;
    }
    CWaitCursor wait;
    if (!CProjectFiles::CreateDirectoryTree(target))
    {
        AfxMessageBox(32873, MB_OK);
        edit->SetFocus();
        return;
    }
    if (!CProjectFiles::CopyFolder(m_strProjectFolder, target))
    {
        CProjectFiles::RemoveFolderTree(target);
        AfxMessageBox(32874, MB_OK);
        return;
    }
    const CString from = target + CProjectFiles::GetFileNamePart(m_strProjectFile);
    const CString to = target + name + L".dcp";
    if (from != to)
        CProjectFiles::RenameFileSafe(from, to);
    m_strName = name;
    EndDialog(IDOK);
}

// --- Screen or script chooser ------------------------------------------------------------------------

MBScriptChooseDlg::MBScriptChooseDlg(CWnd* pParent) : CDialog(IDD_SCRIPT_CHOOSE, pParent) {}

void MBScriptChooseDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1090, m_List);
}

void MBScriptChooseDlg::AddFiles(const CString& strFolder, LPCWSTR lpszExt)
{
    std::vector<Win32FolderEntry> entries;
    if (!Win32ListFolder(strFolder.str(), entries))
        return;
    for (const Win32FolderEntry& e : entries)
        if (!e.bDirectory && CProjectFiles::GetFileExtension(CString(e.name)).CompareNoCase(lpszExt) == 0)
            m_List.AddString(CString(e.name));
}

BOOL MBScriptChooseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The template is shared with the state chooser.
    SetWindowText(L"Connect Script or Drawing");
    m_List.ResetContent();
    if (!m_strProjectFolder.IsEmpty())
    {
        const CString project = CProjectFiles::AsFolder(m_strProjectFolder);
        if (m_bListScreens && CProjectFiles::IsDirectory(project + L"XdgFiles/"))
            AddFiles(project + L"XdgFiles/", L"xdg");
        const CString scripts = project + L"ScriptFiles/";
        if (m_bListScripts && CProjectFiles::IsDirectory(scripts))
        {
            const int before = m_List.GetCount();
            AddFiles(scripts, L"uscp");
            if (m_List.GetCount() == before)
            {
                // A project without scripts gets the default one.
                CStdioFileEx file;
                if (file.Open(scripts + L"system.uscp", CFile::modeCreate | CFile::modeWrite |
                                                            CFile::typeText | CStdioFileEx::modeWriteUnicode))
                {
                    file.WriteString(CProjectCreator::SeedScript());
                    file.Close();
                }
                AddFiles(scripts, L"uscp");
            }
        }
    }
    // Only the entry equal to the value: a prefix would put another file in its place on OK.
    behaviour::SelectExact(m_List, m_strValue);
    return TRUE;
}

void MBScriptChooseDlg::OnOK()
{
    const int sel = m_List.GetCurSel();
    if (sel >= 0)
        m_List.GetText(sel, m_strValue);
    EndDialog(IDOK);
}
