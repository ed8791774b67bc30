#include "editor/EditTreeCtrl.h"

#include "editor/EditorApp.h"
#include "editor/ProjectCommands.h"
#include "editor/ProjectServices.h"
#include "mfc/DocTemplate.h"
#include "mfc/File.h"
#include "mfc/Document.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "symbols/LinkOpener.h"

#include <QUrl>

IMPLEMENT_DYNAMIC(CEditTreeCtrl, CTreeCtrl)

namespace
{
constexpr UINT IDS_NOT_SUPPORTED = 30057;
constexpr UINT IDS_ONE_SCRIPT = 32857;
constexpr UINT IDS_NO_SCRIPT_DELETE = 32891;
constexpr UINT IDS_DELETE_QUESTION = 32892;
constexpr UINT IDS_MENU_FIRST = 30073;
constexpr int kHoverTicks = 15;
const wchar_t* const kScreenExt = L".xdg";

CString LoadText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}

CWorkSpaceObj* WorkSpace()
{
    IEditorApp* app = GetEditorApp();
    return app ? app->GetWorkSpace() : nullptr;
}

BOOL ProjectOpen()
{
    IEditorApp* app = GetEditorApp();
    return app && app->IsProjectOpen();
}

CString ScriptFolder()
{
    IEditorApp* app = GetEditorApp();
    return ProjectOpen() ? app->GetProjectFolder() + L"ScriptFiles/" : CString();
}

// A command of the application, routed through the main frame.
void RunAppCommand(UINT nID)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_COMMAND, nID, 0);
}

void ExploreProjectFolder()
{
    IEditorApp* app = GetEditorApp();
    if (!ProjectOpen())
        return;
    // The folder is kept lower-cased; the desktop gets it as it is on disk.
    const CString folder = AfxResolvePathCase(app->GetProjectFolder());
    const QUrl url = QUrl::fromLocalFile(QString::fromWCharArray(folder.GetString(), folder.GetLength()));
    OpenLinkInBrowser(CString(url.toString(QUrl::FullyEncoded).toStdWString().c_str()), SW_SHOWNORMAL);
}

// Open screens of a renamed file follow it, so their next save does not bring the old file back.
void MoveOpenDocuments(const CString& strFrom, const CString& strTo)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    for (POSITION tpos = pApp->GetFirstDocTemplatePosition(); tpos;)
    {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(tpos);
        for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;)
        {
            CDocument* pDoc = pTemplate->GetNextDoc(pos);
            if (pDoc->GetPathName().CompareNoCase(strFrom) == 0)
                pDoc->SetPathName(strTo, FALSE);
        }
    }
}
} // namespace

// --- CDragData ------------------------------------------------------------------------------------------

CDragData::CDragData(CEditTreeCtrl* pTree, HTREEITEM hDragItem, BOOL bRight)
    : m_pTree(pTree), m_hOldCursor(::GetCursor()), m_hDragItem(hDragItem), m_bRight(bRight)
{
}

CDragData::~CDragData()
{
    if (m_pImage)
        DeleteDragImage();
}

void CDragData::Begin()
{
    CreateDragImage();
    m_pTree->SetCapture();
}

void CDragData::End()
{
    m_pTree->SelectDropTarget(nullptr);
    if (HTREEITEM hSel = m_pTree->GetSelectedItem())
        m_pTree->EnsureVisible(hSel);
    DeleteDragImage();
    ::SetCursor(m_hOldCursor);
    ::ReleaseCapture();
}

void CDragData::CreateDragImage()
{
    m_pImage.reset(m_pTree->CreateDragImage(m_hDragItem));
    if (!m_pImage)
        return;
    CPoint pt;
    ::GetCursorPos(&pt);
    m_pTree->ScreenToClient(&pt);
    m_pImage->BeginDrag(0, CPoint(0, 0));
    CImageList::DragEnter(m_pTree, pt);
}

void CDragData::DeleteDragImage()
{
    if (!m_pImage)
        return;
    CImageList::DragLeave(m_pTree);
    CImageList::EndDrag();
    m_pImage.reset();
}

BOOL CDragData::HoverTick(HTREEITEM hItem)
{
    if (hItem != m_hTarget)
    {
        m_nHover = 0;
        m_hTarget = hItem;
        return FALSE;
    }
    if (++m_nHover < kHoverTicks)
        return FALSE;
    m_nHover = 0;
    return TRUE;
}

// --- CMyRenameDlg ---------------------------------------------------------------------------------------

CMyRenameDlg::CMyRenameDlg(CWnd* pParent) : CDialog(IDD_TREE_RENAME, pParent) {}

BOOL CMyRenameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(L"Please enter a new state text.");
    if (CWnd* pEdit = GetDlgItem(IDC_TREE_RENAME_EDIT))
        pEdit->SetFocus();
    return FALSE;
}

void CMyRenameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TREE_RENAME_EDIT, m_strName);
}

// --- CEditTreeCtrl --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CEditTreeCtrl, CTreeCtrl)
ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CEditTreeCtrl::OnBeginLabelEdit)
ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, &CEditTreeCtrl::OnEndLabelEdit)
ON_NOTIFY_REFLECT(TVN_BEGINDRAG, &CEditTreeCtrl::OnBeginDragLeft)
ON_NOTIFY_REFLECT(TVN_BEGINRDRAG, &CEditTreeCtrl::OnBeginDragRight)
ON_NOTIFY_REFLECT(TVN_SELCHANGINGW, &CEditTreeCtrl::OnSelChanging)
ON_NOTIFY_REFLECT(NM_RCLICK, &CEditTreeCtrl::OnRClick)
ON_NOTIFY_REFLECT(NM_DBLCLK, &CEditTreeCtrl::OnDblClick)
ON_WM_CONTEXTMENU()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_COMMAND_RANGE(ID_TREE_RENAME, ID_TREE_PUBLISH, &CEditTreeCtrl::OnContextCommand)
ON_COMMAND_RANGE(ID_TREE_DROP_COPY, ID_TREE_DROP_NONE, &CEditTreeCtrl::OnDropCommand)
ON_COMMAND_RANGE(ID_PARAMETER_MANAGER, ID_PARAMETER_MANAGER, &CEditTreeCtrl::OnProjectCommand)
ON_COMMAND_RANGE(ID_PROJECT_SAVE_TEMPLATE, ID_PROJECT_SAVE_TEMPLATE, &CEditTreeCtrl::OnProjectCommand)
END_MESSAGE_MAP()

CEditTreeCtrl::CEditTreeCtrl() = default;
CEditTreeCtrl::~CEditTreeCtrl() = default;

BOOL CEditTreeCtrl::CanEditLabel(HTREEITEM)
{
    return TRUE;
}
BOOL CEditTreeCtrl::CanSetLabel(TVITEM*)
{
    return TRUE;
}
BOOL CEditTreeCtrl::CanDelete(HTREEITEM)
{
    return TRUE;
}
BOOL CEditTreeCtrl::CanInsert(HTREEITEM)
{
    return TRUE;
}
BOOL CEditTreeCtrl::CanSort(HTREEITEM)
{
    return TRUE;
}
BOOL CEditTreeCtrl::CanDrag(NMTREEVIEW*)
{
    return TRUE;
}
BOOL CEditTreeCtrl::CanDrop(HTREEITEM, HTREEITEM, int)
{
    return TRUE;
}

BOOL CEditTreeCtrl::HandleKeyDown(WPARAM nKey, LPARAM)
{
    if (nKey != VK_RETURN && nKey != VK_ESCAPE)
        return FALSE;
    if (nKey == VK_ESCAPE && m_pDragData)
    {
        CancelDrag();
        return TRUE;
    }
    if (CEdit* pEdit = GetEditControl())
    {
        // The edit ends the label edit with the key (Enter keeps, Escape cancels).
        EndEditLabelNow(nKey == VK_ESCAPE);
        (void)pEdit;
        return TRUE;
    }
    return FALSE;
}

BOOL CEditTreeCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg && pMsg->message == WM_KEYDOWN && HandleKeyDown(pMsg->wParam, pMsg->lParam))
        return TRUE;
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

BOOL CEditTreeCtrl::InsertScreen(TVINSERTSTRUCT* pInsert)
{
    if (!pInsert || !CanInsert(pInsert->hParent))
        return FALSE;
    HTREEITEM hItem = InsertItem(pInsert);
    if (!hItem)
        return FALSE;
    SetItemData(hItem, TREE_ITEM_SCREEN);
    SelectItem(hItem);
    OnItemInserted(hItem);
    EditLabel(hItem);
    return TRUE;
}

BOOL CEditTreeCtrl::InsertScript(TVINSERTSTRUCT* pInsert)
{
    if (!pInsert || !CanInsert(pInsert->hParent))
        return FALSE;
    HTREEITEM hItem = InsertItem(pInsert);
    if (!hItem)
        return FALSE;
    SetItemData(hItem, TREE_ITEM_SCRIPT);
    SelectItem(hItem);
    OnItemInserted(hItem);
    EditLabel(hItem);
    return TRUE;
}

void CEditTreeCtrl::OnItemInserted(HTREEITEM) {}

void CEditTreeCtrl::SortSiblings(HTREEITEM hItem)
{
    if (!hItem)
        hItem = GetSelectedItem();
    if (!hItem || !CanSort(hItem))
        return;
    HTREEITEM hParent = GetParentItem(hItem);
    SortChildren(hParent ? hParent : TVI_ROOT);
}

void CEditTreeCtrl::SortBranch(HTREEITEM hItem)
{
    HTREEITEM hFirst = hItem ? hItem : GetRootItem();
    if (!hFirst)
        return;
    SortSiblings(hFirst);
    HTREEITEM hParent = GetParentItem(hFirst);
    for (HTREEITEM h = hParent ? GetChildItem(hParent) : GetRootItem(); h; h = GetNextSiblingItem(h))
        if (HTREEITEM hChild = GetChildItem(h))
            SortBranch(hChild);
}

BOOL CEditTreeCtrl::SortSiblingsCmd(HTREEITEM hItem)
{
    SortSiblings(hItem);
    return TRUE;
}

BOOL CEditTreeCtrl::SortBranchCmd(HTREEITEM hItem)
{
    SortBranch(hItem);
    return TRUE;
}

void CEditTreeCtrl::EditLabel(HTREEITEM hItem)
{
    if (hItem)
        CTreeCtrl::EditLabel(hItem);
}

CPoint CEditTreeCtrl::CursorPoint() const
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    return pt;
}

// --- Context menu -----------------------------------------------------------------------------------

void CEditTreeCtrl::ShowContextMenu(CPoint point)
{
    if (!ProjectOpen())
        return;
    CPoint client = point;
    ScreenToClient(&client);
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    UINT flags = 0;
    if (HTREEITEM hItem = HitTest(client, &flags))
    {
        CMenu add;
        add.CreatePopupMenu();
        HTREEITEM hParent = GetParentItem(hItem);
        if (CanInsert(hParent))
            add.AppendMenu(MF_STRING, ID_TREE_NEW_SCREEN, LoadText(IDS_MENU_FIRST + 2));
        // A project has the one script "system.uscp": "New Script" could only refuse, so it is not
        // offered.
        if (CanEditLabel(hItem))
            menu.AppendMenu(MF_STRING, ID_TREE_RENAME, LoadText(IDS_MENU_FIRST));
        if (CanDelete(hItem))
            menu.AppendMenu(MF_STRING, ID_TREE_DELETE, LoadText(IDS_MENU_FIRST + 1));
        if (add.GetMenuItemCount() > 0)
            menu.AppendMenu(MF_POPUP, UINT_PTR(add.Detach()), LoadText(IDS_MENU_FIRST + 4));
    }
    menu.AppendMenu(MF_STRING, ID_TREE_SETTINGS, LoadText(IDS_MENU_FIRST + 5));
    menu.AppendMenu(MF_STRING, ID_TREE_EXPLORE, LoadText(IDS_MENU_FIRST + 6));
    menu.AppendMenu(MF_STRING, ID_TREE_REFRESH, LoadText(IDS_MENU_FIRST + 7));
    menu.AppendMenu(MF_STRING, ID_TREE_PUBLISH, LoadText(IDS_MENU_FIRST + 8));
    AdjustContextMenu(&menu);
    if (menu.GetMenuItemCount() > 0)
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

// The project's variables and its copy as a template, which the main menu does not offer.
void CEditTreeCtrl::AdjustContextMenu(CMenu* pMenu)
{
    if (!pMenu)
        return;
    pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(MF_STRING, ID_PARAMETER_MANAGER, L"&Parameter Manager...");
    pMenu->AppendMenu(MF_STRING, ID_PROJECT_SAVE_TEMPLATE, L"Save As &Template...");
}

void CEditTreeCtrl::OnProjectCommand(UINT nID)
{
    if (ProjectOpen())
        RunAppCommand(nID);
}

void CEditTreeCtrl::OnContextCommand(UINT nID)
{
    switch (nID)
    {
    case ID_TREE_RENAME:
        AfxMessageBox(IDS_NOT_SUPPORTED, MB_OK | MB_ICONINFORMATION);
        break;
    case ID_TREE_DELETE:
        if (HTREEITEM hItem = GetSelectedItem(); hItem && GetParentItem(hItem))
        {
            if (GetItemData(hItem) == TREE_ITEM_SCREEN)
                DeleteScreen(hItem);
            else if (GetItemData(hItem) == TREE_ITEM_SCRIPT)
                DeleteScript(hItem);
        }
        break;
    case ID_TREE_NEW_SCREEN:
        NewScreen(m_pOwner ? m_pOwner->GetScreensNode() : FindItemByData(TREE_ITEM_SCREENS));
        break;
    case ID_TREE_NEW_SCRIPT:
        NewScript(m_pOwner ? m_pOwner->GetScriptsNode() : nullptr);
        break;
    case ID_TREE_SETTINGS:
        RunAppCommand(ID_PROJECT_SETTINGS);
        break;
    case ID_TREE_EXPLORE:
        ExploreProjectFolder();
        break;
    case ID_TREE_REFRESH:
        if (m_pOwner)
            m_pOwner->RefillProjectTree();
        break;
    case ID_TREE_PUBLISH:
        if (ProjectOpen())
            RunAppCommand(ID_PROJECT_BUILD);
        break;
    default:
        break;
    }
}

void CEditTreeCtrl::OnContextMenu(CWnd*, CPoint pos)
{
    ShowContextMenu(pos);
}

void CEditTreeCtrl::OnRClick(NMHDR*, LRESULT* pResult)
{
    CPoint screen;
    ::GetCursorPos(&screen);
    CPoint client = screen;
    ScreenToClient(&client);
    UINT flags = 0;
    HTREEITEM hItem = HitTest(client, &flags);
    if (hItem && (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)))
        SelectItem(hItem);
    ShowContextMenu(screen);
    if (pResult)
        *pResult = 1;
}

// --- Double click -------------------------------------------------------------------------------------

void CEditTreeCtrl::OnDblClick(NMHDR*, LRESULT* pResult)
{
    if (pResult)
        *pResult = 0;
    UINT flags = 0;
    HTREEITEM hItem = HitTest(CursorPoint(), &flags);
    if (!hItem || !(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)))
        return;
    SelectItem(hItem);
    CWinApp* pApp = AfxGetApp();
    switch (GetItemData(hItem))
    {
    case TREE_ITEM_SCREEN:
    case TREE_ITEM_SCRIPT:
    {
        const BOOL screen = GetItemData(hItem) == TREE_ITEM_SCREEN;
        const CString folder = screen ? GetEditorScreenFolder() : ScriptFolder();
        const CString path = folder + GetItemText(hItem) + (screen ? kScreenExt : L".uscp");
        if (!folder.IsEmpty() && CProjectFiles::IsFileExist(path) && pApp)
            pApp->OpenDocumentFile(path);
        break;
    }
    case TREE_ITEM_SETTINGS:
        RunAppCommand(ID_PROJECT_SETTINGS);
        break;
    case TREE_ITEM_PUBLISHER:
        if (ProjectOpen())
            RunAppCommand(ID_PROJECT_BUILD);
        break;
    case TREE_ITEM_FOLDER:
        ExploreProjectFolder();
        break;
    case TREE_ITEM_PARAMETERS:
        if (ProjectOpen())
            RunAppCommand(ID_PARAMETER_MANAGER);
        break;
    default:
        break;
    }
}

// --- Screens and scripts ------------------------------------------------------------------------------

BOOL CEditTreeCtrl::CheckScreenName(const CString& strText, CString& rFile, CString& rLabel, CString& rError)
{
    CString text = strText;
    text.Trim();
    const int ext = int(wcslen(kScreenExt));
    if (text.GetLength() >= ext && text.Right(ext).CompareNoCase(kScreenExt) == 0)
    {
        rFile = text;
        rLabel = text.Left(text.GetLength() - ext);
    }
    else
    {
        rFile = text + kScreenExt;
        rLabel = text;
    }
    rLabel.Trim();
    if (rLabel.IsEmpty())
        rError = L"Please enter a name for the screen.";
    else if (text.Find(L'/') >= 0 || text.Find(L'\\') >= 0 || text.Find(L"..") >= 0)
        rError.Format(L"The screen name '%s' cannot be used: a name may not hold '/', '\\' or '..'.",
                      static_cast<LPCWSTR>(text));
    else
        return TRUE;
    return FALSE;
}

BOOL CEditTreeCtrl::NewScript(HTREEITEM)
{
    AfxMessageBox(IDS_ONE_SCRIPT, MB_OK | MB_ICONINFORMATION);
    return FALSE;
}

BOOL CEditTreeCtrl::DeleteScript(HTREEITEM)
{
    AfxMessageBox(IDS_NO_SCRIPT_DELETE, MB_OK | MB_ICONINFORMATION);
    return FALSE;
}

BOOL CEditTreeCtrl::NewScreen(HTREEITEM hParent)
{
    const CString folder = GetEditorScreenFolder();
    if (folder.IsEmpty() || !CProjectFiles::IsDirectory(folder))
        return FALSE;
    CString file, label, path;
    for (;;)
    {
        CMyRenameDlg dlg(this);
        dlg.m_strName = L"New Screen";
        if (dlg.DoModal() != IDOK)
            return FALSE;
        CString error;
        if (!CheckScreenName(dlg.m_strName, file, label, error))
        {
            AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
            continue;
        }
        path = folder + file;
        if (!CProjectFiles::IsFileExist(path))
            break;
        CString exists;
        exists.Format(L"The screen '%s' already exists: please enter another name.",
                      static_cast<LPCWSTR>(file));
        AfxMessageBox(exists, MB_OK | MB_ICONINFORMATION);
    }
    CWorkSpaceObj defaults;
    CWorkSpaceObj* ws = WorkSpace();
    if (!CProjectCreator::WriteEmptyScreen(ws ? *ws : defaults, path))
    {
        CString failed;
        failed.Format(L"Failed to write the screen '%s'.", static_cast<LPCWSTR>(path));
        AfxMessageBox(failed, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    if (ws)
        ws->SetModified();
    TVINSERTSTRUCT insert = {};
    insert.hParent = hParent ? hParent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(label.GetString());
    insert.item.iImage = 2;
    insert.item.iSelectedImage = 2;
    return InsertScreen(&insert);
}

BOOL CEditTreeCtrl::DeleteScreen(HTREEITEM hItem)
{
    const CString folder = GetEditorScreenFolder();
    if (folder.IsEmpty() || !CProjectFiles::IsDirectory(folder) || !hItem)
        return FALSE;
    const CString label = GetItemText(hItem);
    if (label.IsEmpty())
        return FALSE;
    const CString path = folder + label + kScreenExt;
    if (!CProjectFiles::IsFileExist(path))
        return FALSE;
    if (AfxMessageBox(path + LoadText(IDS_DELETE_QUESTION), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return FALSE;
    if (!CProjectFiles::DeleteFileSafe(path))
    {
        AfxMessageBox(CString(L"Failed to delete the file ") + path + L".", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    if (CWorkSpaceObj* ws = WorkSpace())
        ws->SetModified();
    if (!CanDelete(hItem))
        return FALSE;
    DeleteItem(hItem);
    return TRUE;
}

BOOL CEditTreeCtrl::RenameScreen(HTREEITEM hItem, const CString& strOld, const CString& strNew)
{
    CString file, label, error;
    if (!CheckScreenName(strNew, file, label, error))
    {
        AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    if (label == strOld)
    {
        SetItemText(hItem, label);
        return TRUE;
    }
    const CString folder = GetEditorScreenFolder();
    const CString from = folder + strOld + kScreenExt;
    const CString to = folder + file;
    if (folder.IsEmpty() || !CProjectFiles::RenameFileSafe(from, to))
    {
        CString failed;
        failed.Format(L"The screen '%s' cannot be renamed to '%s': the file is missing or the name is taken.",
                      static_cast<LPCWSTR>(strOld), static_cast<LPCWSTR>(file));
        AfxMessageBox(failed, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    MoveOpenDocuments(from, to);
    if (CWorkSpaceObj* ws = WorkSpace())
    {
        // The project's start screen goes with its file.
        if (ws->m_strMainScreen.CompareNoCase(strOld + kScreenExt) == 0)
            ws->m_strMainScreen = file;
        ws->SetModified();
    }
    SetItemText(hItem, label);
    return TRUE;
}

void CEditTreeCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    *pResult = info && CanEditLabel(info->item.hItem) ? 0 : 1;
}

void CEditTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    *pResult = 0;
    if (!info || !info->item.pszText || !CanSetLabel(&info->item))
        return;
    HTREEITEM hItem = info->item.hItem;
    if (GetItemData(hItem) != TREE_ITEM_SCREEN)
    {
        *pResult = 1;
        return;
    }
    // A screen's label is its file's title: the file is renamed, or the label stays as it was.
    RenameScreen(hItem, GetItemText(hItem), info->item.pszText);
}

// --- Dragging -----------------------------------------------------------------------------------------

CDragData* CEditTreeCtrl::CreateDragData(HTREEITEM hItem, BOOL bRight)
{
    return new CDragData(this, hItem, bRight);
}

void CEditTreeCtrl::OnBeginDragLeft(NMHDR*, LRESULT* pResult)
{
    // Only the right button drags.
    *pResult = 0;
}

void CEditTreeCtrl::OnBeginDragRight(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    if (!nm || m_pDragData || !CanDrag(nm))
        return;
    m_pDragData.reset(CreateDragData(nm->itemNew.hItem, TRUE));
    BeginDrag();
}

void CEditTreeCtrl::BeginDrag()
{
    if (!m_pDragData)
        return;
    m_pDragData->Begin();
    SelectItem(m_pDragData->m_hDragItem);
}

void CEditTreeCtrl::OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    if (!m_pDragData || !nm || m_bMarking || nm->action == TVC_BYMOUSE || nm->action == TVC_BYKEYBOARD)
        return;
    HTREEITEM hNew = nm->itemNew.hItem;
    if (hNew && !(GetItemState(hNew, TVIS_SELECTED) & TVIS_SELECTED))
    {
        // Marking the item selected changes the selection here, which asks again.
        m_bMarking = TRUE;
        SetItemState(hNew, TVIS_SELECTED, TVIS_SELECTED);
        m_bMarking = FALSE;
        m_pDragData->DeleteDragImage();
        m_pDragData->CreateDragImage();
    }
}

BOOL CEditTreeCtrl::IsInBranch(HTREEITEM hItem, HTREEITEM hBranch) const
{
    for (HTREEITEM h = hItem; h; h = GetParentItem(h))
        if (h == hBranch)
            return TRUE;
    return FALSE;
}

HTREEITEM CEditTreeCtrl::DropTargetAt(CPoint point, int& nPosition) const
{
    UINT flags = 0;
    HTREEITEM hItem = HitTest(point, &flags);
    if (!hItem)
    {
        nPosition = (flags & TVHT_NOWHERE) ? TREE_DROP_AFTER : TREE_DROP_NONE;
        return nullptr;
    }
    if (flags & TVHT_ONITEMRIGHT)
    {
        nPosition = TREE_DROP_CHILD;
        return hItem;
    }
    HTREEITEM hLit = GetDropHilightItem();
    CRect rc;
    if (!hLit || !GetItemRect(hLit, &rc, FALSE))
    {
        nPosition = TREE_DROP_BEFORE;
        return hItem;
    }
    nPosition = point.y - rc.top <= rc.bottom - point.y ? TREE_DROP_BEFORE : TREE_DROP_AFTER;
    return hItem;
}

void CEditTreeCtrl::DragMove()
{
    if (!m_pDragData)
        return;
    const CPoint point = CursorPoint();
    int position = TREE_DROP_NONE;
    HTREEITEM hTarget = DropTargetAt(point, position);
    HTREEITEM hDrag = m_pDragData->m_hDragItem;
    if (hTarget)
    {
        CImageList::DragShowNolock(FALSE);
        SelectDropTarget(hTarget);
        if (m_pDragData->HoverTick(hTarget))
            Expand(hTarget, TVE_EXPAND);
        if (HTREEITEM hPrev = GetPrevVisibleItem(hTarget))
            EnsureVisible(hPrev);
        if (HTREEITEM hNext = GetNextVisibleItem(hTarget))
            EnsureVisible(hNext);
        if (IsInBranch(hTarget, hDrag) || !CanDrop(hDrag, hTarget, position))
            position = TREE_DROP_NONE;
        CImageList::DragShowNolock(TRUE);
        CImageList::DragMove(point);
    }
    else
    {
        m_pDragData->m_hTarget = nullptr;
        if (position != TREE_DROP_NONE && !CanDrop(hDrag, nullptr, position))
            position = TREE_DROP_NONE;
    }
    m_pDragData->m_nPosition = position;
    DragCursorHook(hTarget, position);
}

BOOL CEditTreeCtrl::DragCursorHook(HTREEITEM, int)
{
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

void CEditTreeCtrl::EndDrag(BOOL)
{
    if (!m_pDragData)
        return;
    int position = TREE_DROP_NONE;
    HTREEITEM hTarget = DropTargetAt(CursorPoint(), position);
    HTREEITEM hDrag = m_pDragData->m_hDragItem;
    if (hTarget && (IsInBranch(hTarget, hDrag) || !CanDrop(hDrag, hTarget, position)))
        position = TREE_DROP_NONE;
    m_pDragData->m_hTarget = hTarget;
    m_pDragData->m_nPosition = position;
    if (position == TREE_DROP_NONE)
    {
        CancelDrag();
        return;
    }
    CPoint screen;
    ::GetCursorPos(&screen);
    ShowDropMenu(screen);
}

void CEditTreeCtrl::CancelDrag()
{
    if (!m_pDragData)
        return;
    m_pDragData->End();
    m_pDragData.reset();
}

void CEditTreeCtrl::ShowDropMenu(CPoint point)
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING, ID_TREE_DROP_COPY, L"&Add New Screen");
    menu.AppendMenu(MF_STRING, ID_TREE_DROP_MOVE, L"Add New &Script");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_TREE_DROP_NONE, L"Open");
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CEditTreeCtrl::OnDropCommand(UINT nID)
{
    if (!m_pDragData)
        return;
    if (nID == ID_TREE_DROP_COPY || nID == ID_TREE_DROP_MOVE)
        DoDrop(m_pDragData->m_hDragItem, m_pDragData->m_hTarget, m_pDragData->m_nPosition,
               nID == ID_TREE_DROP_COPY);
    CancelDrag();
}

HTREEITEM CEditTreeCtrl::CopyBranch(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter)
{
    TVINSERTSTRUCT insert = {};
    insert.hParent = hParent ? hParent : TVI_ROOT;
    insert.hInsertAfter = hAfter;
    const CString text = GetItemText(hItem);
    int image = 0, selected = 0;
    GetItemImage(hItem, image, selected);
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPWSTR>(text.GetString());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selected;
    insert.item.stateMask = 0xFF00;
    insert.item.state = GetItemState(hItem, 0xFF00);
    insert.item.lParam = LPARAM(GetItemData(hItem));
    HTREEITEM hCopy = InsertItem(&insert);
    if (!hCopy)
        return nullptr;
    for (HTREEITEM hChild = GetChildItem(hItem); hChild; hChild = GetNextSiblingItem(hChild))
        CopyBranch(hChild, hCopy, TVI_LAST);
    return hCopy;
}

void CEditTreeCtrl::DoDrop(HTREEITEM hDragItem, HTREEITEM hTarget, int nPosition, BOOL bCopy)
{
    if (!hDragItem || nPosition == TREE_DROP_NONE || (hTarget && IsInBranch(hTarget, hDragItem)) ||
        !CanDrop(hDragItem, hTarget, nPosition))
        return;
    if (!hTarget && nPosition == TREE_DROP_AFTER)
        for (HTREEITEM h = GetRootItem(); h; h = GetNextSiblingItem(h))
            hTarget = h;
    if (!hTarget || IsInBranch(hTarget, hDragItem))
        return;
    HTREEITEM hParent = nullptr;
    HTREEITEM hAfter = TVI_LAST;
    switch (nPosition)
    {
    case TREE_DROP_AFTER:
        hParent = GetParentItem(hTarget);
        hAfter = hTarget;
        break;
    case TREE_DROP_BEFORE:
    {
        hParent = GetParentItem(hTarget);
        HTREEITEM hPrev = GetPrevSiblingItem(hTarget);
        hAfter = hPrev ? hPrev : TVI_FIRST;
        break;
    }
    default:
        hParent = hTarget;
        break;
    }
    HTREEITEM hCopy = CopyBranch(hDragItem, hParent, hAfter);
    if (!hCopy)
        return;
    SelectItem(hCopy);
    if (!bCopy)
        DeleteItem(hDragItem);
}

// --- Mouse --------------------------------------------------------------------------------------------

void CEditTreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_pDragData)
        DragMove();
    CTreeCtrl::OnMouseMove(nFlags, point);
}

void CEditTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_pDragData)
        EndDrag(TRUE);
    CTreeCtrl::OnLButtonUp(nFlags, point);
}

void CEditTreeCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!m_pDragData)
        CTreeCtrl::OnRButtonDown(nFlags, point);
}

void CEditTreeCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (m_pDragData)
        EndDrag(TRUE);
    else
        CTreeCtrl::OnRButtonUp(nFlags, point);
}

HTREEITEM CEditTreeCtrl::FindItemByData(DWORD_PTR dwData, HTREEITEM hFrom) const
{
    for (HTREEITEM h = hFrom ? hFrom : GetRootItem(); h; h = GetNextSiblingItem(h))
    {
        if (GetItemData(h) == dwData)
            return h;
        if (HTREEITEM child = GetChildItem(h))
            if (HTREEITEM found = FindItemByData(dwData, child))
                return found;
    }
    return nullptr;
}
