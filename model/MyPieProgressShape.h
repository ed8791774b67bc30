// CMyPieProgressShape (type 621): a progress position shown as a pie wedge with its percentage,
// like a progress control (integer range, position and step). At run time with property 1924 on it
// steps every 500 ms and starts again at 0 after reaching exactly 100. Range, position and step are
// not stored.
#pragma once

#include "figkit/FORectShape.h"
#include "model/ShapeAnimation.h"

class CMyPieProgressShape : public CFORectShape
{
    DECLARE_SERIAL(CMyPieProgressShape)
public:
    enum
    {
        TIMER_PERIOD = 500,
    };

    CMyPieProgressShape();
    CMyPieProgressShape(const CMyPieProgressShape& src);
    ~CMyPieProgressShape() override;
    CMyPieProgressShape& operator=(const CMyPieProgressShape& src);
    CFODrawShape* Copy() const override;

    void SetRange(int a, int b);
    void GetRange(int& nLower, int& nUpper) const
    {
        nLower = m_nLower;
        nUpper = m_nUpper;
    }
    // Clamps into the range; returns p as passed.
    int SetPos(int p);
    int GetPos() const { return m_nPos; }
    int OffsetPos(int d);
    void SetStep(int s) { m_nStep = s; }
    int StepIt();
    // The percentage shown: 0 with equal bounds.
    int GetPercent() const;
    int GetTimerId() const { return m_timer.GetId(); }

    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    // The 3-D look is the rectangle's, over this.
    void OnDrawFlat(CDC* pDC) override;

private:
    void Animate();
    void DrawPie(CDC* pDC);

    int m_nPos = 5;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nStep = 5;
    CXVKShapeTimer m_timer;
};
