#include "figkit/FOEllipseShape.h"

#include "figkit/FOArchiveHelper.h"

IMPLEMENT_SERIAL(CFOEllipseShape, CFOEllipseShape2, 0)

namespace
{
const int kVersion = 1;
}

CFOEllipseShape::CFOEllipseShape()
{
    SetType(FO_COMP_ELLIPSE_SHAPE);
}

CFOEllipseShape::CFOEllipseShape(const CFOEllipseShape& src) : CFOEllipseShape2(src) {}
CFOEllipseShape::~CFOEllipseShape() = default;

CFOEllipseShape& CFOEllipseShape::operator=(const CFOEllipseShape& src)
{
    CFOEllipseShape2::operator=(src);
    return *this;
}

CFODrawShape* CFOEllipseShape::Copy() const
{
    return new CFOEllipseShape(*this);
}

void CFOEllipseShape::Serialize(CArchive& ar)
{
    CFOEllipseShape2::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}
