// CFOCpuUsageShape (type 623): a push chart that feeds its two lines (0 green, 1 yellow) with
// random demonstration values on its own 100 ms timer while the screen runs.
#pragma once

#include "model/MyPushChartShape.h"
#include "model/ShapeAnimation.h"

class CFOCpuUsageShape : public CMyPushChartShape
{
    DECLARE_SERIAL(CFOCpuUsageShape)
public:
    enum
    {
        TIMER_PERIOD = 100,
    };

    CFOCpuUsageShape();
    CFOCpuUsageShape(const CFOCpuUsageShape& src);
    ~CFOCpuUsageShape() override;
    CFOCpuUsageShape& operator=(const CFOCpuUsageShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The chart's record; a load that leaves no line gets the two lines back.
    void Serialize(CArchive& ar) override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    // Pushes one pair of values without a repaint.
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    void DoAddCustProp() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

    int GetTimerId() const { return m_timer.GetId(); }

private:
    void AddDemoLines();
    void PushDemoValues();

    CXVKShapeTimer m_timer;
};
