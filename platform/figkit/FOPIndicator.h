// The gauge framework's indicators: what shows a value on a scale (FOPMeterScale.h). An indicator
// keeps its value, the unit its value is rounded to when the operator drags it, and coloured
// phases (value bands).
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <vector>

class CArchive;
class CDC;
class CFOPMeterScale;

struct FOPIndicatorPhase
{
    double dStart;
    double dEnd;
    COLORREF crColor;
};

class CFOPIndicator : public CObject
{
    DECLARE_SERIAL(CFOPIndicator)
public:
    enum
    {
        MAX_PHASES = 64,
    };

    CFOPIndicator() = default;
    CFOPIndicator(const CFOPIndicator& src) = default;
    CFOPIndicator& operator=(const CFOPIndicator& src) = default;
    ~CFOPIndicator() override = default;
    virtual CFOPIndicator* Copy() const { return new CFOPIndicator(*this); }

    double GetValue() const { return m_dValue; }
    void SetValue(double d) { m_dValue = d; }
    double GetQuantizeUnit() const { return m_dQuantizeUnit; }
    void SetQuantizeUnit(double d) { m_dQuantizeUnit = d; }
    // The value rounded to the nearest multiple of the quantize unit (unchanged for a unit that is
    // not above 0 or not finite).
    double Quantize(double dValue) const;

    void AddPhase(double dStart, double dEnd, COLORREF crColor);
    int GetPhaseCount() const { return int(m_aPhases.size()); }
    const FOPIndicatorPhase& GetPhase(int i) const { return m_aPhases.at(size_t(i)); }
    void RemoveAllPhases() { m_aPhases.clear(); }
    // The colour of the phase that holds a value; crDefault when none does.
    COLORREF PhaseColorAt(double dValue, COLORREF crDefault) const;

    // The indicator on its scale; the base draws nothing.
    virtual void Draw(CDC* pDC, const CFOPMeterScale* pScale);

    void Serialize(CArchive& ar) override;

protected:
    double m_dValue = 0.0;
    double m_dQuantizeUnit = 1.0;
    std::vector<FOPIndicatorPhase> m_aPhases;
};

// A round knob in the middle of an elliptical scale with a mark that points at the value.
class CFOPIndicatorKnob : public CFOPIndicator
{
    DECLARE_SERIAL(CFOPIndicatorKnob)
public:
    CFOPIndicator* Copy() const override { return new CFOPIndicatorKnob(*this); }
    void Draw(CDC* pDC, const CFOPMeterScale* pScale) override;
};

// The value written in a box below the middle of the scale.
class CFOPIndicatorNumber : public CFOPIndicator
{
    DECLARE_SERIAL(CFOPIndicatorNumber)
public:
    CFOPIndicator* Copy() const override { return new CFOPIndicatorNumber(*this); }
    CSize GetSize() const { return m_szBox; }
    void SetSize(CSize sz) { m_szBox = sz; }
    COLORREF GetBackColor() const { return m_crBack; }
    void SetBackColor(COLORREF cr) { m_crBack = cr; }
    COLORREF GetTextColor() const { return m_crText; }
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    // The text of the value: whole numbers for a quantize unit of 1 or more.
    CString FormatValue() const;
    void Draw(CDC* pDC, const CFOPMeterScale* pScale) override;
    void Serialize(CArchive& ar) override;

protected:
    CSize m_szBox = CSize(60, 30);
    COLORREF m_crBack = 0;
    COLORREF m_crText = 0xFFFFFF;
};

// Coloured phase bands inside an elliptical scale and a needle at the value.
class CFOPIndicatorElliptical : public CFOPIndicator
{
    DECLARE_SERIAL(CFOPIndicatorElliptical)
public:
    CFOPIndicator* Copy() const override { return new CFOPIndicatorElliptical(*this); }
    void Draw(CDC* pDC, const CFOPMeterScale* pScale) override;
};

// A bar along a linear scale from the minimum to the value, in the colour of the value's phase,
// over the phase bands.
class CFOPIndicatorBar : public CFOPIndicator
{
    DECLARE_SERIAL(CFOPIndicatorBar)
public:
    CFOPIndicator* Copy() const override { return new CFOPIndicatorBar(*this); }
    double GetBarWidth() const { return m_dBarWidth; }
    void SetBarWidth(double d) { m_dBarWidth = d; }
    void Draw(CDC* pDC, const CFOPMeterScale* pScale) override;
    void Serialize(CArchive& ar) override;

protected:
    double m_dBarWidth = 16.0;
};
