#include "editor/TableBar.h"

#include "mfc/File.h"

#include "editor/EditorApp.h"
#include "figkit/FOGlobalData.h"
#include "editor/ToolBoxIndex.h"

#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CTableBar, CFOPControlBar)

BEGIN_MESSAGE_MAP(CTableBar, CFOPControlBar)
ON_NOTIFY(0xFF9B, IDC_PROJECT_TREE, &CTableBar::OnTreeNotify)
END_MESSAGE_MAP()

namespace
{
constexpr UINT kTreeBitmap = 65;
constexpr UINT kTabBitmap = 173;
constexpr UINT kTabCtrlID = 0xE900;

QString ToQt(const CString& s)
{
    return QString::fromWCharArray(s.GetString(), s.GetLength());
}
} // namespace

CTableBar::CTableBar() = default;
CTableBar::~CTableBar() = default;

void CTableBar::ReadToolBoxIndex(const CString& strFolder)
{
    m_pages.clear();
    if (strFolder.IsEmpty())
        return;
    for (const CToolBoxIndex::Entry& entry : CToolBoxIndex::ReadEntries(strFolder))
        m_pages.push_back({entry.strNumber, entry.strFileName, entry.nId});
}

BOOL CTableBar::CreateGuiFont(CFont& font, LONG nWeight)
{
    LOGFONT lf = {};
    CGdiObject* gui = CDC::GetStockObject(DEFAULT_GUI_FONT);
    if (!gui)
        gui = CDC::GetStockObject(SYSTEM_FONT);
    if (auto* stock = dynamic_cast<CFont*>(gui))
        stock->GetLogFont(&lf);
    lf.lfWeight = nWeight;
    return font.CreateFontIndirect(&lf);
}

void CTableBar::PlaceToolBox()
{
    QWidget* area = GetClientWidget();
    QWidget* box = m_wndToolBox.GetSafeHwnd() ? m_wndToolBox.GetWidget() : nullptr;
    if (!area || !box || !area->layout())
        return;
    // The tree and the toolbox share the bar's height.
    if (auto* layout = qobject_cast<QVBoxLayout*>(area->layout()); layout && layout->indexOf(box) < 0)
    {
        layout->addWidget(box, 1);
        box->show();
    }
}

int CTableBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFOPControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    IEditorApp* app = GetEditorApp();
    if (app && !app->GetToolBoxFolder().IsEmpty())
        ReadToolBoxIndex(app->GetToolBoxFolder());

    CRect client;
    GetClientRect(&client);
    if (!m_wndTab.Create(WS_CHILD | WS_VISIBLE, client, this, kTabCtrlID))
        return -1;
    // The tab control fills the bar's client area whatever size the dock gives it.
    if (QWidget* area = GetClientWidget())
    {
        auto* layout = new QVBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_wndTab.GetWidget(), 1);
    }
    m_imageList.Create(kTreeBitmap, 20, 0, RGB(255, 255, 255));
    if (!m_wndTree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                          client, &m_wndTab, IDC_PROJECT_TREE))
        return -1;
    m_wndTree.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    m_wndTree.SetOwner(this);
    m_wndTree.SetImageList(&m_imageList, TVSIL_NORMAL);
    if (app && app->IsProjectOpen())
    {
        m_hRoot = m_wndTree.InsertItem(L"Shapes List", 0, 1);
        m_wndTree.SetItemData(m_hRoot, TREE_ITEM_PROJECT);
        m_hScreens = m_wndTree.InsertItem(L"Screens", 1, 1, m_hRoot);
        m_wndTree.SetItemData(m_hScreens, TREE_ITEM_SCREENS);
        m_wndTree.Expand(m_hRoot, TVE_EXPAND);
    }

    CreateGuiFont(m_fontBold, 550);
    CreateGuiFont(m_fontNormal, 450);
    m_wndTree.ShowWindow(SW_SHOW);

    m_wndTab.AddTab(&m_wndTree, L"Projects", 0);
    m_wndTab.LoadTabImages(kTabBitmap, 16);
    m_wndTab.SetTabHeight(25);
    m_wndTab.SetFlatBorderColor(RGB(128, 128, 255));
    m_wndTab.SetFlatBorder(TRUE);
    m_wndTab.SetDrawMoneyMode(TRUE);
    m_wndTab.SetTabColors(RGB(255, 255, 255), RGB(228, 232, 240));
    m_wndTab.Invalidate();
    m_wndTab.SetActiveTab(0);
    return 0;
}

void CTableBar::OnSize(UINT nType, int cx, int cy)
{
    CFOPControlBar::OnSize(nType, cx, cy);
    // Once the toolbox sits under it, the client area's layout shares the height between the two.
    if (m_wndTab.GetSafeHwnd() && !m_wndToolBox.GetSafeHwnd())
        m_wndTab.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTableBar::OnTreeNotify(NMHDR*, LRESULT* pResult)
{
    if (pResult)
        *pResult = 0;
}

void CTableBar::RefreshProjectTree()
{
    if (!m_wndTree.GetSafeHwnd())
        return;
    m_wndTree.DeleteAllItems();
    m_hRoot = m_hScreens = nullptr;
    IEditorApp* app = GetEditorApp();
    if (!app || !app->IsProjectOpen())
        return;
    m_hRoot = m_wndTree.InsertItem(CString(L"Plexdraft Editor -- ") + app->GetProjectFileName(), 0, 1);
    m_wndTree.SetItemData(m_hRoot, TREE_ITEM_PROJECT);
    const struct
    {
        LPCWSTR text;
        int image;
        DWORD_PTR data;
    } children[] = {{L"Project Setting", 4, TREE_ITEM_SETTINGS},
                    {L"Parameters", 3, TREE_ITEM_PARAMETERS},
                    {L"Screens", 1, TREE_ITEM_SCREENS},
                    {L"Application Publisher", 8, TREE_ITEM_PUBLISHER},
                    {L"Explore Project Folder", 7, TREE_ITEM_FOLDER}};
    for (const auto& c : children)
    {
        HTREEITEM h = m_wndTree.InsertItem(c.text, c.image, c.image, m_hRoot);
        m_wndTree.SetItemData(h, c.data);
        if (c.data == TREE_ITEM_SCREENS)
            m_hScreens = h;
    }
    // The screens of the screen folder: files whose name ends in ".xdg" in any case, by name.
    const CString folder = GetEditorScreenFolder();
    // The project folder is kept lower-cased: the folder on disk is found whatever its case.
    const QDir dir(ToQt(AfxResolvePathCase(folder)));
    if (!folder.IsEmpty() && dir.exists())
    {
        QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& info : files)
        {
            if (!info.fileName().endsWith(QStringLiteral(".xdg"), Qt::CaseInsensitive) || info.isDir())
                continue;
            const QString title = info.fileName().left(info.fileName().size() - 4);
            HTREEITEM h = m_wndTree.InsertItem(CString(title.toStdWString().c_str()), 2, 2, m_hScreens);
            m_wndTree.SetItemData(h, TREE_ITEM_SCREEN);
        }
        m_wndTree.Expand(m_hScreens, TVE_EXPAND);
    }
    m_wndTree.Expand(m_hRoot, TVE_EXPAND);
    m_wndTree.ShowWindow(SW_SHOW);
    m_wndTab.SetActiveTab(0);
}

void CTableBar::AddNewScreen()
{
    IEditorApp* app = GetEditorApp();
    if (!app || !app->IsProjectOpen())
        return;
    m_wndTree.NewScreen(m_hScreens);
    m_wndTab.SetActiveTab(0);
}
