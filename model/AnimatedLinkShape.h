// CAnimatedLinkShape (type 622): a link along which a small red dot travels from the first point to
// the last at run time; CExtEllipseShape (type 605): an ellipse whose fill blinks between two
// colours at run time.
#pragma once

#include "figkit/FOEllipseShape2.h"
#include "figkit/FOLinkShape.h"
#include "model/ShapeAnimation.h"

class CAnimatedLinkShape : public CFOLinkShape
{
    DECLARE_SERIAL(CAnimatedLinkShape)
public:
    enum
    {
        TIMER_PERIOD = 50,
    };

    CAnimatedLinkShape();
    // The link; the dot and timer are not copied (a running timer of the target keeps running).
    CAnimatedLinkShape(const CAnimatedLinkShape& src);
    ~CAnimatedLinkShape() override;
    CAnimatedLinkShape& operator=(const CAnimatedLinkShape& src);
    CFODrawShape* Copy() const override;

    using CFOLinkShape::Create;
    void Create(const POINT* points, int nCount, CFOPortShape* pFrom, CFOPortShape* pTo) override;
    void Create(const CArray<CPoint, CPoint>* pPoints, CFOPortShape* pFrom, CFOPortShape* pTo) override;
    void RelayoutTrackPoints() override;

    // The dot advances 3 units and the shape is redrawn.
    void Step();
    int GetSegment() const { return m_nSegment; }
    float GetDistance() const { return m_fDistance; }
    int GetTimerId() const { return m_timer.GetId(); }
    // Where the dot stands now; moves to the next segment once the distance passed this one.
    CPoint CalcDotPoint();

    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    // The 3-D look is the base's, over this.
    void OnDrawFlat(CDC* pDC) override;

private:
    void DrawDot(CDC* pDC);

    CXVKShapeTimer m_timer;
    int m_nSegment = 0;
    float m_fDistance = 0.0f;
};

class CExtEllipseShape : public CFOEllipseShape2
{
    DECLARE_SERIAL(CExtEllipseShape)
public:
    enum
    {
        TIMER_PERIOD = 400,
    };
    static constexpr COLORREF BLINK_ON = 0x00FFCC00;
    static constexpr COLORREF BLINK_OFF = 0x0000FF00;

    CExtEllipseShape();
    CExtEllipseShape(const CExtEllipseShape& src);
    ~CExtEllipseShape() override;
    CExtEllipseShape& operator=(const CExtEllipseShape& src);
    CFODrawShape* Copy() const override;

    // Inverts the blink flag and takes its colour.
    void Blink();
    int GetBlinkFlag() const { return m_nBlink; }
    int GetTimerId() const { return m_timer.GetId(); }

    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    // The 3-D look is the base's, over this.
    void OnDrawFlat(CDC* pDC) override;

private:
    CXVKShapeTimer m_timer;
    int m_nBlink = 1;
};
