// Several runtime views at once in the player: a second document opened on a screen file, and a
// second view of the main document. Each view keeps its own screen and its own OPC groups; the one
// script engine stays with the view that made it.
#include "RunningDemo.h"

#include "mfc/DocTemplate.h"
#include "mfc/FrameWnd.h"
#include "model/ScriptObject.h"
#include "player/QYRViewDoc.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace player_test;

namespace
{
CItem* ItemOf(const CFODrawShape* shape)
{
    return dynamic_cast<CItem*>(static_cast<CObject*>(shape->GetItemData()));
}
} // namespace

TEST(PlayerViews, ASecondDocumentShowsItsOwnScreenAndClosingItLeavesTheMainScreenRunning)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CFODrawShape* ramp = demo.LiveRamp();
    ASSERT_NE(ramp, nullptr);
    CScriptObject* engine = demo.player.app.m_pScriptObject;
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(demo.view->OwnsScriptEngine());
    ASSERT_EQ(ServerGroupCount(), 1);

    // A document opened on a screen file shows and binds that screen, not the main screen.
    CMultiDocTemplate screens(128, RUNTIME_CLASS(CQYRViewDoc), RUNTIME_CLASS(CFrameWnd),
                              RUNTIME_CLASS(CQYRViewView));
    const CString details = ToCString(demo.root.root + "/Demo/demo/XdgFiles/Details.xdg");
    auto* doc = dynamic_cast<CQYRViewDoc*>(screens.OpenDocumentFile(details));
    ASSERT_NE(doc, nullptr);
    CQYRViewView* second = doc->m_pMainView;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetCurrentScreen(), CString(L"Details.xdg"));
    EXPECT_EQ(demo.view->GetCurrentScreen(), CString(L"Main.xdg"));
    EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Main.xdg")) << "opening a view leaves it alone";
    EXPECT_EQ(ServerGroupCount(), 2);
    EXPECT_EQ(demo.player.app.m_pScriptObject, engine);
    EXPECT_FALSE(second->OwnsScriptEngine());
    CFODrawShape* speed = nullptr;
    for (CFODrawShape* shape : *second->GetCurrentModel()->GetShapes())
        if (shape->GetKeyId3() == L"Plant.Area2.Pump1.Speed")
            speed = shape;
    ASSERT_NE(speed, nullptr);
    ASSERT_NE(ItemOf(speed), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return speed->GetCurrentValue() != DBL_MIN; }))
        << "the second screen is live";

    // Each view refuses only the screen it shows itself; a switch replaces only its own group.
    EXPECT_FALSE(second->SwitchScreen(L"Details.xdg"));
    EXPECT_TRUE(second->SwitchScreen(L"Main.xdg")) << "the main view showing it does not matter";
    EXPECT_EQ(second->GetCurrentScreen(), CString(L"Main.xdg"));
    EXPECT_EQ(ServerGroupCount(), 2);
    EXPECT_TRUE(demo.view->SwitchScreen(L"Trends.xdg"));
    EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Trends.xdg"));
    EXPECT_TRUE(demo.view->SwitchScreen(L"Main.xdg"));
    EXPECT_EQ(ServerGroupCount(), 2);

    // Closing the second view takes its group only; the server, the engine and the main screen stay.
    second->GetParentFrame()->DestroyWindow();
    AfxPumpMessages();
    EXPECT_EQ(ServerGroupCount(), 1);
    EXPECT_EQ(demo.player.app.m_pScriptObject, engine);
    EXPECT_TRUE(demo.MainScreenRuns());
}

TEST(PlayerViews, ASecondViewOfTheMainDocumentSharesItsBindingAndGoesWithoutTakingIt)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CFODrawShape* ramp = demo.LiveRamp();
    ASSERT_NE(ramp, nullptr);
    CItem* item = ItemOf(ramp);
    const int groups = CQYRViewView::GetGroupCounter();

    // A pane of the same document (as a splitter makes): it shows the model as it is.
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CQYRViewView);
    context.m_pCurrentDoc = demo.view->GetDocument();
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPEDWINDOW, nullptr, &context));
    frame->InitialUpdateFrame(demo.view->GetDocument(), TRUE);
    auto* pane = dynamic_cast<CQYRViewView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->GetCurrentModel(), demo.Model());
    EXPECT_EQ(pane->GetCurrentScreen(), CString(L"Main.xdg"));
    EXPECT_EQ(CQYRViewView::GetGroupCounter(), groups) << "nothing bound twice";
    EXPECT_EQ(ItemOf(ramp), item);

    frame->DestroyWindow();
    AfxPumpMessages();
    EXPECT_EQ(ItemOf(ramp), item) << "the main view keeps its items";
    EXPECT_EQ(ServerGroupCount(), 1);
    EXPECT_TRUE(demo.MainScreenRuns());
}
