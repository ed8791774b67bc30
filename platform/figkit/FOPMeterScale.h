// The gauge framework's scales. A scale maps a value range onto its shape's geometry and draws its
// ticks and labels; an indicator (FOPIndicator.h) shows a value on it. The shape that owns both
// answers the geometry through IFOPMeterHost.
//
// Equal bounds never divide: a value above them stands at the maximum end, any other at the
// minimum end; a value that is not finite stands at the minimum end.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

class CArchive;
class CDC;

class IFOPMeterHost
{
public:
    virtual ~IFOPMeterHost() = default;
    // A linear scale runs from the start point (its minimum) to the end point.
    virtual CPoint GetMeterStartPoint() const = 0;
    virtual CPoint GetMeterEndPoint() const = 0;
    // A round scale lies in this rectangle.
    virtual CRect GetMeterRect() const = 0;
};

class CFOPMeterScale : public CObject
{
    DECLARE_SERIAL(CFOPMeterScale)
public:
    enum
    {
        // Style members: tick mark, minor tick length, major tick length, label side, label digits.
        STYLE_COUNT = 5,
    };

    CFOPMeterScale();
    CFOPMeterScale(const CFOPMeterScale& src) = default;
    CFOPMeterScale& operator=(const CFOPMeterScale& src) = default;
    ~CFOPMeterScale() override = default;
    virtual CFOPMeterScale* Copy() const { return new CFOPMeterScale(*this); }

    void SetMeterShape(IFOPMeterHost* pHost) { m_pHost = pHost; }
    IFOPMeterHost* GetMeterShape() const { return m_pHost; }

    int GetMinimum() const { return m_nMinimum; }
    void SetMinimum(int n) { m_nMinimum = n; }
    int GetMaximum() const { return m_nMaximum; }
    void SetMaximum(int n) { m_nMaximum = n; }
    // Distance between ticks in value units; every nth tick is a major one with a label.
    double GetTickUnit() const { return m_dTickUnit; }
    void SetTickUnit(double d) { m_dTickUnit = d; }
    int GetTickMajorFrequency() const { return m_nMajorFrequency; }
    void SetTickMajorFrequency(int n) { m_nMajorFrequency = n; }
    COLORREF GetScaleColor() const { return m_crScale; }
    void SetScaleColor(COLORREF cr) { m_crScale = cr; }
    COLORREF GetLabelColor() const { return m_crLabel; }
    void SetLabelColor(COLORREF cr) { m_crLabel = cr; }
    int GetStyle(int nIndex) const;
    // Ranges 0 to 4, 0 to 4, 0 to 4, 0 to 3 and 0 to 6; a value outside is ignored.
    void SetStyle(int nIndex, int nValue);

    // Where a value stands on the scale, 0 (minimum) to 1.
    double ValueToFraction(double dValue) const;
    // The value at a fraction of the scale.
    double FractionToValue(double dFraction) const;
    // The point of a value on a linear scale, moved nSide pixels to the right of it.
    virtual CPoint ValueToPoint(double dValue, int nSide = 0) const;
    // The value nearest to a point (not clamped beyond the ends).
    virtual double PointToValue(CPoint point) const;

    virtual void Draw(CDC* pDC);
    // The host's geometry changed.
    virtual void GeometryUpdated() {}

    // Version, range, ticks, colours and styles. Values that would make drawing loop are refused.
    void Serialize(CArchive& ar) override;

protected:
    // The tick values from the minimum up, at most a few hundred.
    int TickCount() const;
    CString FormatLabel(double dValue) const;

    IFOPMeterHost* m_pHost = nullptr;
    int m_nMinimum = 0;
    int m_nMaximum = 100;
    double m_dTickUnit = 10.0;
    int m_nMajorFrequency = 5;
    COLORREF m_crScale = 0;
    COLORREF m_crLabel = 0;
    int m_aStyles[STYLE_COUNT] = {1, 1, 2, 1, 0};
};

// A scale round an ellipse: from the start angle clockwise over the sweep (degrees clockwise from
// 3 o'clock on the screen, so 90 is straight down).
class CFOPMeterEllipticalScale : public CFOPMeterScale
{
    DECLARE_SERIAL(CFOPMeterEllipticalScale)
public:
    CFOPMeterEllipticalScale() = default;
    CFOPMeterScale* Copy() const override { return new CFOPMeterEllipticalScale(*this); }

    double GetStartAngle() const { return m_dStartAngle; }
    void SetStartAngle(double d) { m_dStartAngle = d; }
    double GetSweepAngle() const { return m_dSweepAngle; }
    void SetSweepAngle(double d) { m_dSweepAngle = d; }
    int GetScaleStyle() const { return m_nScaleStyle; }
    void SetScaleStyle(int n) { m_nScaleStyle = n; }

    // The screen angle (degrees, counter-clockwise from 3 o'clock) of a value.
    double ValueToAngle(double dValue) const;
    // The centre and radius of the scale's ring.
    CPoint GetCentre() const;
    int GetRadius() const;
    // The point of a value at a fraction of the radius.
    CPoint ValueToRadiusPoint(double dValue, double dRadiusFraction) const;
    CPoint ValueToPoint(double dValue, int nSide = 0) const override;
    double PointToValue(CPoint point) const override;
    void Draw(CDC* pDC) override;
    void Serialize(CArchive& ar) override;

protected:
    double m_dStartAngle = 135.0;
    double m_dSweepAngle = 270.0;
    int m_nScaleStyle = 0;
};
