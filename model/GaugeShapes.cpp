#include "model/GaugeShapes.h"

#include "mfc/SysColor.h"

IMPLEMENT_SERIAL(CFOPGaugeKnobShape, CFOPGaugeCircularShape, 0)
IMPLEMENT_SERIAL(CFOPGaugeMultiPhaseEllipseShape, CFOPGaugeKnobShape, 0)
IMPLEMENT_SERIAL(CFOPGaugeMultiPhaseBarShape, CFOPGaugeVertLineShape, 0)

namespace
{
void AddTrafficLight(CFOPIndicator* p, double dGreenEnd, double dYellowEnd)
{
    p->AddPhase(0.0, dGreenEnd, 0x008000);
    p->AddPhase(dGreenEnd, dYellowEnd, 0x00FFFF);
    p->AddPhase(dYellowEnd, 100.0, 0x0000FF);
    p->SetQuantizeUnit(2.0);
}
} // namespace

CFOPGaugeKnobShape::CFOPGaugeKnobShape()
{
    SetType(617);
    SetBrushType(56);
    SetBkColor(0xC09A00);
    SetPatternColor(0xA7CC00);
    SetFontColor(0xFFFFFF);
    SetLineColor(0xFFFFFF);
}

CFOPMeterScale* CFOPGaugeKnobShape::GenMeterScale()
{
    auto* scale = new CFOPMeterEllipticalScale;
    scale->SetStartAngle(110.0);
    scale->SetSweepAngle(320.0);
    scale->SetTickUnit(2.0);
    scale->SetTickMajorFrequency(5);
    scale->SetScaleStyle(1);
    scale->SetScaleColor(GetSysColor(COLOR_BTNFACE));
    return scale;
}

CFOPIndicator* CFOPGaugeKnobShape::GenIndicator()
{
    auto* knob = new CFOPIndicatorKnob;
    knob->SetQuantizeUnit(2.0);
    return knob;
}

CFOPIndicator* CFOPGaugeKnobShape::GenNumber()
{
    auto* number = new CFOPIndicatorNumber;
    number->SetSize(CSize(60, 30));
    number->SetBackColor(0x57003D);
    number->SetTextColor(0xFFFFFF);
    number->SetQuantizeUnit(2.0);
    return number;
}

CFOPGaugeMultiPhaseEllipseShape::CFOPGaugeMultiPhaseEllipseShape()
{
    SetType(618);
    SetBrushType(57);
    SetBkColor(0xC09AAB);
    SetPatternColor(0xA7CCFA);
    SetFontColor(0x000000);
    SetLineColor(0x000000);
}

CFOPIndicator* CFOPGaugeMultiPhaseEllipseShape::GenIndicator()
{
    auto* p = new CFOPIndicatorElliptical;
    AddTrafficLight(p, 40.0, 80.0);
    return p;
}

CFOPGaugeMultiPhaseBarShape::CFOPGaugeMultiPhaseBarShape()
{
    SetType(619);
    SetBkColor(0xA0FFA0);
}

CFOPMeterScale* CFOPGaugeMultiPhaseBarShape::GenMeterScale()
{
    return new CFOPMeterScale;
}

CFOPIndicator* CFOPGaugeMultiPhaseBarShape::GenIndicator()
{
    auto* p = new CFOPIndicatorBar;
    AddTrafficLight(p, 30.0, 60.0);
    p->SetValue(85.0);
    return p;
}
