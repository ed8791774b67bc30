#include "editor/NewOpenPageDlg.h"

#include "editor/MyToolBoxWnd.h"
#include "figkit/FORenameDlg.h"
#include "figkit/FOToolBoxPage.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"

#include <QFileDialog>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>

BEGIN_MESSAGE_MAP(CNewOpenPageDlg, CDialog)
ON_LBN_SELCHANGE(IDC_PAGE_FILE_LIST, &CNewOpenPageDlg::OnSelChange)
ON_LBN_DBLCLK(IDC_PAGE_FILE_LIST, &CNewOpenPageDlg::OnOK)
ON_BN_CLICKED(IDC_PAGE_DELETE, &CNewOpenPageDlg::OnDeleteFile)
ON_BN_CLICKED(IDC_PAGE_IMPORT, &CNewOpenPageDlg::OnImportFile)
END_MESSAGE_MAP()

namespace
{
CString SelectFileText()
{
    CString text;
    if (!text.LoadString(IDS_TOOLBOX_SELECT_FILE) || text.IsEmpty())
        text = L"Please select a file for openning...";
    return text;
}

// Month, day and year of a time in local time; zeros when it cannot be converted.
void LocalDate(__int64 seconds, unsigned& month, unsigned& day, unsigned& year)
{
    month = day = year = 0;
    const std::time_t t = std::time_t(seconds);
    std::tm tm{};
    if (seconds <= 0 || !localtime_r(&t, &tm))
        return;
    month = unsigned(tm.tm_mon + 1);
    day = unsigned(tm.tm_mday);
    year = unsigned(tm.tm_year + 1900);
}

} // namespace

CListBox* CNewOpenPageDlg::GetList()
{
    return m_list.GetSafeHwnd() ? &m_list : nullptr;
}

CString CNewOpenPageDlg::GetSelectedName()
{
    CListBox* list = GetList();
    CString text;
    if (list && list->GetCurSel() >= 0)
        list->GetText(list->GetCurSel(), text);
    return text;
}

void CNewOpenPageDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PAGE_FILE_LIST, m_list);
}

CNewOpenPageDlg::CNewOpenPageDlg(const CMyToolBoxWnd* pToolBox, CWnd* pParent)
    : CDialog(IDD_OPEN_TOOLBOX_PAGE, pParent), m_pToolBox(pToolBox)
{
}

CNewOpenPageDlg::~CNewOpenPageDlg() = default;

BOOL CNewOpenPageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bInitialized = TRUE;
    FillList();
    CRect place(10, 10, 200, 200);
    if (CWnd* holder = GetDlgItem(IDC_PAGE_PREVIEW))
    {
        holder->GetWindowRect(&place);
        ScreenToClient(&place);
        holder->ShowWindow(SW_HIDE);
    }
    m_pPreview = std::make_unique<CMyToolBoxWnd>();
    m_pPreview->SetToolBoxFolder(m_pToolBox ? m_pToolBox->GetToolBoxFolder() : CString());
    if (m_pPreview->Create(this, place, IDC_PAGE_PREVIEW, WS_CHILD | WS_VISIBLE | WS_BORDER))
        m_pPreview->AddPage(L"New Page1", TRUE);
    ShowSelected();
    return TRUE;
}

void CNewOpenPageDlg::OnDestroy()
{
    if (m_pPreview && m_pPreview->GetSafeHwnd())
        m_pPreview->DestroyWindow();
    m_pPreview.reset();
    CDialog::OnDestroy();
}

void CNewOpenPageDlg::FillList()
{
    CListBox* list = GetList();
    if (!list || !m_pToolBox)
        return;
    list->ResetContent();
    std::vector<CString> titles;
    std::error_code ec;
    const std::filesystem::path folder(m_pToolBox->GetToolBoxFolder().ToUtf8());
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        const CString name = CString::FromUtf8(it->path().filename().string());
        if (!CMyToolBoxWnd::HasPageExtension(name) || name.GetLength() == 4)
            continue;
        const CString title = name.Left(name.GetLength() - 4);
        CString key = title;
        key.MakeLower();
        key.Trim();
        if (std::find(m_arOpenCaptions.begin(), m_arOpenCaptions.end(), key) == m_arOpenCaptions.end())
            titles.push_back(title);
    }
    std::sort(titles.begin(), titles.end(),
              [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
    for (const CString& title : titles)
        list->AddString(title);
    if (list->GetCount() > 0)
        list->SetCurSel(0);
}

void CNewOpenPageDlg::ShowSelected()
{
    const CString name = GetSelectedName();
    if (name.IsEmpty() || !m_pToolBox)
    {
        SetDlgItemText(IDC_PAGE_INFO, L"");
        return;
    }
    const CString path = m_pToolBox->GetToolBoxFolder() + name + L".trs";
    CFileStatus status;
    if (!CFile::GetStatus(path, status))
        status = CFileStatus();
    unsigned cm = 0, cd = 0, cy = 0, am = 0, ad = 0, ay = 0;
    LocalDate(status.m_ctime, cm, cd, cy);
    LocalDate(status.m_atime, am, ad, ay);
    CString info;
    info.Format(L"Create Time: %u/%u/%u\nAccess Time: %u/%u/%u\n", cm, cd, cy, am, ad, ay);
    SetDlgItemText(IDC_PAGE_INFO, info);
    if (!m_pPreview || !m_pPreview->GetToolBoxWnd())
        return;
    CFOToolBoxPageWnd* pageWnd = m_pPreview->GetToolBoxWnd();
    if (CFOToolBoxPage* page = pageWnd->GetPage())
        page->RemoveAllItems();
    pageWnd->LoadResFile(path);
    if (CFOToolBoxPage* page = m_pPreview->GetCurrentPage())
        page->SetObjectCaption(name);
    m_pPreview->RecalcLayout();
    m_pPreview->Invalidate();
    pageWnd->Invalidate();
}

void CNewOpenPageDlg::OnSelChange()
{
    ShowSelected();
}

void CNewOpenPageDlg::OnOK()
{
    const CString name = GetSelectedName();
    if (name.IsEmpty())
    {
        if (CWnd* list = GetDlgItem(IDC_PAGE_FILE_LIST))
            list->SetFocus();
        AfxMessageBox(SelectFileText(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_strChosen = name;
    EndDialog(IDOK);
}

void CNewOpenPageDlg::OnDeleteFile()
{
    const CString name = GetSelectedName();
    if (name.IsEmpty())
    {
        AfxMessageBox(SelectFileText(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    const CString question =
        name + L".trs\nDo you really need to delete this file from disk? \n Warning: The deleted "
               L"file cann't be recovered. It is deleted from disk. ";
    if (AfxMessageBox(question, MB_YESNO | MB_ICONINFORMATION) != IDYES || !m_pToolBox)
        return;
    try
    {
        CFile::Remove(m_pToolBox->GetToolBoxFolder() + name + L".trs");
    }
    catch (CException* e)
    {
        e->ReportError();
        e->Delete();
    }
    FillList();
    ShowSelected();
}

void CNewOpenPageDlg::OnImportFile()
{
    if (!m_pToolBox)
        return;
    AfxModalRequest request;
    request.kind = AfxModalKind::FileDialog;
    request.pParent = this;
    request.bOpenFileDialog = TRUE;
    request.strDefExt = L"trs";
    request.strFilter = L"ToolBox page file (*.trs)|*.trs||";
    CString source;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK || request.paths.empty())
            return;
        source = request.paths.front();
    }
    else
    {
        const QString chosen = QFileDialog::getOpenFileName(GetWidget(), QString(), QString(),
                                                            QStringLiteral("ToolBox page file (*.trs)"));
        if (chosen.isEmpty())
            return;
        source = CString::FromUtf8(chosen.toStdString());
    }
    CString title = CMyToolBoxWnd::FileNameOf(source);
    if (CMyToolBoxWnd::HasPageExtension(title))
        title.Truncate(title.GetLength() - 4);
    CString caption, fileName;
    if (!m_pToolBox->AskPageName(caption, fileName, title))
        return;
    CFOToolBoxPage page;
    if (!page.OpenDocument(source) || !page.SaveDocument(m_pToolBox->GetToolBoxFolder() + fileName))
    {
        AfxMessageBox(L"The toolbox page could not be imported: " + source, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    FillList();
    if (CListBox* list = GetList())
        list->SelectString(-1, fileName.Left(fileName.GetLength() - 4));
    ShowSelected();
}

void CNewOpenPageDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (!m_bInitialized)
        return;
    CWnd* list = GetDlgItem(IDC_PAGE_FILE_LIST);
    if (!list)
        return;
    CRect rc;
    list->GetWindowRect(&rc);
    const int listWidth = rc.Width();
    // A margin of four dialog units.
    CRect margin(0, 0, 4, 4);
    MapDialogRect(&margin);
    list->MoveWindow(10, 90, listWidth, std::max(10, cy - margin.bottom - 92));
    if (m_pPreview && m_pPreview->GetSafeHwnd())
        m_pPreview->MoveWindow(listWidth + 20, 10, std::max(10, cx - listWidth - margin.right - 20),
                               std::max(10, cy - margin.bottom - 10));
}
