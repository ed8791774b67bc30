#include "model/XFOCorsssLineShape.h"

#include "figkit/FOArea.h"
#include "mfc/Archive.h"
#include "model/XFOCustomProperties.h"

#include <algorithm>

IMPLEMENT_SERIAL(CXFOCorsssLineShape, CFODrawPortsShape, 0)

CXFOCorsssLineShape::CXFOCorsssLineShape()
{
    SetBkColor(0xE3E0BB);
    SetPolyObject(TRUE);
    SetType(696);
    const CXFOCustomProperties prop(XFO_PROP_CUSTOM);
    AddNewProperty(&prop);
}

CXFOCorsssLineShape::CXFOCorsssLineShape(const CXFOCorsssLineShape& src) : CFODrawPortsShape()
{
    SetPolyObject(TRUE);
    *this = src;
}

CXFOCorsssLineShape::~CXFOCorsssLineShape() = default;

CXFOCorsssLineShape& CXFOCorsssLineShape::operator=(const CXFOCorsssLineShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CXFOCorsssLineShape::Copy() const
{
    return new CXFOCorsssLineShape(*this);
}

void CXFOCorsssLineShape::Create(CRect& rcPos, CString strCaption)
{
    const int L = rcPos.left, T = rcPos.top, R = rcPos.right, B = rcPos.bottom, W = R - L;
    AllocMemory(POINT_COUNT);
    const CPoint pts[POINT_COUNT] = {{L, T}, {L + 3 * W / 4, T},      {R, (T + B) / 2}, {L + 3 * W / 4, B},
                                     {L, B}, {L + W / 4, (T + B) / 2}};
    SetPoints(pts, POINT_COUNT);
    CFODrawPortsShape::Create(rcPos, strCaption);
    CreateDefaultPort(0.5, 0.5);
    CreateDefaultPort(0.0, 0.0);
    CreateDefaultPort(0.75, 0.0);
    CreateDefaultPort(0.0, 1.0);
    CreateDefaultPort(0.75, 1.0);
    CreateDefaultPort(1.0, 0.5);
    UpdateComp();
}

void CXFOCorsssLineShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    // The drawing reads the six outline points.
    if (ar.IsLoading() && GetPointCount() != POINT_COUNT)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}

void CXFOCorsssLineShape::GeometryUpdated(CFOArea* pArea)
{
    if (!pArea || GetPointCount() == 0)
        return;
    pArea->SetPoints(GetPoints(), GetPointCount());
    m_rcPosition = pArea->GetBoundingRect();
}

CXFOCustomProperties* CXFOCorsssLineShape::GetLineProperty() const
{
    return dynamic_cast<CXFOCustomProperties*>(FindProperty(XFO_PROP_CUSTOM));
}

void CXFOCorsssLineShape::SetDescription(const CString& strDesc)
{
    if (CXFOCustomProperties* prop = GetLineProperty())
        prop->SetDescription(strDesc);
}

CString CXFOCorsssLineShape::GetDescription() const
{
    const CXFOCustomProperties* prop = GetLineProperty();
    return prop ? prop->GetDescription() : CString();
}

void CXFOCorsssLineShape::OnDrawShadow(CDC* pDC)
{
    if (GetPointCount() >= 3)
        FillShadowPoly(pDC, GetPoints(), GetPointCount());
}

void CXFOCorsssLineShape::DrawBody(CDC* pDC)
{
    if (GetPointCount() >= 3)
        FillPoly(pDC, GetPoints(), GetPointCount(), GetBkColor(), GetPatternColor(), GetBrushType());
    OnDrawPorts(pDC, 1);
}

void CXFOCorsssLineShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    DrawBody(pDC);
}

void CXFOCorsssLineShape::OnDraw3d(CDC* pDC)
{
    CFODrawPortsShape::OnDraw3d(pDC);
    DrawBody(pDC);
}
