// CMyRealTimeChartShape (type 632): places a live trend window (CFORealTimeWnd) on a screen. Its
// pens come from the point-list text of custom property 15009; its range and background from the
// shape's value range and background colour. It stores nothing of its own.
#pragma once

#include "figkit/FOWndControlShape.h"

class CFORealTimeWnd;

class CMyRealTimeChartShape : public CFOWndControlShape
{
    DECLARE_SERIAL(CMyRealTimeChartShape)
public:
    CMyRealTimeChartShape();
    CMyRealTimeChartShape(const CMyRealTimeChartShape& src);
    ~CMyRealTimeChartShape() override;
    CFODrawShape* Copy() const override;

    // With nMode 0 the window takes the point list, range and background; else its own defaults.
    // Either way the range and background are then set again and the window is disabled.
    int CreateWnd(CWnd* pParent, int nMode) override;
    void DoAddCustProp() override;
    // Range and background of the shape to the window (after a property change).
    void DoEndPropChange() override;

    CFORealTimeWnd* GetChartWnd() const;
    bool AddALine(DWORD crColor, double dMin, double dMax, const wchar_t* name, const wchar_t* text2,
                  const wchar_t* text3, double dLow, double dHigh, int nStyle, int nWidth);
    void SetLineData(int nLine, double value);
    void UpdateLineData(const CString& name, double value);
    bool InitChart(const wchar_t* text);
    bool UpdateChartData();
    bool UpdateMultiLineData(int nCount, const wchar_t* const* names, double* values);
};
