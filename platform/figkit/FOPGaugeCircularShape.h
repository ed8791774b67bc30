// A round gauge: a dial with ticks over a 270-degree sweep and a needle at the current value.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFOPGaugeCircularShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOPGaugeCircularShape)
public:
    CFOPGaugeCircularShape();
    CFOPGaugeCircularShape(const CFOPGaugeCircularShape& src);
    ~CFOPGaugeCircularShape() override;
    CFOPGaugeCircularShape& operator=(const CFOPGaugeCircularShape& src);
    CFODrawShape* Copy() const override;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
