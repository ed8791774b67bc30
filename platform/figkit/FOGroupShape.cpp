#include "figkit/FOGroupShape.h"

#include "figkit/FOArchiveHelper.h"

IMPLEMENT_SERIAL(CFOGroupShape, CFOCompositeShape, 0)

namespace
{
const int kVersion = 1;
}

CFOGroupShape::CFOGroupShape()
{
    SetType(FO_COMP_GROUP);
}

CFOGroupShape::CFOGroupShape(const CFOGroupShape& src) : CFOCompositeShape(src) {}
CFOGroupShape::~CFOGroupShape() = default;

CFOGroupShape& CFOGroupShape::operator=(const CFOGroupShape& src)
{
    CFOCompositeShape::operator=(src);
    return *this;
}

CFODrawShape* CFOGroupShape::Copy() const
{
    return new CFOGroupShape(*this);
}

void CFOGroupShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}
