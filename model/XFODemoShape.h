// CXFODemoShape (type 698): the maker's mark that every loaded screen gets. Outside design mode it
// fades step by step on a 250 ms timer and every 20 ticks jumps to a random place in a random
// colour. It is never stored with the screen.
#pragma once

#include "figkit/FOCompositeShape.h"
#include "model/ShapeAnimation.h"

#define XFO_DEMO_SHAPE_TYPE 698

class CXFODemoShape : public CFOCompositeShape
{
    DECLARE_SERIAL(CXFODemoShape)
public:
    enum
    {
        TIMER_PERIOD = 250,
        TICKS_PER_JUMP = 20,
    };

    CXFODemoShape();
    CXFODemoShape(const CXFODemoShape& src);
    ~CXFODemoShape() override;
    CXFODemoShape& operator=(const CXFODemoShape& src);
    CFODrawShape* Copy() const override;

    // An empty rectangle places the 140 x 40 mark at a random place of the page.
    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The composite's record alone.
    void Serialize(CArchive& ar) override;

    // The size test of timed shapes (see XVKPositionCorrect).
    BOOL PositionCorrect() const { return XVKPositionCorrect(this); }
    // A rectangle of r's size at a random place of the model's page; at 0 on an axis where the page
    // is not larger than r.
    CRect GetRandomPosition(const CRect& r) const;
    static COLORREF RandomColor();
    void ChangeShapeLook();
    void AnimateShapeLook();

    int GetTimerId() const { return m_timer.GetId(); }
    int GetTickCount() const { return m_nTickCount; }
    int GetChangeCount() const { return m_nChangeCount; }

    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override { return 1; }
    void DoStartTimer() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

private:
    CXVKShapeTimer m_timer;
    int m_nChangeCount = 0;
    int m_nTickCount = 0;
};
