// A vertical gauge: a scale with ticks and a bar that rises with the current value.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFOPGaugeVertLineShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOPGaugeVertLineShape)
public:
    CFOPGaugeVertLineShape();
    CFOPGaugeVertLineShape(const CFOPGaugeVertLineShape& src);
    ~CFOPGaugeVertLineShape() override;
    CFOPGaugeVertLineShape& operator=(const CFOPGaugeVertLineShape& src);
    CFODrawShape* Copy() const override;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
