// A vertical gauge: a linear scale from the foot to the head of the shape and a bar indicator.
#pragma once

#include "figkit/FOPGaugeShapeBase.h"

class CFOPGaugeVertLineShape : public CFOPGaugeShapeBase
{
    DECLARE_SERIAL(CFOPGaugeVertLineShape)
public:
    CFOPGaugeVertLineShape();
    CFOPGaugeVertLineShape(const CFOPGaugeVertLineShape& src);
    ~CFOPGaugeVertLineShape() override;
    CFOPGaugeVertLineShape& operator=(const CFOPGaugeVertLineShape& src);
    CFODrawShape* Copy() const override;

    CFOPMeterScale* GenMeterScale() override;
    CFOPIndicator* GenIndicator() override;
};
