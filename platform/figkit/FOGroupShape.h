// A group of shapes made by grouping or by an import: a composite that the editor can ungroup.
#pragma once

#include "figkit/FOCompositeShape.h"

class CFOGroupShape : public CFOCompositeShape
{
    DECLARE_SERIAL(CFOGroupShape)
public:
    CFOGroupShape();
    CFOGroupShape(const CFOGroupShape& src);
    ~CFOGroupShape() override;
    CFOGroupShape& operator=(const CFOGroupShape& src);
    CFODrawShape* Copy() const override;
    void Serialize(CArchive& ar) override;
};
