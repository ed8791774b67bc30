// A round gauge: an elliptical scale over 270 degrees, a knob indicator and a number read-out by
// default; derived gauges choose their parts through the factory hooks.
#pragma once

#include "figkit/FOPGaugeShapeBase.h"

class CFOPGaugeCircularShape : public CFOPGaugeShapeBase
{
    DECLARE_SERIAL(CFOPGaugeCircularShape)
public:
    CFOPGaugeCircularShape();
    CFOPGaugeCircularShape(const CFOPGaugeCircularShape& src);
    ~CFOPGaugeCircularShape() override;
    CFOPGaugeCircularShape& operator=(const CFOPGaugeCircularShape& src);
    CFODrawShape* Copy() const override;

    CFOPMeterScale* GenMeterScale() override;
    CFOPIndicator* GenIndicator() override;
    CFOPIndicator* GenNumber() override;

protected:
    // A round dial in the shape's colours.
    void DrawFace(CDC* pDC) override;
};
