#include "editor/NewProjectWizard.h"

#include "editor/ProjectDialogs.h"
#include "mfc/ModalHook.h"
#include "mfc/Notify.h"
#include "win32/Shell.h"

namespace
{
// Enter never presses a wizard button.
BOOL SwallowEnter(const MSG* pMsg)
{
    return pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN;
}
} // namespace

// --- Page 0: template, name and location --------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNewProjectPage0, CNewWizPage)
ON_EN_CHANGE(1234, &CNewProjectPage0::OnNameChanged)
ON_EN_CHANGE(1235, &CNewProjectPage0::OnNameChanged)
ON_NOTIFY(NM_CLICK, 1233, &CNewProjectPage0::OnTemplateClick)
ON_NOTIFY(NM_DBLCLK, 1233, &CNewProjectPage0::OnTemplateDblClk)
ON_BN_CLICKED(1130, &CNewProjectPage0::OnBrowse)
END_MESSAGE_MAP()

CNewProjectPage0::CNewProjectPage0(CNewWizDialog* pWizard) : CNewWizPage(IDD_NEW_PROJECT_PAGE0, pWizard) {}

void CNewProjectPage0::DoDataExchange(CDataExchange* pDX)
{
    CNewWizPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1233, m_List);
    DDX_Text(pDX, 1235, m_strLocation);
}

BOOL CNewProjectPage0::PreTranslateMessage(MSG* pMsg)
{
    return SwallowEnter(pMsg) || CNewWizPage::PreTranslateMessage(pMsg);
}

CString CNewProjectPage0::PathLabel(const CString& strLocation, const CString& strName)
{
    return L"Path:" + strLocation + strName;
}

BOOL CNewProjectPage0::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    m_List.InsertColumn(0, L"Name", LVCFMT_LEFT, 200);
    m_List.InsertColumn(1, L"Path", LVCFMT_LEFT, 400);
    const int empty = m_List.InsertItem(0, L"Empty Project");
    m_List.SetItemData(empty, NEW_PROJECT_EMPTY);
    FillTemplates();
    for (int i = 0; i < m_List.GetItemCount(); ++i)
        if (m_List.GetItemData(i) == NEW_PROJECT_EMPTY)
            m_List.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    // The default location: the User folder, made when it is missing.
    m_strLocation = CProjectFiles::AsFolder(m_strUserFolder);
    if (!CProjectFiles::IsDirectory(m_strLocation))
        CProjectFiles::CreateDirectoryTree(m_strLocation);
    UpdateData(FALSE);
    OnNameChanged();
    if (CWnd* name = GetDlgItem(1234))
        name->SetFocus();
    return TRUE;
}

void CNewProjectPage0::FillTemplates()
{
    // One entry per ".dcp" of each template folder, inserted at the folder's position.
    std::vector<Win32FolderEntry> folders;
    if (m_strTemplateFolder.IsEmpty() ||
        !Win32ListFolder(CProjectFiles::AsFolder(m_strTemplateFolder).str(), folders))
        return;
    int position = 0;
    for (const Win32FolderEntry& folder : folders)
    {
        if (!folder.bDirectory)
            continue;
        const CString sub = CProjectFiles::AsFolder(m_strTemplateFolder) + CString(folder.name) + L"/";
        std::vector<Win32FolderEntry> files;
        Win32ListFolder(sub.str(), files);
        for (const Win32FolderEntry& file : files)
        {
            const CString name(file.name);
            if (file.bDirectory || CProjectFiles::GetFileExtension(name).CompareNoCase(L"dcp") != 0)
                continue;
            const int item = m_List.InsertItem(position, name.Left(name.GetLength() - 4));
            m_List.SetItemText(item, 1, sub + name);
            m_List.SetItemData(item, NEW_PROJECT_TEMPLATE);
        }
        ++position;
    }
}

void CNewProjectPage0::OnNameChanged()
{
    CString location, name;
    GetDlgItemText(1235, location);
    GetDlgItemText(1234, name);
    SetDlgItemText(1236, PathLabel(location, name));
}

void CNewProjectPage0::OnTemplateClick(NMHDR*, LRESULT* pResult)
{
    for (int i = 0; i < m_List.GetItemCount(); ++i)
        if (m_List.GetItemState(i, LVIS_SELECTED))
        {
            m_nTemplateKind = int(m_List.GetItemData(i));
            CString tip;
            tip.LoadString(30041);
            SetDlgItemText(1074, tip);
            break;
        }
    if (pResult)
        *pResult = 0;
}

void CNewProjectPage0::OnTemplateDblClk(NMHDR*, LRESULT* pResult)
{
    if (pResult)
        *pResult = 0;
}

void CNewProjectPage0::OnBrowse()
{
    UpdateData(TRUE);
    const CString folder = ChooseFolderWithSlash(this, L"Path setting...", m_strLocation);
    if (folder.IsEmpty())
        return;
    m_strLocation = folder;
    UpdateData(FALSE);
    OnNameChanged();
}

LRESULT CNewProjectPage0::Refuse(int nIDFocus, UINT nIDMessage)
{
    if (CWnd* w = GetDlgItem(nIDFocus))
        w->SetFocus();
    if (nIDMessage)
        AfxMessageBox(nIDMessage, MB_ICONINFORMATION);
    return -1;
}

LRESULT CNewProjectPage0::OnWizardNext()
{
    int sel = -1;
    for (int i = 0; i < m_List.GetItemCount() && sel < 0; ++i)
        if (m_List.GetItemState(i, LVIS_SELECTED))
            sel = i;
    if (sel < 0)
        return Refuse(1233, 30042);
    m_nTemplateKind = int(m_List.GetItemData(sel));
    m_strTemplate = m_List.GetItemText(sel, 0);
    m_strTemplatePath = m_List.GetItemText(sel, 1);
    CString name;
    GetDlgItemText(1234, name);
    name.Trim();
    m_strProjectName = name;
    if (name.IsEmpty())
        return Refuse(1234, 30043);
    if (m_nTemplateKind == NEW_PROJECT_TEMPLATE && m_strTemplate.IsEmpty())
        return Refuse(1233, 30043);
    if (!CProjectFiles::IsValidProjectName(name))
        return Refuse(1234, 30045);
    GetDlgItemText(1235, m_strLocation);
    if (m_strLocation.IsEmpty())
        return Refuse(1235, 0);
    // The project goes into <location>/<name>/: a folder already there is another project.
    CNewProjectValues v;
    v.strLocation = m_strLocation;
    v.strName = name;
    if (CProjectFiles::IsFileExist(CProjectCreator::ProjectFolder(v)) ||
        CProjectFiles::IsFileExist(CProjectFiles::AsFolder(m_strLocation) + name + L".dcp"))
        return Refuse(1234, 30046);
    return 0;
}

// --- Page 1: default screen ---------------------------------------------------------------------------

CNewProjectPage1::CNewProjectPage1(CNewWizDialog* pWizard) : CNewWizPage(IDD_NEW_PROJECT_PAGE1, pWizard) {}

void CNewProjectPage1::DoDataExchange(CDataExchange* pDX)
{
    CNewWizPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1103, m_spinWidth);
    DDX_Control(pDX, 1105, m_spinHeight);
    DDX_Text(pDX, 1108, m_nWidth);
    DDV_MinMaxInt(pDX, m_nWidth, 100, 10000);
    DDX_Text(pDX, 1104, m_nHeight);
    DDV_MinMaxInt(pDX, m_nHeight, 100, 10000);
    DDX_Check(pDX, 1094, m_bRuler);
    DDX_Control(pDX, 1107, m_btnColor);
    if (pDX->m_bSaveAndValidate)
        m_crBack = m_btnColor.GetColor();
}

BOOL CNewProjectPage1::PreTranslateMessage(MSG* pMsg)
{
    return SwallowEnter(pMsg) || CNewWizPage::PreTranslateMessage(pMsg);
}

BOOL CNewProjectPage1::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    for (auto [spin, value] : {std::pair{&m_spinWidth, m_nWidth}, std::pair{&m_spinHeight, m_nHeight}})
    {
        spin->SetBase(10);
        spin->SetRange32(100, 10000);
        spin->SetPos32(value);
    }
    m_btnColor.SetColor(m_crBack);
    return TRUE;
}

LRESULT CNewProjectPage1::OnWizardNext()
{
    return UpdateData(TRUE) ? 0 : -1;
}

// --- Page 3: author -----------------------------------------------------------------------------------

CNewProjectPage3::CNewProjectPage3(CNewWizDialog* pWizard) : CNewWizPage(IDD_NEW_PROJECT_PAGE3, pWizard) {}

void CNewProjectPage3::DoDataExchange(CDataExchange* pDX)
{
    CNewWizPage::DoDataExchange(pDX);
    DDX_Text(pDX, 1239, m_strDescription);
    DDX_Text(pDX, 1032, m_strAuthor);
    DDX_Text(pDX, 1033, m_strDepartment);
    DDX_Text(pDX, 1053, m_strEMail);
    DDX_Text(pDX, 1054, m_strURL);
    DDX_Text(pDX, 1023, m_strCompany);
    DDX_Text(pDX, 1024, m_strCopyright);
}

BOOL CNewProjectPage3::PreTranslateMessage(MSG* pMsg)
{
    return SwallowEnter(pMsg) || CNewWizPage::PreTranslateMessage(pMsg);
}

BOOL CNewProjectPage3::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    UpdateData(FALSE);
    SetDlgItemText(1032, L"Author Name");
    SetDlgItemText(1023, L"Author Company Name");
    SetDlgItemText(1024, L"(C)Copyright ? 2000,All Rights Reversed");
    return TRUE;
}

void CNewProjectPage3::OnSetActive()
{
    if (auto* main = dynamic_cast<CNewProjectMain*>(GetWizard()))
        m_nWizardValue = main->m_nWizardValue;
}

BOOL CNewProjectPage3::OnWizardFinish()
{
    return UpdateData(TRUE);
}

// --- The wizard ---------------------------------------------------------------------------------------

CNewProjectMain::CNewProjectMain(CWnd* pParent) : CNewWizDialog(IDD_NEW_PROJECT, pParent) {}

void CNewProjectMain::DoDataExchange(CDataExchange* pDX)
{
    CNewWizDialog::DoDataExchange(pDX);
    DDX_Control(pDX, ID_WIZFINISH, m_FinishButton);
    DDX_Control(pDX, ID_WIZBACK, m_BackButton);
    DDX_Control(pDX, ID_WIZNEXT, m_NextButton);
}

BOOL CNewProjectMain::OnInitDialog()
{
    SetPlaceholderID(1073);
    return CNewWizDialog::OnInitDialog();
}

CNewProjectWizard::CNewProjectWizard(const CString& strTemplateFolder, const CString& strUserFolder,
                                     CWnd* pParent)
    : m_main(pParent), m_page0(&m_main), m_page1(&m_main), m_page3(&m_main)
{
    m_page0.m_strTemplateFolder = strTemplateFolder;
    m_page0.m_strUserFolder = strUserFolder;
    m_main.AddPage(&m_page0, IDD_NEW_PROJECT_PAGE0);
    m_main.AddPage(&m_page1, IDD_NEW_PROJECT_PAGE1);
    m_main.AddPage(&m_page3, IDD_NEW_PROJECT_PAGE3);
}

BOOL CNewProjectWizard::Run()
{
    const INT_PTR result = m_main.DoModal();
    return result == ID_WIZFINISH || result == ID_WIZ_FINISH_RESULT;
}

CNewProjectValues CNewProjectWizard::Values() const
{
    CNewProjectValues v;
    v.strLocation = m_page0.m_strLocation;
    v.strName = m_page0.m_strProjectName;
    v.nTemplateKind = m_page0.m_nTemplateKind;
    v.strTemplate = m_page0.m_strTemplate;
    v.strTemplatePath = m_page0.m_strTemplatePath;
    v.nWidth = m_page1.m_nWidth;
    v.nHeight = m_page1.m_nHeight;
    v.bRuler = m_page1.m_bRuler;
    v.crBack = m_page1.m_crBack;
    v.strDescription = m_page3.m_strDescription;
    v.strAuthor = m_page3.m_strAuthor;
    v.strDepartment = m_page3.m_strDepartment;
    v.strEMail = m_page3.m_strEMail;
    v.strURL = m_page3.m_strURL;
    v.strCompany = m_page3.m_strCompany;
    v.strCopyright = m_page3.m_strCopyright;
    return v;
}
