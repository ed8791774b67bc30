// An ellipse in its rectangle: the plain ellipse of imported drawings.
#pragma once

#include "figkit/FOEllipseShape2.h"

class CFOEllipseShape : public CFOEllipseShape2
{
    DECLARE_SERIAL(CFOEllipseShape)
public:
    CFOEllipseShape();
    CFOEllipseShape(const CFOEllipseShape& src);
    ~CFOEllipseShape() override;
    CFOEllipseShape& operator=(const CFOEllipseShape& src);
    CFODrawShape* Copy() const override;
    void Serialize(CArchive& ar) override;
};
