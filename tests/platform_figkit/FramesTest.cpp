// The library's frame inside another window, the dialog hooks, and the grid list's accessors.
#include "FigkitTestSupport.h"

#include "figkit/FODrawView.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FrameWnds.h"
#include "mfc/View.h"

#include <gtest/gtest.h>

#include <QWidget>

TEST(FigkitFrames, AFrameMadeAsAChildFillsItsPlaceAndHoldsItsView)
{
    AfxEnsureApplication();
    CWnd dialog;
    ASSERT_TRUE(
        dialog.CreateEx(0, nullptr, L"Test", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
    auto* frame = static_cast<CFOPFrameWnd*>(RUNTIME_CLASS(CFOPFrameWnd)->CreateObject());
    ASSERT_NE(nullptr, frame);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CFODrawView);
    ASSERT_TRUE(frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &dialog,
                              nullptr, 0, &context));
    frame->ShowWindow(SW_SHOW);
    AfxPumpMessages();
    EXPECT_FALSE(frame->GetWidget()->isWindow()) << "a child, not a window of its own";
    EXPECT_EQ(&dialog, frame->GetParent());
    CRect rc;
    frame->GetClientRect(&rc);
    EXPECT_EQ(CSize(800, 600), rc.Size());
    CWnd* view = frame->GetDlgItem(AFX_IDW_PANE_FIRST);
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(view->IsWindowVisible());

    // No floating window of the library takes activation; freeing the object cache keeps a face font.
    EXPECT_FALSE(FODiscardNcActivate());
    FO_GLOBAL::FreeObjectCache();
    EXPECT_TRUE(gfxData.m_fontRegular.IsCreated());
    dialog.DestroyWindow();
    AfxPumpMessages();
}
