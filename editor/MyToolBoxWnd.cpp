#include "editor/MyToolBoxWnd.h"

#include "editor/MainFrame.h"
#include "editor/NewOpenPageDlg.h"
#include "editor/ToolBoxIndex.h"
#include "figkit/FORenameDlg.h"
#include "foundation/PathUtils.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"

IMPLEMENT_DYNCREATE(CMyToolBoxPageWnd, CFOToolBoxPageWnd)
IMPLEMENT_DYNCREATE(CMyToolBoxWnd, CFOMultiToolBoxWnd)

BEGIN_MESSAGE_MAP(CMyToolBoxWnd, CFOMultiToolBoxWnd)
ON_COMMAND(ID_TOOLBOX_NEW_PAGE, &CMyToolBoxWnd::OnNewPage)
ON_COMMAND(ID_TOOLBOX_OPEN_PAGE, &CMyToolBoxWnd::OnOpenPage)
ON_COMMAND(ID_TOOLBOX_SAVE_PAGE, &CMyToolBoxWnd::OnSavePage)
ON_COMMAND(ID_TOOLBOX_CLOSE_PAGE, &CMyToolBoxWnd::OnClosePage)
END_MESSAGE_MAP()

namespace
{
CString LoadText(UINT nID, LPCWSTR lpszFallback)
{
    CString text;
    if (!text.LoadString(nID) || text.IsEmpty())
        text = lpszFallback;
    return text;
}
} // namespace

// The page commands by the short names of their prompts, and the view styles, which the main frame
// answers (its menu does not offer them).
void CMyToolBoxWnd::OnContextMenu(CWnd*, CPoint pos)
{
    if (pos.x == -1 && pos.y == -1)
    {
        pos = CPoint(1, 1);
        ClientToScreen(&pos);
    }
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    const struct
    {
        UINT nID;
        LPCWSTR text;
    } pageCommands[] = {{ID_TOOLBOX_NEW_PAGE, L"&New"},
                        {ID_TOOLBOX_OPEN_PAGE, L"&Open..."},
                        {ID_TOOLBOX_SAVE_PAGE, L"&Save"},
                        {ID_TOOLBOX_CLOSE_PAGE, L"&Close ToolBox Page"}};
    for (const auto& c : pageCommands)
        menu.AppendMenu(MF_STRING, c.nID, c.text);
    menu.AppendMenu(MF_SEPARATOR);
    const struct
    {
        UINT nID;
        int nStyle;
        LPCWSTR text;
    } styles[] = {{ID_TOOLBOX_STYLE_ICONS_NAMES, FO_TOOLBOX_ICONS_NAMES, L"&Icons and Names"},
                  {ID_TOOLBOX_STYLE_ICONS_DETAILS, FO_TOOLBOX_ICONS_DETAILS, L"Icons and &Details"},
                  {ID_TOOLBOX_STYLE_NAMES, FO_TOOLBOX_NAMES, L"&Name"}};
    for (const auto& st : styles)
        menu.AppendMenu(MF_STRING | (GetViewStyle() == st.nStyle ? MF_CHECKED : MF_UNCHECKED), st.nID,
                        st.text);
    const UINT chosen =
        UINT(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pos.x, pos.y, this));
    if (chosen == 0)
        return;
    CWnd* target = this;
    if (chosen != ID_TOOLBOX_NEW_PAGE && chosen != ID_TOOLBOX_OPEN_PAGE && chosen != ID_TOOLBOX_SAVE_PAGE &&
        chosen != ID_TOOLBOX_CLOSE_PAGE)
        target = AfxGetMainWnd();
    if (target)
        target->SendMessage(WM_COMMAND, chosen, 0);
}

BOOL CMyToolBoxPageWnd::SavePageAs()
{
    CFOToolBoxPage* page = GetPage();
    if (!page)
        return FALSE;
    if (!page->GetFilePath().IsEmpty())
    {
        page->SetModifyFlag(TRUE);
        return SaveFile();
    }
    auto* toolBox = dynamic_cast<CMyToolBoxWnd*>(GetToolBox());
    if (!toolBox)
        return FALSE;
    toolBox->SaveNewPage(this);
    return TRUE;
}

CMyToolBoxWnd::CMyToolBoxWnd() : m_strFolder(CToolBoxIndex::GetProgramToolBoxFolder()) {}

CMyToolBoxWnd::~CMyToolBoxWnd() = default;

void CMyToolBoxWnd::SetToolBoxFolder(const CString& strFolder)
{
    m_strFolder = strFolder;
    if (!m_strFolder.IsEmpty() && !CPathUtils::IsSeparator(m_strFolder[m_strFolder.GetLength() - 1]))
        m_strFolder += L'/';
}

CFOToolBoxPageWnd* CMyToolBoxWnd::CreatePageWnd()
{
    return new CMyToolBoxPageWnd;
}

BOOL CMyToolBoxWnd::HasPageExtension(const CString& strName)
{
    return strName.GetLength() >= 4 && strName.Right(4).CompareNoCase(L".trs") == 0;
}

BOOL CMyToolBoxWnd::IsUsablePageName(const CString& strName)
{
    if (strName.IsEmpty() || strName.FindOneOf(L"/\\") >= 0 || strName.Find(L"..") >= 0)
        return FALSE;
    // A name that is only the extension names no page.
    return !(HasPageExtension(strName) && strName.GetLength() == 4);
}

CString CMyToolBoxWnd::FileNameOf(const CString& strPath)
{
    for (int i = strPath.GetLength() - 1; i >= 0; --i)
        if (CPathUtils::IsSeparator(strPath[i]))
            return strPath.Mid(i + 1);
    return strPath;
}

void CMyToolBoxWnd::GetOpenCaptions(std::vector<CString>& captions) const
{
    for (int i = GetPageCount() - 1; i >= 0; --i)
    {
        CString caption = GetPage(i)->GetObjectCaption();
        caption.MakeLower();
        caption.Trim();
        captions.push_back(caption);
    }
}

void CMyToolBoxWnd::OnNewPage()
{
    AddPage(LoadText(IDS_TOOLBOX_NEW_PAGE, L"New"), TRUE);
}

BOOL CMyToolBoxWnd::RemoveActivePage()
{
    if (GetActiveIndex() == -1 || GetPageCount() < 2)
        return FALSE;
    return RemovePage(GetActiveIndex());
}

void CMyToolBoxWnd::OnClosePage()
{
    CFOToolBoxPage* page = GetCurrentPage();
    if (!page)
        return;
    if (page->GetFilePath().IsEmpty())
    {
        RemoveActivePage();
        return;
    }
    // The index line names the file the page came from or went to.
    const CString fileName = FileNameOf(page->GetFilePath());
    if (!RemoveActivePage())
        return;
    CToolBoxIndex::RemoveEntry(m_strFolder, fileName);
}

BOOL CMyToolBoxWnd::AskPageName(CString& strCaption, CString& strFileName, const CString& strInitial) const
{
    CString initial = strInitial;
    for (;;)
    {
        CFORenameDlg dlg;
        dlg.m_strName = initial;
        if (dlg.DoModal() != IDOK)
            return FALSE;
        CString name = dlg.m_strName;
        name.Trim();
        initial = name;
        if (!IsUsablePageName(name))
        {
            AfxMessageBox(LoadText(IDS_TOOLBOX_BAD_NAME,
                                   L"A page name may not be empty or contain \"/\", \"\\\" or \"..\"."),
                          MB_OK | MB_ICONINFORMATION);
            continue;
        }
        if (HasPageExtension(name))
        {
            strCaption = name.Left(name.GetLength() - 4);
            strFileName = name;
        }
        else
        {
            strCaption = name;
            strFileName = name + L".trs";
        }
        // A page never replaces another page's file: the name is asked again.
        if (CPathUtils::Exists(m_strFolder + strFileName))
            continue;
        return TRUE;
    }
}

BOOL CMyToolBoxWnd::SaveNewPage(CFOToolBoxPageWnd* pPageWnd)
{
    CString caption, fileName;
    if (!pPageWnd || !pPageWnd->GetPage() || !AskPageName(caption, fileName))
        return FALSE;
    if (!pPageWnd->SaveResFile(m_strFolder + fileName))
    {
        AfxMessageBox(LoadText(IDS_TOOLBOX_NOT_WRITTEN, L"The toolbox page could not be written: ") +
                          m_strFolder + fileName,
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    pPageWnd->GetPage()->SetObjectCaption(caption);
    // The caption button shows the new name even when nothing moved.
    RecalcLayout();
    Invalidate();
    CToolBoxIndex::AppendEntry(m_strFolder, fileName, FALSE);
    return TRUE;
}

void CMyToolBoxWnd::OnSavePage()
{
    CFOToolBoxPage* page = GetCurrentPage();
    CFOToolBoxPageWnd* pageWnd = GetToolBoxWnd();
    if (!page || !pageWnd)
        return;
    if (!page->GetFilePath().IsEmpty())
    {
        page->SetModifyFlag(TRUE);
        if (!pageWnd->SaveFile())
            AfxMessageBox(LoadText(IDS_TOOLBOX_NOT_WRITTEN, L"The toolbox page could not be written: ") +
                              page->GetFilePath(),
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SaveNewPage(pageWnd);
}

BOOL CMyToolBoxWnd::LoadPageFile(const CString& strFileName)
{
    AddPage(LoadText(IDS_TOOLBOX_NEW_PAGE, L"New"), TRUE);
    CFOToolBoxPageWnd* pageWnd = GetToolBoxWnd();
    const BOOL loaded = pageWnd && pageWnd->LoadResFile(m_strFolder + strFileName);
    if (CFOToolBoxPage* page = GetCurrentPage())
        page->SetObjectCaption(HasPageExtension(strFileName) ? strFileName.Left(strFileName.GetLength() - 4)
                                                             : strFileName);
    if (RecalcLayout() && GetSafeHwnd())
        Invalidate();
    return loaded;
}

void CMyToolBoxWnd::OnOpenPage()
{
    CNewOpenPageDlg dlg(this);
    GetOpenCaptions(dlg.m_arOpenCaptions);
    if (dlg.DoModal() != IDOK || dlg.m_strChosen.IsEmpty())
        return;
    const CString fileName = dlg.m_strChosen + L".trs";
    if (!LoadPageFile(fileName))
    {
        // A damaged file opens nothing and stays out of the index.
        RemovePage(GetActiveIndex());
        if (RecalcLayout() && GetSafeHwnd())
            Invalidate();
        AfxMessageBox(LoadText(IDS_TOOLBOX_NOT_READ, L"The toolbox page could not be read: ") + m_strFolder +
                          fileName,
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    CToolBoxIndex::AppendEntry(m_strFolder, fileName, TRUE);
}

int CMyToolBoxWnd::OpenIndexedPages()
{
    int opened = 0;
    for (const CToolBoxIndex::Entry& entry : CToolBoxIndex::ReadEntries(m_strFolder))
    {
        // Names from the file are held to the same rule as typed ones: nothing outside the folder.
        if (!IsUsablePageName(entry.strFileName))
            continue;
        if (LoadPageFile(entry.strFileName))
            ++opened;
        else
            RemovePage(GetActiveIndex());
    }
    if (GetPageCount() == 0)
        OnNewPage();
    else
        SetActivePage(0);
    return opened;
}
