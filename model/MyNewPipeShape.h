// CMyNewPipeShape (type 697): a polyline drawn as a pipe, an outer wall in the line colour, a
// hollow inside in the background colour, ends closed or open (property 922), and at run time with
// property 1924 on a dashed flow (property 2722's colour) that moves along it.
//
// A pipe width below 1 draws as 1; the stored property keeps its value.
#pragma once

#include "figkit/FOLineShape.h"
#include "model/ShapeAnimation.h"

#include <vector>

class CMyNewPipeShape : public CFOLineShape
{
    DECLARE_SERIAL(CMyNewPipeShape)
public:
    enum
    {
        PROP_PIPE_WIDTH = 1606,
        PROP_OPEN_ENDS = 922,
        PROP_FLOW_COLOR = 2722,
        FRAMES = 12,
    };

    CMyNewPipeShape();
    CMyNewPipeShape(const CMyNewPipeShape& src);
    ~CMyNewPipeShape() override;
    // The line and the timer speed.
    CMyNewPipeShape& operator=(const CMyNewPipeShape& src);
    CFODrawShape* Copy() const override;

    // The line's record; loading starts without flow.
    void Serialize(CArchive& ar) override;

    int GetPipeLineWidth() const;
    void SetPipeLineWidth(int nWidth);
    COLORREF GetPipeLineColor() const;
    void SetPipeLineColor(COLORREF cr);
    BOOL IsOpenEnds() const;
    void SetTimerSpeed(int nMilliseconds);
    int GetTimerSpeed() const { return m_nTimerSpeed; }
    int GetFlowFrame() const { return m_nFlowFrame; }
    int GetTimerId() const { return m_timer.GetId(); }

    // The dash lengths of a flow frame for a pipe width: dash, gap, dash, gap.
    static void FlowPattern(int nFrame, int nWidth, DWORD pattern[4]);
    // The inner line's points: with closed ends the first and last points pulled in by d.
    static std::vector<CPoint> InnerPoints(const CPoint* points, int nCount, BOOL bOpenEnds, int d);

    void DoSubMenuChange(const int& nIndex, const CString& strState) override;
    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    void OnDrawShadow(CDC*) override {}
    // Both looks draw alike (the line's 3-D look calls this).
    void OnDrawFlat(CDC* pDC) override;
    virtual void DoDrawPipeLine(CDC* pDC, const CPoint* points, int nCount, int nLineWidth, int nPipeWidth,
                                COLORREF crLine, COLORREF crBack, COLORREF crPattern);

private:
    CXVKShapeTimer m_timer;
    int m_nTimerSpeed = 100;
    int m_nFlowFrame = 2;
    int m_nStepSwitch = 2;
};
