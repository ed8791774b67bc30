#include "editor/DrawMainFrame.h"

#include "editor/ChildFrames.h"
#include "editor/PlexdraftView.h"
#include "editor/QYRDrawApp.h"
#include "mfc/File.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace
{
constexpr DWORD_PTR kItemRoot = 1000;
constexpr DWORD_PTR kItemScreens = 1001;
constexpr DWORD_PTR kItemFirstFile = 0x10000;

// Files dropped on the frame go to the application one by one.
class CFileDropFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::DragEnter)
        {
            auto* de = static_cast<QDragEnterEvent*>(e);
            if (de->mimeData() && de->mimeData()->hasUrls())
            {
                de->acceptProposedAction();
                return true;
            }
        }
        else if (e->type() == QEvent::Drop)
        {
            auto* de = static_cast<QDropEvent*>(e);
            if (CQYRDrawApp* app = AfxGetDrawApp(); app && de->mimeData())
                for (const QUrl& url : de->mimeData()->urls())
                    if (url.isLocalFile())
                        app->OpenDroppedFile(CString(url.toLocalFile().toStdWString().c_str()));
            de->acceptProposedAction();
            return true;
        }
        return false;
    }
};
} // namespace

// --- CProjectPane ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CProjectPane, CDockablePane)
ON_NOTIFY(NM_DBLCLK, IDC_PROJECT_TREE, &CProjectPane::OnDblClk)
END_MESSAGE_MAP()

int CProjectPane::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockablePane::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS,
                       CRect(0, 0, 10, 10), this, IDC_PROJECT_TREE))
        return -1;
    return 0;
}

void CProjectPane::OnSize(UINT nType, int cx, int cy)
{
    CDockablePane::OnSize(nType, cx, cy);
    if (m_tree.GetSafeHwnd())
        m_tree.MoveWindow(0, 0, cx, cy);
}

void CProjectPane::Refill()
{
    m_tree.DeleteAllItems();
    m_paths.clear();
    m_hScreens = nullptr;
    CQYRDrawApp* app = AfxGetDrawApp();
    if (!app || !app->IsProjectLoaded())
        return;
    const HTREEITEM root = m_tree.InsertItem(L"Project: " + app->GetProjectTitle());
    m_tree.SetItemData(root, kItemRoot);
    m_hScreens = m_tree.InsertItem(L"Screens", root);
    m_tree.SetItemData(m_hScreens, kItemScreens);
    const CString folder = app->GetXdgFilesPath();
    if (CFOProjectApp::IsDirectory(folder))
    {
        const QString resolved = QString::fromStdWString(AfxResolvePathCase(folder).GetString());
        const QDir dir(resolved);
        // Every "*.xdg" whatever its case, by name; the item keeps the full path.
        for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        {
            if (info.suffix().compare(QStringLiteral("xdg"), Qt::CaseInsensitive) != 0)
                continue;
            const HTREEITEM item =
                m_tree.InsertItem(CString(info.fileName().toStdWString().c_str()), m_hScreens);
            m_tree.SetItemData(item, kItemFirstFile + m_paths.size());
            m_paths.emplace_back(info.absoluteFilePath().toStdWString().c_str());
        }
    }
    const CString script = app->GetScriptFilesPath() + L"system.uscp";
    if (CFOProjectApp::IsFileExist(script))
    {
        const HTREEITEM item = m_tree.InsertItem(L"system.uscp", root);
        m_tree.SetItemData(item, kItemFirstFile + m_paths.size());
        m_paths.push_back(AfxResolvePathCase(script));
    }
    m_tree.Expand(root, TVE_EXPAND);
    m_tree.Expand(m_hScreens, TVE_EXPAND);
}

CString CProjectPane::GetItemPath(HTREEITEM hItem) const
{
    const DWORD_PTR data = hItem ? m_tree.GetItemData(hItem) : 0;
    if (data < kItemFirstFile || data - kItemFirstFile >= m_paths.size())
        return CString();
    return m_paths[size_t(data - kItemFirstFile)];
}

void CProjectPane::OnDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const CString path = GetItemPath(m_tree.GetSelectedItem());
    if (CQYRDrawApp* app = AfxGetDrawApp(); app && !path.IsEmpty())
        app->OpenDocumentFile(path);
}

// --- CDrawMainFrame --------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CDrawMainFrame, CXVKMDIFrameWnd)

BEGIN_MESSAGE_MAP(CDrawMainFrame, CXVKMDIFrameWnd)
END_MESSAGE_MAP()

CDrawMainFrame::CDrawMainFrame() = default;
CDrawMainFrame::~CDrawMainFrame() = default;

int CDrawMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CXVKMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndProject.Create(L"ToolBox Bar", this, CRect(0, 0, 240, 400), TRUE, 1212,
                             WS_CHILD | WS_VISIBLE | CBRS_LEFT))
        return -1;
    if (QWidget* w = GetWidget())
    {
        w->setAcceptDrops(true);
        w->installEventFilter(new CFileDropFilter(w));
    }
    return 0;
}

void CDrawMainFrame::RefreshProjectView()
{
    if (m_wndProject.GetSafeHwnd())
        m_wndProject.Refill();
}

void CDrawMainFrame::RefreshShapeList(CWnd* pChildFrame)
{
    auto* child = dynamic_cast<CChildFrame*>(pChildFrame);
    auto* view = child ? dynamic_cast<CPlexdraftView*>(child->GetActiveView()) : nullptr;
    if (view)
        child->GetShapeListBar().UpdateShapeList(view->GetCurrentModel());
}

void CDrawMainFrame::OnClose()
{
    if (CQYRDrawApp* app = AfxGetDrawApp(); app && !app->QueryCloseProject())
        return;
    CXVKMDIFrameWnd::OnClose();
}
