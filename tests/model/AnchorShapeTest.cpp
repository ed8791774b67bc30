#include "ModelTestSupport.h"

#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPHandle.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Dc.h"
#include "model/AnchorShape.h"
#include "model/XVKDataModel.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace model_test;

namespace
{
// Paints the model the way a canvas does.
void Paint(CXVKDataModel& model)
{
    QImage image(400, 400, QImage::Format_RGB32);
    CImageDC dc(image);
    model.OnDraw(&dc, CRect(0, 0, 400, 400));
}
} // namespace

class AnchorShape : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(AnchorShape, CreateLaysOutTheTwelvePointsFromANormalisedRectangle)
{
    CAnchorShape a;
    CRect rc(110, 180, 10, 20); // right-to-left, bottom-to-top
    a.Create(rc);
    // L 10, T 20, R 110, B 180, cx 60, cy 100, H 160.
    const CPoint expected[12] = {{65, 20},  {55, 20}, {55, 60},  {10, 60},  {10, 180}, {110, 180},
                                 {110, 60}, {65, 60}, {55, 120}, {65, 120}, {10, 120}, {110, 120}};
    ASSERT_EQ(a.GetPointCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(a.GetPoint(i), expected[i]) << i;
    EXPECT_EQ(a.GetAnchorPoint(), CPoint(60, 120));
    EXPECT_EQ(a.GetDisplayAnchorPoint(), CPoint(60, 120));
    EXPECT_EQ(a.GetDrawRect(), CRect(10, 20, 110, 180));
    ASSERT_EQ(a.GetPortCount(), 1);
    EXPECT_EQ(a.GetType(), 620u);
    EXPECT_EQ(a.GetBkColor(), COLORREF(0xFFFFFF));
    CFOPHandleList handles;
    a.GetPlusSpotLocation(handles);
    ASSERT_EQ(handles.GetCount(), 1);
    EXPECT_EQ(handles.GetAt(0).m_nKind, 14);
    EXPECT_TRUE(handles.GetAt(0).m_pt == CPoint(60, 120));
    a.GetNormalSpotLocation(handles);
    EXPECT_EQ(handles.GetCount(), 9);
}

TEST_F(AnchorShape, FramesClimbTheBarrelAndStartAgain)
{
    CAnchorShape a;
    CRect rc(0, 0, 40, 40);
    a.Create(rc);
    EXPECT_EQ(a.GetFrameCount(), 7); // (3 x 38) / 16
    std::vector<int> frames;
    std::vector<int> heights;
    for (int i = 0; i < 8; ++i)
    {
        a.DoAnimate();
        frames.push_back(a.GetCurrentFrame());
        heights.push_back(a.GetPoint(10).y);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 6, 0, 1}));
    // Each frame lifts the plunger 4 units; frame 0 puts it back near the bottom.
    EXPECT_EQ(heights[1] - heights[0], -4);
    EXPECT_GT(heights[6], heights[5]);
    EXPECT_EQ(a.GetAnchorPoint().y, a.GetPoint(10).y);

    CAnchorShape small;
    CRect rs(0, 0, 40, 24);
    small.Create(rs);
    EXPECT_EQ(small.GetFrameCount(), 4);
    const CPoint before = small.GetPoint(10);
    small.DoAnimate();
    small.MoveToFrame(2);
    EXPECT_EQ(small.GetPoint(10), before);
}

TEST_F(AnchorShape, AnchorOffsetsClampOnlyForTurnedShapes)
{
    CAnchorShape a;
    CRect rc(0, 0, 100, 160);
    a.Create(rc);
    EXPECT_EQ(a.OffsetAnchorPoint(CPoint(50, 1000)), 1);
    EXPECT_EQ(a.GetAnchorPoint(), CPoint(50, 1100)); // x kept, y not clamped
    EXPECT_EQ(a.GetPoint(8).y, 1100);

    CAnchorShape t;
    t.Create(rc);
    t.RotateShape(90, 50, 80);
    ASSERT_NE(t.GetMatrixData(), nullptr);
    // Dragging far beyond the barrel stops at its ends.
    t.OffsetAnchorPoint(CPoint(-1000, 0));
    const int y1 = t.GetAnchorPoint().y;
    t.OffsetAnchorPoint(CPoint(1000, 0));
    const int y2 = t.GetAnchorPoint().y;
    EXPECT_EQ(std::min(y1, y2), t.GetPoint(6).y);
    EXPECT_EQ(std::max(y1, y2), t.GetPoint(5).y);
    // Tracking moves only the track points.
    const CPoint anchor = t.GetAnchorPoint();
    EXPECT_EQ(t.TrackOffsetAnchorPoint(CPoint(5, 5)), 1);
    EXPECT_EQ(t.GetAnchorPoint(), anchor);
    EXPECT_EQ(t.GetTrackPointCount(), 12);
}

TEST_F(AnchorShape, RecordKeepsTheAnchorAndRefusesDamage)
{
    CAnchorShape a;
    CRect rc(0, 0, 100, 160);
    a.Create(rc);
    a.OffsetAnchorPoint(CPoint(0, -30));
    a.DoAddCustProp();
    BOOL on = TRUE;
    EXPECT_TRUE(a.GetPropBoolValue(on, 1924));
    EXPECT_FALSE(on);
    const auto bytes = StoreBytes([&](CArchive& ar) { a.Serialize(ar); });
    CAnchorShape back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetAnchorPoint(), a.GetAnchorPoint());
    EXPECT_EQ(back.GetPoint(9), a.GetPoint(9));
    // The anchor is the last 8 bytes; any cut into them is the end of the file.
    for (size_t cut = 1; cut <= 8; ++cut)
    {
        std::vector<BYTE> shorter(bytes.begin(), bytes.end() - ptrdiff_t(cut));
        EXPECT_EQ(ArchiveCause(
                      [&]
                      {
                          LoadBytes(shorter,
                                    [](CArchive& ar)
                                    {
                                        CAnchorShape s;
                                        s.Serialize(ar);
                                    });
                      }),
                  CArchiveException::endOfFile);
    }
    // A record with too few points for the drawing is refused.
    CFODrawPortsShape plain;
    plain.Create(rc);
    const auto wrong = StoreBytes(
        [&](CArchive& ar)
        {
            plain.Serialize(ar);
            ar << int(1) << int(2);
        });
    EXPECT_EQ(ArchiveCause(
                  [&]
                  {
                      LoadBytes(wrong,
                                [](CArchive& ar)
                                {
                                    CAnchorShape s;
                                    s.Serialize(ar);
                                });
                  }),
              CArchiveException::badSchema);
}

TEST_F(AnchorShape, AnimatesOnShapeTimersOnlyOutsideDesignMode)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 400)));
    canvas.SetCurrentModel(&model);
    CRect rc(20, 20, 140, 180);
    auto* anchor = static_cast<CAnchorShape*>(model.DoCreateShapeByType(620, rc, CString()));
    model.InsertShape(anchor);
    anchor->Release();

    // Design mode: painting starts nothing.
    Paint(model);
    EXPECT_EQ(anchor->GetTimerId(), -1);

    canvas.SetDesignMode(FALSE);
    Paint(model);
    const int id = anchor->GetTimerId();
    EXPECT_GE(id, 1);
    Paint(model); // a registered timer stays as it is
    EXPECT_EQ(anchor->GetTimerId(), id);
    const int frame = anchor->GetCurrentFrame();
    EXPECT_TRUE(PumpUntil([&] { return anchor->GetCurrentFrame() != frame; }));

    // Back to design mode: the timer stops at once, without waiting for a paint.
    canvas.SetDesignMode(TRUE);
    EXPECT_EQ(anchor->GetTimerId(), -1);
    EXPECT_FALSE(CFOPDrawWnd::IsShapeTimerRunning(id));
    const int stopped = anchor->GetCurrentFrame();
    PumpUntil([] { return false; }, 250);
    EXPECT_EQ(anchor->GetCurrentFrame(), stopped);

    // Run mode again: a new timer; leaving the canvas stops it.
    canvas.SetDesignMode(FALSE);
    Paint(model);
    const int id2 = anchor->GetTimerId();
    EXPECT_GT(id2, id);
    canvas.SetCurrentModel(nullptr);
    EXPECT_EQ(anchor->GetTimerId(), -1);
    EXPECT_FALSE(CFOPDrawWnd::IsShapeTimerRunning(id2));
    canvas.SetCurrentModel(&model);

    // With the animation switched off, painting starts nothing.
    anchor->PutPropBoolValue(1924, FALSE);
    Paint(model);
    EXPECT_EQ(anchor->GetTimerId(), -1);
    anchor->PutPropBoolValue(1924, TRUE);
    Paint(model);
    EXPECT_GE(anchor->GetTimerId(), 1);

    // A copy has no timer, and copying onto a running shape stops its timer.
    CAnchorShape copy(*anchor);
    EXPECT_EQ(copy.GetTimerId(), -1);
    const int id3 = anchor->GetTimerId();
    *anchor = copy;
    EXPECT_EQ(anchor->GetTimerId(), -1);
    EXPECT_FALSE(CFOPDrawWnd::IsShapeTimerRunning(id3));

    // Destroying a shape with a running timer stops it.
    Paint(model);
    const int id4 = anchor->GetTimerId();
    EXPECT_GE(id4, 1);
    model.RemoveAllShapes();
    EXPECT_FALSE(CFOPDrawWnd::IsShapeTimerRunning(id4));
}
