// CAnchorShape (type 620): a narrow stem on a wide barrel with a plunger line inside the barrel. The
// plunger hangs on the shape's anchor, which the user drags up and down; at run time it climbs the
// barrel step by step and starts again at the bottom.
#pragma once

#include "figkit/FODrawPortsShape.h"
#include "model/ShapeAnimation.h"

class CAnchorShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CAnchorShape)
public:
    enum
    {
        // Points 0 to 7 are the closed outline; 8 and 9 the plunger at the stem, 10 and 11 the
        // plunger line across the barrel.
        POINT_COUNT = 12,
        OUTLINE_COUNT = 8,
        TIMER_PERIOD = 100,
    };

    CAnchorShape();
    CAnchorShape(const CAnchorShape& src);
    ~CAnchorShape() override;
    // The shape, not its timer (a registered one is stopped) or frame counter.
    CAnchorShape& operator=(const CAnchorShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The base record, then the anchor as 8 raw bytes (x, y: 32-bit signed little-endian).
    void Serialize(CArchive& ar) override;
    void GeometryUpdated(CFOArea* pArea) override;
    void GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const override;

    // Frames of the animation: (3 x (height - 2)) / 16 of the draw rectangle.
    int GetFrameCount() const;
    // Puts the plunger at a frame (0 near the bottom, each frame 4 units higher); nothing with
    // 4 frames or fewer.
    void MoveToFrame(const int& nFrame);
    int GetCurrentFrame() const { return m_nFrame; }
    int GetTimerId() const { return m_timer.GetId(); }

    int OffsetAnchorPoint(CPoint ptOffset) override;
    int TrackOffsetAnchorPoint(CPoint ptOffset) override;
    int OffsetExtAnchorPoint(CPoint ptOffset) override;
    int TrackOffsetExtAnchorPoint(CPoint ptOffset) override;
    int OffsetThirdAnchorPoint(CPoint ptOffset) override;
    int TrackOffsetThirdAnchorPoint(CPoint ptOffset) override;
    int OffsetFourAnchorPoint(CPoint ptOffset) override;
    int TrackOffsetFourAnchorPoint(CPoint ptOffset) override;
    int OffsetFiveAnchorPoint(CPoint ptOffset) override;
    int TrackOffsetFiveAnchorPoint(CPoint ptOffset) override;
    void GetNormalSpotLocation(CFOPHandleList& list) override;
    void GetPlusSpotLocation(CFOPHandleList& list) override;

    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;

    void OnDrawShadow(CDC* pDC) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;
    void OnDrawTrackCustom(CDC* pDC) override;
    void DoDrawVisioOrderLine(CDC* pDC) override;

private:
    void DrawBody(CDC* pDC);
    // The new anchor y for an offset on the canvas, clamped to the barrel (own coordinates).
    int ClampedAnchorY(CPoint ptOffset) const;
    void Step();
    static void DrawFigures(CDC* pDC, const CPoint* pts, int nCount);

    CXVKShapeTimer m_timer;
    int m_nFrame = 0;
};
