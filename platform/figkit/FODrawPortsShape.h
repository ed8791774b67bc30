// A shape with connection ports; the base of most closed shapes.
#pragma once

#include "figkit/FODrawShape.h"

class CFODrawPortsShape : public CFODrawShape
{
    DECLARE_SERIAL(CFODrawPortsShape)
public:
    CFODrawPortsShape();
    CFODrawPortsShape(const CFODrawPortsShape& src);
    ~CFODrawPortsShape() override;
    CFODrawPortsShape& operator=(const CFODrawPortsShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The base record, then this class's version (1).
    void Serialize(CArchive& ar) override;
};
