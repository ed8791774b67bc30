// The round and bar gauges of a screen, each choosing its parts through the gauge factory hooks:
// CFOPGaugeKnobShape (617), CFOPGaugeMultiPhaseEllipseShape (618) and
// CFOPGaugeMultiPhaseBarShape (619). Value, range, dragging and drawing are the gauge base's.
#pragma once

#include "figkit/FOPGaugeCircularShape.h"
#include "figkit/FOPGaugeVertLineShape.h"

class CFOPGaugeKnobShape : public CFOPGaugeCircularShape
{
    DECLARE_SERIAL(CFOPGaugeKnobShape)
public:
    CFOPGaugeKnobShape();
    CFODrawShape* Copy() const override { return new CFOPGaugeKnobShape(*this); }
    CFOPMeterScale* GenMeterScale() override;
    CFOPIndicator* GenIndicator() override;
    CFOPIndicator* GenNumber() override;
};

class CFOPGaugeMultiPhaseEllipseShape : public CFOPGaugeKnobShape
{
    DECLARE_SERIAL(CFOPGaugeMultiPhaseEllipseShape)
public:
    CFOPGaugeMultiPhaseEllipseShape();
    CFODrawShape* Copy() const override { return new CFOPGaugeMultiPhaseEllipseShape(*this); }
    CFOPIndicator* GenIndicator() override;
};

class CFOPGaugeMultiPhaseBarShape : public CFOPGaugeVertLineShape
{
    DECLARE_SERIAL(CFOPGaugeMultiPhaseBarShape)
public:
    CFOPGaugeMultiPhaseBarShape();
    CFODrawShape* Copy() const override { return new CFOPGaugeMultiPhaseBarShape(*this); }
    CFOPMeterScale* GenMeterScale() override;
    CFOPIndicator* GenIndicator() override;
};
