// Docking panes of the extended frames: a pane with a tree of images and item data docks on the
// sides it allows, floats, hides down to its title, and closes only when it says it may. A picture
// of the frame with its pane and caption bar is saved for a person to look at.
#include "WndTestSupport.h"

#include "mfc/CaptionBar.h"
#include "mfc/DockablePane.h"
#include "mfc/FrameWndEx.h"
#include "mfc/ImageList.h"

#include <QDockWidget>
#include <QTreeWidget>

using namespace wndtest;

namespace
{
const UINT IDB_STRIP = 720;

// A pane like a file list: a tree that fills the client area.
class CTreePane : public CDockablePane
{
public:
    CTreeCtrl m_tree;
    CImageList m_images;
    BOOL m_bClosable = TRUE;

    BOOL CanBeClosed() const override { return m_bClosable; }

    int OnCreate(LPCREATESTRUCT lpcs) override
    {
        if (CDockablePane::OnCreate(lpcs) == -1)
            return -1;
        if (!m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS,
                           CRect(0, 0, 10, 10), this, 4))
            return -1;
        if (!m_images.Create(IDB_STRIP, 16, 0, RGB(255, 0, 255)))
            return -1;
        m_tree.SetImageList(&m_images, TVSIL_NORMAL);
        return 0;
    }
    void OnSize(UINT nType, int cx, int cy) override
    {
        CDockablePane::OnSize(nType, cx, cy);
        if (m_tree.m_hWnd)
            m_tree.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreePane, CDockablePane)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

class DockPaneTest : public CWndTestBase
{
};

TEST_F(DockPaneTest, APaneDocksFloatsHidesAndKeepsItsTreeOfImagesAndData)
{
    auto* frame = new CMDIFrameWndEx;
    ASSERT_TRUE(frame->Create(nullptr, L"Panes"));
    frame->MoveWindow(0, 0, 720, 400);
    CMFCCaptionBar caption;
    ASSERT_TRUE(caption.Create(WS_CHILD | WS_VISIBLE, frame, 221, -1, TRUE));
    caption.SetText(L"Fri Dec 11 00:30:00 2026   Plant.Area1.Tank1                   Tank1 level high");

    CTreePane pane;
    pane.m_bClosable = FALSE;
    ASSERT_TRUE(pane.Create(L"File View", frame, CRect(0, 0, 200, 200), TRUE, 133,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_LEFT |
                                CBRS_FLOAT_MULTI));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    pane.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockPane(&pane);
    frame->EnableAutoHidePanes(CBRS_ALIGN_ANY);
    CDockingManager::SetDockingMode(CDockingManager::DT_SMART);
    EXPECT_EQ(CDockingManager::GetDockingMode(), CDockingManager::DT_SMART);

    // The tree lives in the pane: folders and screens with their images, records in the item data.
    ASSERT_EQ(pane.m_images.GetImageCount(), 2);
    CTreeCtrl& tree = pane.m_tree;
    EXPECT_EQ(tree.GetParent(), &pane);
    EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &pane.m_images);
    const HTREEITEM root = tree.InsertItem(L"Application", 0, 0);
    tree.SetItemState(root, TVIS_BOLD, TVIS_BOLD);
    const HTREEITEM folder = tree.InsertItem(L"Screens", 0, 0, root);
    int record = 42;
    const HTREEITEM screen = tree.InsertItem(L"main", 1, 1, folder);
    tree.SetItemData(screen, reinterpret_cast<DWORD_PTR>(&record));
    tree.Expand(root, TVE_EXPAND);
    tree.Expand(folder, TVE_EXPAND);
    EXPECT_EQ(tree.GetItemState(root, TVIS_BOLD), UINT(TVIS_BOLD));
    EXPECT_EQ(tree.GetItemState(folder, TVIS_BOLD), 0u);
    int image = -1, selected = -1;
    ASSERT_TRUE(tree.GetItemImage(screen, image, selected));
    EXPECT_EQ(image, 1);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(reinterpret_cast<int*>(tree.GetItemData(screen)), &record);
    auto* widget = qobject_cast<QTreeWidget*>(tree.GetWidget());
    ASSERT_NE(widget, nullptr);
    EXPECT_FALSE(widget->topLevelItem(0)->icon(0).isNull());
    EXPECT_TRUE(tree.SetItemImage(screen, 0, 0));
    EXPECT_TRUE(tree.SetItemImage(screen, 1, 1));

    frame->ShowWindow(SW_SHOW);
    AfxPumpMessages();
    EXPECT_EQ(pane.GetCurrentAlignment(), DWORD(CBRS_ALIGN_LEFT));
    EXPECT_TRUE(pane.IsWindowVisible());
    CRect client;
    pane.GetClientRect(&client);
    CRect treeRect;
    tree.GetWindowRect(&treeRect);
    EXPECT_EQ(treeRect.Width(), client.Width());
    const QImage shot = frame->GetWidget()->grab().toImage();
    shot.save(QStringLiteral(QYR_SHOT_DIR "/dock-pane.png"));

    // A pane that cannot be closed has no close box; one that can, has.
    auto* dock = qobject_cast<QDockWidget*>(pane.GetWidget());
    ASSERT_NE(dock, nullptr);
    EXPECT_FALSE(dock->features() & QDockWidget::DockWidgetClosable);
    EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetFloatable);

    // Any side, floating, and back.
    EXPECT_TRUE(pane.DockToSide(CBRS_ALIGN_RIGHT));
    EXPECT_EQ(pane.GetCurrentAlignment(), DWORD(CBRS_ALIGN_RIGHT));
    EXPECT_TRUE(pane.FloatPane(CRect(50, 50, 250, 300)));
    EXPECT_TRUE(pane.IsFloating());
    EXPECT_EQ(pane.GetCurrentAlignment(), 0u);
    frame->DockPane(&pane);
    EXPECT_FALSE(pane.IsFloating());
    pane.EnableDocking(CBRS_ALIGN_LEFT);
    EXPECT_FALSE(pane.DockToSide(CBRS_ALIGN_BOTTOM));

    // Auto-hide keeps the title only.
    EXPECT_TRUE(pane.SetAutoHideMode(TRUE));
    EXPECT_TRUE(pane.IsAutoHideMode());
    EXPECT_FALSE(dock->widget()->isVisible());
    EXPECT_TRUE(pane.SetAutoHideMode(FALSE));
    EXPECT_TRUE(dock->widget()->isVisible());

    pane.DestroyWindow();
    caption.DestroyWindow();
    frame->DestroyWindow();
}
} // namespace
