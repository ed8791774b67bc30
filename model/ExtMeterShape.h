// CExtMeterShape (type 607): a dial meter, a 60-degree arc band with three ticks, a sunken read-out
// frame, a triangular needle, the range at the ends, a units caption and the value as text. At run
// time with property 1924 on the needle sweeps between the ends, until a value reaches it. Its range, units,
// precisions and needle colour are not stored: a loaded meter has the defaults.
#pragma once

#include "figkit/FODrawPortsShape.h"
#include "mfc/Dc.h"
#include "model/ShapeAnimation.h"

class CExtMeterShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CExtMeterShape)
public:
    enum
    {
        TIMER_PERIOD = 100,
        BAND_POINTS = 48,
    };

    CExtMeterShape();
    CExtMeterShape(const CExtMeterShape& src);
    ~CExtMeterShape() override;
    // The meter's look and range, not its timer or sweep.
    CExtMeterShape& operator=(const CExtMeterShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    BOOL GetRotateSpotLocation(CPoint&) { return FALSE; }

    void SetMeterValue(double dValue);
    // A value that reaches the meter (a bound tag or variable) is what the needle shows, on the scale
    // of the shape's value range when it has one; from then on the needle no longer sweeps.
    void SetCurrentValue(double dValue) override;
    BOOL IsShowingValue() const { return m_bShowValue; }
    double GetMeterValue() const { return m_dValue; }
    void SetRange(double dMin, double dMax)
    {
        m_dMinValue = dMin;
        m_dMaxValue = dMax;
    }
    double GetMeterMin() const { return m_dMinValue; }
    double GetMeterMax() const { return m_dMaxValue; }
    void SetUnits(const CString& s) { m_strUnits = s; }
    const CString& GetUnits() const { return m_strUnits; }
    void SetNeedleColor(COLORREF cr) { m_crNeedle = cr; }
    COLORREF GetNeedleColor() const { return m_crNeedle; }
    void SetPrecision(int nLabels, int nValue)
    {
        m_nScaleDecimals = nLabels;
        m_nValueDecimals = nValue;
    }
    double GetAnimationStep() const { return m_dStep; }
    double GetAnimationPosition() const { return m_dPosition; }
    int GetTimerId() const { return m_timer.GetId(); }

    // The needle's angle in degrees (120 at the minimum, 60 at the maximum, clamped to them). With
    // equal bounds a value above them stands at the maximum end, any other at the minimum end.
    double GetNeedleAngle() const;
    // One sweep step: the position moves by the step and turns at the ends.
    void AnimateStep();

    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

    void DrawMeterScale(CDC* pDC, const CRect& rect);
    void DrawMeterNeedle(CDC* pDC);
    void DrawMeterValue(CDC* pDC);

private:
    void DrawBody(CDC* pDC);
    CPoint DialPoint(double dAngle, double dRadius) const;

    int m_nCenterX = 0;
    int m_nCenterY = 0;
    int m_nRadiusInner = 0;
    int m_nRadiusOuter = 0;
    int m_nTextHeight = 0;
    int m_nValueBaseline = 0;
    int m_nValueCenter = 0;
    double m_dRadiansStart = 0.0;
    double m_dRadiansEnd = 0.0;
    CRect m_rectValue;
    CPoint m_aBand[BAND_POINTS];
    CFont m_fontValue;
    COLORREF m_crWindow = 0;
    COLORREF m_crHighlight = 0;
    COLORREF m_crShadow = 0;
    COLORREF m_crText = 0;
    int m_nScaleDecimals = 1;
    int m_nValueDecimals = 3;
    double m_dValue = 0.0;
    double m_dMaxValue = 5.0;
    double m_dMinValue = -5.0;
    COLORREF m_crNeedle = 255;
    CString m_strUnits = L"Volts";
    CXVKShapeTimer m_timer;
    double m_dStep = 0.2;
    double m_dPosition = 0.0;
    BOOL m_bShowValue = FALSE;
};
