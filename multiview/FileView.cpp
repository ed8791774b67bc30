#include "multiview/FileView.h"

#include "mfc/Document.h"
#include "mfc/FrameWnd.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "multiview/QYRMViewApp.h"
#include "multiview/Resource.h"
#include "win32/Files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace
{
const wchar_t* const kRootText = L"Application 파일";
const wchar_t* const kScreensText = L"Xdg 파일";
const COLORREF kMaskColour = RGB(255, 0, 255);

// The titles of the ".xdg" files (not folders) of a folder, sorted as the listing gives them.
std::vector<CString> ScreenTitles(const CString& strFolder)
{
    std::vector<CString> titles;
    std::error_code ec;
    const std::filesystem::path folder(Win32NativePath(strFolder.str()));
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        const std::filesystem::path& path = it->path();
        const CString name = CString::FromUtf8(path.filename().string());
        if (name == L"." || name == L".." || name.GetLength() <= 4)
            continue;
        CString ext = name.Right(4);
        ext.MakeLower();
        if (ext != L".xdg")
            continue;
        std::error_code dirError;
        if (std::filesystem::is_directory(path, dirError))
            continue;
        titles.push_back(name.Left(name.GetLength() - 4));
    }
    std::sort(titles.begin(), titles.end(),
              [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
    return titles;
}
} // namespace

BEGIN_MESSAGE_MAP(CFileView, CDockablePane)
ON_NOTIFY(NM_CLICK, CFileView::ID_TREE, &CFileView::OnClickTree)
ON_NOTIFY(NM_DBLCLK, CFileView::ID_TREE, &CFileView::OnDblClickTree)
ON_NOTIFY(NM_RCLICK, CFileView::ID_TREE, &CFileView::OnRClickTree)
ON_COMMAND(ID_OPEN, &CFileView::OnFileOpen)
ON_COMMAND(ID_OPEN_WITH, &CFileView::OnFileOpenWith)
ON_COMMAND(ID_DUMMY_COMPILE, &CFileView::OnDummyCompile)
ON_COMMAND(ID_EDIT_CUT, &CFileView::OnEditCut)
ON_COMMAND(ID_EDIT_COPY, &CFileView::OnEditCopy)
ON_COMMAND(ID_EDIT_CLEAR, &CFileView::OnEditClear)
ON_COMMAND(ID_PROPERTIES, &CFileView::OnProperties)
ON_MESSAGE(WM_FILEVIEW_CONTEXT, &CFileView::OnShowContextMenu)
ON_MESSAGE(0x601, &CFileView::OnOpenScreenMessage)
ON_MESSAGE(0x602, &CFileView::OnIgnoredMessage)
ON_MESSAGE(0x603, &CFileView::OnOpenScreenMessage)
ON_MESSAGE(0x604, &CFileView::OnIgnoredMessage)
ON_MESSAGE(0x605, &CFileView::OnIgnoredMessage)
ON_MESSAGE(0x606, &CFileView::OnIgnoredMessage)
ON_MESSAGE(0x607, &CFileView::OnIgnoredMessage)
ON_MESSAGE(0x608, &CFileView::OnIgnoredMessage)
ON_MESSAGE(0x609, &CFileView::OnIgnoredMessage)
END_MESSAGE_MAP()

CFileView::CFileView() = default;
CFileView::~CFileView() = default;

int CFileView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockablePane::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rectDummy;
    rectDummy.SetRectEmpty();
    if (!m_wndFileView.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS,
                              rectDummy, this, ID_TREE))
        return -1;
    OnChangeVisualStyle();

    // The bar's commands are the pane's: its owner is set before its buttons are made.
    if (!m_wndToolBar.Create(this, AFX_DEFAULT_TOOLBAR_STYLE, IDR_EXPLORER))
        return -1;
    m_wndToolBar.SetOwner(this);
    m_wndToolBar.SetRouteCommandsViaFrame(FALSE);
    if (!m_wndToolBar.LoadToolBar(IDR_EXPLORER, 0, 0, TRUE))
        return -1;
    m_wndToolBar.SetPaneStyle(m_wndToolBar.GetPaneStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_wndToolBar.SetPaneStyle(m_wndToolBar.GetPaneStyle() &
                              ~DWORD(CBRS_GRIPPER | CBRS_SIZE_DYNAMIC | CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM |
                                     CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT));

    FillFileView();
    AdjustLayout();
    return 0;
}

CString CFileView::GetScreenFolder() const
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    return app ? app->GetScreensFolder() : CString();
}

void CFileView::FillFileView()
{
    DeleteItemRecords(m_wndFileView.GetRootItem());
    m_wndFileView.DeleteAllItems();
    const HTREEITEM hRoot = m_wndFileView.InsertItem(kRootText, IMAGE_FOLDER, IMAGE_FOLDER);
    m_wndFileView.SetItemState(hRoot, TVIS_BOLD, TVIS_BOLD);
    const HTREEITEM hScreens = m_wndFileView.InsertItem(kScreensText, IMAGE_FOLDER, IMAGE_FOLDER, hRoot);
    for (const CString& title : ScreenTitles(GetScreenFolder()))
    {
        const HTREEITEM hItem = m_wndFileView.InsertItem(title, IMAGE_SCREEN, IMAGE_SCREEN, hScreens);
        m_wndFileView.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(new FILEVIEW_ITEM{m_hWnd, 0}));
    }
    m_wndFileView.Expand(hRoot, TVE_EXPAND);
    m_wndFileView.Expand(hScreens, TVE_EXPAND);
}

void CFileView::DeleteItemRecords(HTREEITEM hItem)
{
    for (; hItem; hItem = m_wndFileView.GetNextSiblingItem(hItem))
    {
        DeleteItemRecords(m_wndFileView.GetChildItem(hItem));
        delete reinterpret_cast<FILEVIEW_ITEM*>(m_wndFileView.GetItemData(hItem));
        m_wndFileView.SetItemData(hItem, 0);
    }
}

void CFileView::OnDestroy()
{
    if (m_wndFileView.GetSafeHwnd())
        DeleteItemRecords(m_wndFileView.GetRootItem());
    CDockablePane::OnDestroy();
}

void CFileView::AdjustLayout()
{
    if (!GetSafeHwnd() || !m_wndToolBar.GetSafeHwnd())
        return;
    CRect rectClient;
    GetClientRect(rectClient);
    const int cyTlb = 26;
    m_wndToolBar.SetWindowPos(nullptr, rectClient.left, rectClient.top, rectClient.Width(), cyTlb,
                              SWP_NOACTIVATE | SWP_NOZORDER);
    m_wndFileView.SetWindowPos(nullptr, rectClient.left + 1, rectClient.top + cyTlb + 1,
                               rectClient.Width() - 2, rectClient.Height() - cyTlb - 2,
                               SWP_NOACTIVATE | SWP_NOZORDER);
}

void CFileView::OnSize(UINT nType, int cx, int cy)
{
    CDockablePane::OnSize(nType, cx, cy);
    AdjustLayout();
}

void CFileView::OnSetFocus(CWnd* pOldWnd)
{
    CDockablePane::OnSetFocus(pOldWnd);
    m_wndFileView.SetFocus();
}

void CFileView::OnChangeVisualStyle()
{
    CQYRMViewApp* app = AfxGetMViewApp();
    const BOOL bHiColor = app ? app->m_bHiColorIcons : TRUE;
    if (m_wndToolBar.GetSafeHwnd())
        m_wndToolBar.ReplaceLockedImages(IDR_EXPLORER);
    m_wndFileView.SetImageList(nullptr, TVSIL_NORMAL);
    m_FileViewImages.DeleteImageList();
    CBitmap bmp;
    if (!bmp.LoadBitmap(IDB_FILE_VIEW))
        return;
    BITMAP bmpObj = {};
    bmp.GetBitmap(&bmpObj);
    m_FileViewImages.Create(16, bmpObj.bmHeight, (bHiColor ? ILC_COLOR24 : ILC_COLOR4) | ILC_MASK, 0, 0);
    m_FileViewImages.Add(&bmp, kMaskColour);
    m_wndFileView.SetImageList(&m_FileViewImages, TVSIL_NORMAL);
}

int CFileView::OpenScreen(const CString& strName)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (!app || strName.IsEmpty())
        return -1;
    // A folder named like a screen is none.
    const CString path = GetScreenFolder() + strName + L".xdg";
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    CDocument* pDoc = app->OpenScreenDocument(path);
    m_pLastOpened = pDoc;
    if (!pDoc)
        return 0;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos;)
    {
        CView* pView = pDoc->GetNextView(pos);
        CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr;
        auto* pMDIFrame = pFrame ? dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()) : nullptr;
        if (pFrame && pMDIFrame && pMDIFrame->m_hWndMDIClient)
        {
            ::SendMessageW(pMDIFrame->m_hWndMDIClient, WM_MDIACTIVATE,
                           reinterpret_cast<WPARAM>(pFrame->m_hWnd), 0);
            break;
        }
    }
    return 0;
}

LRESULT CFileView::OnOpenScreenMessage(WPARAM wParam, LPARAM)
{
    const auto* name = reinterpret_cast<LPCWSTR>(wParam);
    return name ? LRESULT(OpenScreen(CString(name))) : LRESULT(-1);
}

LRESULT CFileView::OnIgnoredMessage(WPARAM, LPARAM)
{
    return 0;
}

void CFileView::NotifySelected(UINT message)
{
    const HTREEITEM hItem = m_wndFileView.GetSelectedItem();
    const auto* record = hItem ? reinterpret_cast<FILEVIEW_ITEM*>(m_wndFileView.GetItemData(hItem)) : nullptr;
    if (!record || !record->hWndNotify)
        return;
    const CString text = m_wndFileView.GetItemText(hItem);
    ::SendMessageW(record->hWndNotify, message, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

void CFileView::OnClickTree(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CFileView::OnDblClickTree(NMHDR*, LRESULT* pResult)
{
    NotifySelected(WM_FILEVIEW_DBLCLK);
    *pResult = 0;
}

void CFileView::OnRClickTree(NMHDR*, LRESULT* pResult)
{
    NotifySelected(WM_FILEVIEW_RCLICK);
    *pResult = 0;
}

void CFileView::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (pWnd != &m_wndFileView)
    {
        CDockablePane::OnContextMenu(pWnd, point);
        return;
    }
    if (point != CPoint(-1, -1))
    {
        // The item under the mouse becomes the selection.
        CPoint ptTree = point;
        m_wndFileView.ScreenToClient(&ptTree);
        UINT flags = 0;
        const HTREEITEM hTreeItem = m_wndFileView.HitTest(ptTree, &flags);
        if (hTreeItem)
        {
            m_wndFileView.SelectItem(hTreeItem);
            const auto* record = reinterpret_cast<FILEVIEW_ITEM*>(m_wndFileView.GetItemData(hTreeItem));
            if (record && record->hWndNotify)
            {
                ::SendMessageW(m_hWnd, WM_FILEVIEW_CONTEXT, WPARAM(point.x), LPARAM(point.y));
                return;
            }
        }
    }
    OnShowContextMenu(WPARAM(point.x), LPARAM(point.y));
}

LRESULT CFileView::OnShowContextMenu(WPARAM wParam, LPARAM lParam)
{
    m_wndFileView.SetFocus();
    if (auto* app = dynamic_cast<CWinAppEx*>(AfxGetApp()))
        app->GetContextMenuManager()->ShowPopupMenu(IDR_POPUP_EXPLORER, int(wParam), int(lParam), this, TRUE);
    return 0;
}

void CFileView::OnFileOpen()
{
    const HTREEITEM hItem = m_wndFileView.GetSelectedItem();
    if (hItem && m_wndFileView.GetItemData(hItem))
        OpenScreen(m_wndFileView.GetItemText(hItem));
}

void CFileView::OnProperties()
{
    CString text;
    text.Format(L"Application 파일 위치 = %s", static_cast<LPCWSTR>(GetScreenFolder()));
    AfxMessageBox(text);
}

void CFileView::OnFileOpenWith() {}
void CFileView::OnDummyCompile() {}
void CFileView::OnEditCut() {}
void CFileView::OnEditCopy() {}
void CFileView::OnEditClear() {}
