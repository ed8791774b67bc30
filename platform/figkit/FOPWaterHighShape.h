// A polygon filled to its value's level like a vessel of water; the state type names the direction
// as for CFOHighShape.
#pragma once

#include "figkit/FOPolygonShape.h"

class CFOPWaterHighShape : public CFOPolygonShape
{
    DECLARE_SERIAL(CFOPWaterHighShape)
public:
    CFOPWaterHighShape();
    CFOPWaterHighShape(const CFOPWaterHighShape& src);
    ~CFOPWaterHighShape() override;
    CFOPWaterHighShape& operator=(const CFOPWaterHighShape& src);
    CFODrawShape* Copy() const override;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
