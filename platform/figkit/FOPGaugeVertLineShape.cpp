#include "figkit/FOPGaugeVertLineShape.h"

IMPLEMENT_SERIAL(CFOPGaugeVertLineShape, CFOPGaugeShapeBase, 0)

CFOPGaugeVertLineShape::CFOPGaugeVertLineShape()
{
    SetType(FO_COMP_GAUGE_VERTLINE);
}

CFOPGaugeVertLineShape::CFOPGaugeVertLineShape(const CFOPGaugeVertLineShape& src) : CFOPGaugeShapeBase(src) {}

CFOPGaugeVertLineShape::~CFOPGaugeVertLineShape() = default;

CFOPGaugeVertLineShape& CFOPGaugeVertLineShape::operator=(const CFOPGaugeVertLineShape& src)
{
    CFOPGaugeShapeBase::operator=(src);
    return *this;
}

CFODrawShape* CFOPGaugeVertLineShape::Copy() const
{
    return new CFOPGaugeVertLineShape(*this);
}

CFOPMeterScale* CFOPGaugeVertLineShape::GenMeterScale()
{
    return new CFOPMeterScale;
}

CFOPIndicator* CFOPGaugeVertLineShape::GenIndicator()
{
    return new CFOPIndicatorBar;
}
