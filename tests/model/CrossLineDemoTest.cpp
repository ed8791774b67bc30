#include "ModelTestSupport.h"

#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPortShape.h"
#include "mfc/Dc.h"
#include "model/XFOCorsssLineShape.h"
#include "model/XFOCustomProperties.h"
#include "model/XFODemoShape.h"
#include "model/XVKDataModel.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

using namespace model_test;

class CrossLineDemo : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(CrossLineDemo, CrossLineOutlinePortsAndPropertySet)
{
    CXFOCorsssLineShape s;
    CRect rc(0, 0, 100, 40);
    s.Create(rc);
    const CPoint expected[6] = {{0, 0}, {75, 0}, {100, 20}, {75, 40}, {0, 40}, {25, 20}};
    ASSERT_EQ(s.GetPointCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(s.GetPoint(i), expected[i]);
    ASSERT_EQ(s.GetPortCount(), 6);
    EXPECT_EQ(s.GetPort(0)->GetLinkPoint(), CPoint(50, 20));
    EXPECT_EQ(s.GetPort(5)->GetLinkPoint(), CPoint(100, 20));
    EXPECT_EQ(s.GetType(), 696u);
    EXPECT_EQ(s.GetBkColor(), COLORREF(0xE3E0BB));
    EXPECT_TRUE(s.IsPolyObject());
    ASSERT_NE(s.GetLineProperty(), nullptr);
    s.SetDescription(L"Main line");
    FO_VALUE v;
    EXPECT_TRUE(s.GetPropValue(v, CXFOCustomProperties::PROP_DESCRIPTION));
    EXPECT_EQ(v.m_strValue, CString(L"Main line"));

    const auto bytes = StoreBytes([&](CArchive& ar) { s.Serialize(ar); });
    CXFOCorsssLineShape back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetDescription(), CString(L"Main line"));
    EXPECT_EQ(back.GetPropertyList().GetCount(), 1);
    std::unique_ptr<CFODrawShape> copy(back.Copy());
    EXPECT_EQ(static_cast<CXFOCorsssLineShape*>(copy.get())->GetDescription(), CString(L"Main line"));
}

TEST_F(CrossLineDemo, CustomPropertySetAnswersItsFourIds)
{
    CXFOCustomProperties p;
    EXPECT_EQ(p.GetPropId(), 15031);
    FO_VALUE v;
    ASSERT_TRUE(p.GetValue(v, 5004));
    EXPECT_EQ(v.m_nValueType, FO_VALUE_FLOAT);
    EXPECT_EQ(v.m_fValue, 0.0f);
    for (int id = 5001; id <= 5003; ++id)
    {
        ASSERT_TRUE(p.GetValue(v, id));
        EXPECT_EQ(v.m_nValueType, FO_VALUE_STRING);
        EXPECT_TRUE(v.m_strValue.IsEmpty());
    }
    FO_VALUE untouched = FO_VALUE::MakeInt(9);
    EXPECT_FALSE(p.GetValue(untouched, 5005));
    EXPECT_EQ(untouched.m_nValue, 9);
    EXPECT_FALSE(p.PutValue(5005, FO_VALUE::MakeString(L"x")));
    EXPECT_TRUE(p.PutValue(5001, FO_VALUE::MakeString(L"Pump")));
    EXPECT_TRUE(p.PutValue(5004, FO_VALUE::MakeFloat(9.5f)));
    EXPECT_EQ(p.GetProductName(), CString(L"Pump"));
    EXPECT_EQ(p.GetUnitPrice(), 9.5f);

    CXFOCustomProperties other(77);
    other = p; // fields only
    EXPECT_EQ(other.GetPropId(), 77);
    EXPECT_TRUE(other == p);
    EXPECT_FALSE(other.IsEqual(&p));
    CXFOCustomProperties same(p);
    EXPECT_EQ(same.GetPropId(), 15031);
    EXPECT_TRUE(same.IsEqual(&p));
    same.SetItem(L"different");
    EXPECT_FALSE(same.IsEqual(&p));

    const auto bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&p); });
    CObject* ob = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> owned(ob);
    auto* back = dynamic_cast<CXFOCustomProperties*>(ob);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->IsEqual(&p));
    EXPECT_EQ(CXFOCustomProperties::GetThisClass()->m_wSchema, 1u);
}

TEST_F(CrossLineDemo, DemoShapeTimerFollowsSizeAndMode)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    canvas.SetCurrentModel(&model);
    model.SetDesignMode(FALSE);
    auto make = [&](int size)
    {
        auto* demo = new CXFODemoShape;
        CRect rc(100, 100, 100 + size, 100 + size);
        demo->Create(rc);
        model.InsertShape(demo);
        return demo;
    };
    CXFODemoShape* small = make(21);
    CXFODemoShape* big = make(22);
    EXPECT_EQ(small->GetDrawRect().Width(), 21);
    small->DoStartTimer();
    big->DoStartTimer();
    EXPECT_EQ(small->GetTimerId(), -1);
    EXPECT_GE(big->GetTimerId(), 1);
    // Shrinking stops it; growing again starts a new one.
    big->PositionShape(CRect(0, 0, 21, 21));
    big->DoStartTimer();
    EXPECT_EQ(big->GetTimerId(), -1);
    big->PositionShape(CRect(0, 0, 40, 40));
    big->DoStartTimer();
    EXPECT_GE(big->GetTimerId(), 1);
    model.SetDesignMode(TRUE);
    EXPECT_EQ(big->GetTimerId(), -1);
    // Without a model nothing happens at all.
    CXFODemoShape loose;
    CRect rc(0, 0, 100, 100);
    loose.Create(rc);
    loose.DoStartTimer();
    EXPECT_EQ(loose.GetTimerId(), -1);
}

TEST_F(CrossLineDemo, DemoTicksFadeAndEveryTwentiethJumps)
{
    std::srand(7);
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    canvas.SetCurrentModel(&model);
    model.SetDesignMode(FALSE);
    auto* demo = new CXFODemoShape;
    CRect empty;
    demo->Create(empty);
    model.InsertShape(demo);
    // An empty rectangle puts a 140 x 40 mark somewhere on the page, with its two labels.
    const CRect start = demo->GetDrawRect();
    EXPECT_EQ(start.Width(), 140);
    EXPECT_EQ(start.Height(), 40);
    EXPECT_TRUE(model.GetPagePosition().PtInRect(start.TopLeft()));
    ASSERT_NE(demo->FindShapeWithName(L"Title"), nullptr);
    EXPECT_EQ(demo->FindShapeWithName(L"Title")->GetObjectCaption(), CString(L"Quendrel Solutions"));
    ASSERT_NE(demo->FindShapeWithName(L"Link"), nullptr);
    EXPECT_EQ(demo->GetPortCount(), 0);
    EXPECT_TRUE(demo->IsResizeProtect());

    demo->DoStartTimer();
    const int id = demo->GetTimerId();
    ASSERT_GE(id, 1);
    for (int tick = 1; tick <= 19; ++tick)
    {
        ASSERT_TRUE(CFOPDrawWnd::DispatchShapeTimer(id));
        EXPECT_EQ(demo->GetTransparentValue(), tick);
    }
    EXPECT_EQ(demo->GetDrawRect(), start);
    const COLORREF bk = demo->GetBkColor();
    CFOPDrawWnd::DispatchShapeTimer(id); // tick 20
    EXPECT_EQ(demo->GetChangeCount(), 1);
    EXPECT_EQ(demo->GetTransparentValue(), 19);
    EXPECT_NE(demo->GetDrawRect(), start);
    EXPECT_EQ(demo->GetDrawRect().Width(), 140);
    (void)bk;
    for (int tick = 21; tick <= 256; ++tick)
        CFOPDrawWnd::DispatchShapeTimer(id);
    EXPECT_EQ(demo->GetTickCount(), 256);
    EXPECT_EQ(demo->GetTransparentValue(), 0);
    // A timer id that is not its own goes to the base and changes nothing.
    demo->OnTimer(id + 1000);
    EXPECT_EQ(demo->GetTickCount(), 256);
}

TEST_F(CrossLineDemo, RandomPositionsStayOnThePage)
{
    CXVKDataModel model;
    auto* demo = new CXFODemoShape;
    model.InsertShape(demo);
    model.SetCanvasSize(CSize(100, 50));
    // A page no larger than the shape: placed at 0 instead of dividing by zero.
    EXPECT_EQ(demo->GetRandomPosition(CRect(0, 0, 140, 60)), CRect(0, 0, 140, 60));
    EXPECT_EQ(demo->GetRandomPosition(CRect(0, 0, 100, 50)), CRect(0, 0, 100, 50));
    // Per axis: too wide is placed at x 0, its y still varies within the page.
    for (int i = 0; i < 20; ++i)
    {
        const CRect r = demo->GetRandomPosition(CRect(0, 0, 140, 40));
        EXPECT_EQ(r.left, 0);
        EXPECT_LT(r.top, 10);
    }
    for (int i = 0; i < 50; ++i)
    {
        const CRect r = demo->GetRandomPosition(CRect(0, 0, 30, 20));
        EXPECT_GE(r.left, 0);
        EXPECT_LT(r.left, 70);
        EXPECT_LT(r.top, 30);
        EXPECT_EQ(r.Width(), 30);
    }
    CXFODemoShape loose;
    EXPECT_EQ(loose.GetRandomPosition(CRect(5, 5, 25, 25)), CRect(0, 0, 20, 20));
}
