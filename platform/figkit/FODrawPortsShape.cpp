#include "figkit/FODrawPortsShape.h"

#include "figkit/FOArchiveHelper.h"
#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CFODrawPortsShape, CFODrawShape, 0)

namespace
{
const int kVersion = 1;
}

CFODrawPortsShape::CFODrawPortsShape()
{
    SetType(FO_COMP_PORTSSHAPE);
}

CFODrawPortsShape::CFODrawPortsShape(const CFODrawPortsShape& src) : CFODrawShape(src) {}

CFODrawPortsShape::~CFODrawPortsShape() = default;

CFODrawPortsShape& CFODrawPortsShape::operator=(const CFODrawPortsShape& src)
{
    CFODrawShape::operator=(src);
    return *this;
}

CFODrawShape* CFODrawPortsShape::Copy() const
{
    return new CFODrawPortsShape(*this);
}

void CFODrawPortsShape::Create(CRect& rcPos, CString strCaption)
{
    CFODrawShape::Create(rcPos, strCaption);
}

void CFODrawPortsShape::Serialize(CArchive& ar)
{
    CFODrawShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}
