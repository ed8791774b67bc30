#include "figkit/FOPValueDriverShapes.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Archive.h"

#include <algorithm>
#include <cmath>

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

void FOSerializeLinkName(CArchive& ar, CString& strLinkName)
{
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
        ar << strLinkName;
    else
        ar >> strLinkName;
}

CFODrawShape* FOFindLinkedShape(const CFODrawShape* pShape, const CString& strName)
{
    CFODataModel* model = pShape ? pShape->GetModel() : nullptr;
    if (!model || strName.IsEmpty())
        return nullptr;
    CFODrawShape* found = model->FindShapeWithKey1(strName);
    return found != pShape ? found : nullptr;
}

CFOPMovePathShape::CFOPMovePathShape()
{
    SetType(FO_COMP_MOVEPATH);
}

double CFOPMovePathShape::ValueFromPoint(CPoint point) const
{
    const int count = GetPointCount();
    const double range = GetMaxValue() - GetMinValue();
    double length = 0.0, best = 0.0, bestDist = -1.0;
    for (int i = 1; i < count; ++i)
    {
        const CPoint a = OwnToCanvas(GetPoint(i - 1)), b = OwnToCanvas(GetPoint(i));
        const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
        const double seg = std::hypot(dx, dy);
        double t =
            seg > 0.0 ? ((double(point.x) - a.x) * dx + (double(point.y) - a.y) * dy) / (seg * seg) : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double d = std::hypot(a.x + t * dx - point.x, a.y + t * dy - point.y);
        if (bestDist < 0.0 || d < bestDist)
            bestDist = d, best = length + t * seg;
        length += seg;
    }
    if (length <= 0.0)
        return GetMinValue();
    return best * range / length;
}

BOOL CFOPMovePathShape::OnLButtonDown(UINT nFlags, CPoint point)
{
    TFOValueDriver<CFOLineShape>::OnLButtonDown(nFlags, point);
    CFODataModel* model = GetModel();
    m_bDragging = model && !model->IsDesignMode() && GetPointCount() >= 2;
    if (m_bDragging)
        SetCurrentValue(ValueFromPoint(point));
    return m_bDragging;
}

BOOL CFOPMovePathShape::OnMouseMove(UINT nFlags, CPoint point)
{
    TFOValueDriver<CFOLineShape>::OnMouseMove(nFlags, point);
    if (!m_bDragging)
        return FALSE;
    SetCurrentValue(ValueFromPoint(point));
    return TRUE;
}

BOOL CFOPMovePathShape::OnLButtonUp(UINT nFlags, CPoint point)
{
    TFOValueDriver<CFOLineShape>::OnLButtonUp(nFlags, point);
    if (!m_bDragging)
        return FALSE;
    m_bDragging = FALSE;
    SetCurrentValue(ValueFromPoint(point));
    return TRUE;
}

CFOPScaleRefShape::CFOPScaleRefShape()
{
    SetType(FO_COMP_SCALEREF);
}
