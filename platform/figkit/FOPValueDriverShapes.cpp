#include "figkit/FOPValueDriverShapes.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CFOPMovePathShape, CFOLineShape, 0)
IMPLEMENT_SERIAL(CFOPScaleRefShape, CFORectShape, 0)

namespace
{
const int kVersion = 1;
}

void FOReportValueChange(CFODrawShape* pShape, double dValue)
{
    CFODataModel* model = pShape->GetModel();
    if (!model || model->IsDesignMode())
        return;
    if (auto* canvas = dynamic_cast<CFOPCanvasCore*>(pShape->GetParentWnd()))
        canvas->DoCurrentValueChange(pShape, dValue);
}

CFOPMovePathShape::CFOPMovePathShape()
{
    SetType(FO_COMP_MOVEPATH);
}

CFOPMovePathShape::CFOPMovePathShape(const CFOPMovePathShape& src)
    : CFOLineShape(src), m_strLinkName(src.m_strLinkName)
{
}

CFOPMovePathShape::~CFOPMovePathShape() = default;

CFOPMovePathShape& CFOPMovePathShape::operator=(const CFOPMovePathShape& src)
{
    CFOLineShape::operator=(src);
    m_strLinkName = src.m_strLinkName;
    return *this;
}

CFODrawShape* CFOPMovePathShape::Copy() const
{
    return new CFOPMovePathShape(*this);
}

void CFOPMovePathShape::SetCurrentValue(double dValue)
{
    const BOOL changed = dValue != GetCurrentValue();
    CFOLineShape::SetCurrentValue(dValue);
    if (changed)
        FOReportValueChange(this, dValue);
}

void CFOPMovePathShape::Serialize(CArchive& ar)
{
    CFOLineShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
        ar << m_strLinkName;
    else
        ar >> m_strLinkName;
}

CFOPScaleRefShape::CFOPScaleRefShape()
{
    SetType(FO_COMP_SCALEREF);
}

CFOPScaleRefShape::CFOPScaleRefShape(const CFOPScaleRefShape& src)
    : CFORectShape(src), m_strLinkName(src.m_strLinkName)
{
}

CFOPScaleRefShape::~CFOPScaleRefShape() = default;

CFOPScaleRefShape& CFOPScaleRefShape::operator=(const CFOPScaleRefShape& src)
{
    CFORectShape::operator=(src);
    m_strLinkName = src.m_strLinkName;
    return *this;
}

CFODrawShape* CFOPScaleRefShape::Copy() const
{
    return new CFOPScaleRefShape(*this);
}

void CFOPScaleRefShape::SetCurrentValue(double dValue)
{
    const BOOL changed = dValue != GetCurrentValue();
    CFORectShape::SetCurrentValue(dValue);
    if (changed)
        FOReportValueChange(this, dValue);
}

void CFOPScaleRefShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
        ar << m_strLinkName;
    else
        ar >> m_strLinkName;
}
