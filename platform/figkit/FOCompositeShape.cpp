#include "figkit/FOCompositeShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "mfc/ResourceModule.h"

#include <algorithm>
#include <memory>

IMPLEMENT_SERIAL(CFOCompositeShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOCompositeShape::CFOCompositeShape()
{
    SetType(FO_COMP_COMPOSITE);
}

CFOCompositeShape::CFOCompositeShape(const CFOCompositeShape& src) : CFODrawPortsShape()
{
    *this = src;
}

CFOCompositeShape::~CFOCompositeShape()
{
    RemoveAllShapes();
}

CFOCompositeShape& CFOCompositeShape::operator=(const CFOCompositeShape& src)
{
    if (this == &src)
        return *this;
    CFODrawPortsShape::operator=(src);
    RemoveAllShapes();
    for (CFODrawShape* child : src.m_children)
    {
        CFODrawShape* copy = child->Copy();
        if (copy)
            AddShape(copy);
    }
    return *this;
}

CFODrawShape* CFOCompositeShape::Copy() const
{
    return new CFOCompositeShape(*this);
}

void CFOCompositeShape::Create(CRect& rcPos, CString strCaption)
{
    CFODrawPortsShape::Create(rcPos, strCaption);
}

void CFOCompositeShape::AddShape(CFODrawShape* pShape)
{
    if (!pShape || pShape == this)
        return;
    pShape->SetParentComp(this);
    pShape->SetModel(GetOwner());
    pShape->SetParentWnd(GetParentWnd());
    m_children.AddTail(pShape);
    RecalcBounds();
    NotifyChanged();
}

BOOL CFOCompositeShape::RemoveShape(CFODrawShape* pShape)
{
    CFOShapePtr<CFODrawShape> child = m_children.TakeAt(m_children.Find(pShape));
    if (!child)
        return FALSE;
    const CRect old = GetMaxRect();
    child->SetParentWnd(nullptr);
    child->SetParentComp(nullptr);
    RecalcBounds();
    NotifyChanged(&old);
    return TRUE;
}

void CFOCompositeShape::RemoveAllShapes()
{
    for (CFODrawShape* child : m_children)
    {
        child->SetParentWnd(nullptr);
        child->SetParentComp(nullptr);
    }
    m_children.RemoveAll();
}

CFOPSimpleLabelShape* CFOCompositeShape::AddText(const CString& strName, const CString& strText,
                                                 const CRect& rc)
{
    const CRect own = GetOwnRect();
    CRect pos = rc;
    pos.OffsetRect(own.left, own.top);
    auto* label = new CFOPSimpleLabelShape;
    label->Create(pos, strText);
    label->SetObjectName(strName);
    AddShape(label);
    return label;
}

CFODrawShape* CFOCompositeShape::FindShapeWithName(const CString& strName) const
{
    for (CFODrawShape* child : m_children)
    {
        if (child->GetObjectName() == strName)
            return child;
        if (auto* comp = dynamic_cast<CFOCompositeShape*>(child))
            if (CFODrawShape* found = comp->FindShapeWithName(strName))
                return found;
    }
    return nullptr;
}

CFODrawShape* CFOCompositeShape::FindShapeWithKey1(const CString& strKey) const
{
    for (CFODrawShape* child : m_children)
    {
        if (child->GetKeyId1() == strKey)
            return child;
        if (auto* comp = dynamic_cast<CFOCompositeShape*>(child))
            if (CFODrawShape* found = comp->FindShapeWithKey1(strKey))
                return found;
    }
    return nullptr;
}

BOOL CFOCompositeShape::DoCycleAnimate()
{
    BOOL redraw = FALSE;
    for (CFODrawShape* child : m_children)
    {
        if (auto* comp = dynamic_cast<CFOCompositeShape*>(child))
            redraw |= comp->DoCycleAnimate();
        redraw |= child->DoAnimate();
    }
    return redraw;
}

BOOL CFOCompositeShape::LoadFromResource(UINT nID, LPCWSTR lpszType, BOOL bKeepSize)
{
    const AFX_RESOURCE_DATA* data = AfxFindResourceData(MAKEINTRESOURCE(nID), lpszType);
    if (!data || !data->pData || data->nSize == 0)
        return FALSE;
    CFOCompositeShape loaded;
    try
    {
        CMemFile file(const_cast<BYTE*>(data->pData), UINT(data->nSize));
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        loaded.Serialize(ar);
        ar.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    const CRect keep = GetDrawRect();
    RemoveAllShapes();
    // The loaded children change owner with the references the loaded composite held.
    m_children = std::move(loaded.m_children);
    for (CFODrawShape* child : m_children)
    {
        child->SetParentComp(this);
        child->SetModel(GetOwner());
        child->SetParentWnd(GetParentWnd());
    }
    RecalcBounds();
    if (!bKeepSize && !keep.IsRectEmpty())
        PositionShape(keep);
    return TRUE;
}

void CFOCompositeShape::SetModel(IFOShapeOwner* pOwner)
{
    CFODrawPortsShape::SetModel(pOwner);
    for (CFODrawShape* child : m_children)
        child->SetModel(pOwner);
}

void CFOCompositeShape::SetParentWnd(CWnd* pWnd)
{
    CFODrawPortsShape::SetParentWnd(pWnd);
    for (CFODrawShape* child : m_children)
        child->SetParentWnd(pWnd);
}

void CFOCompositeShape::OffsetShape(CSize offset)
{
    for (CFODrawShape* child : m_children)
        child->OffsetShape(offset);
    CFODrawPortsShape::OffsetShape(offset);
}

void CFOCompositeShape::PositionShape(const CRect& rcTarget)
{
    CRect rc = rcTarget;
    rc.NormalizeRect();
    const CRect cur = GetDrawRect();
    const double sx = cur.Width() ? double(rc.Width()) / cur.Width() : 1.0;
    const double sy = cur.Height() ? double(rc.Height()) / cur.Height() : 1.0;
    const CFOMatrix t(sx, 0, 0, sy, rc.left - cur.left * sx, rc.top - cur.top * sy);
    for (CFODrawShape* child : m_children)
    {
        const CRect c = child->GetDrawRect();
        const FOPPoint tl = t.ChangeValue(c.TopLeft());
        const FOPPoint br = t.ChangeValue(c.BottomRight());
        child->PositionShape(CRect(tl, br));
    }
    CFODrawPortsShape::PositionShape(rc);
}

void CFOCompositeShape::RotateShape(int nAngle, double x, double y)
{
    // The children turn; the composite stays the upright box round them.
    for (CFODrawShape* child : m_children)
        child->RotateShape(nAngle, x, y);
    RecalcBounds();
}

BOOL CFOCompositeShape::PtInShape(CPoint point) const
{
    if (m_children.IsEmpty())
        return CFODrawPortsShape::PtInShape(point);
    for (CFODrawShape* child : m_children)
        if (child->PtInShape(point))
            return TRUE;
    return FALSE;
}

void CFOCompositeShape::UpdateComp()
{
    RecalcBounds();
    CFODrawPortsShape::UpdateComp();
}

void CFOCompositeShape::RecalcBounds()
{
    if (m_children.IsEmpty())
        return;
    CRect box;
    bool first = true;
    for (CFODrawShape* child : m_children)
    {
        const CRect c = child->GetDrawRect();
        if (first)
            box = c;
        else
        {
            box.left = std::min(box.left, c.left);
            box.top = std::min(box.top, c.top);
            box.right = std::max(box.right, c.right);
            box.bottom = std::max(box.bottom, c.bottom);
        }
        first = false;
    }
    const POINT pts[4] = {
        {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
    SetPoints(pts, 4);
    SetMatrixData(nullptr);
}

void CFOCompositeShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    // A part moving inside a symbol repaints only around the part: the others are not drawn.
    for (CFODrawShape* child : m_children)
    {
        const CRect box = child->GetMaxRect();
        if (pDC->RectVisible(&box))
            child->OnDraw(pDC);
    }
}

void CFOCompositeShape::OnDraw3d(CDC* pDC)
{
    OnDrawFlat(pDC);
}

void CFOCompositeShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        ar.WriteCount(DWORD_PTR(m_children.Count()));
        for (CFODrawShape* child : m_children)
            FOWriteOwnedObject(ar, *child);
        return;
    }
    RemoveAllShapes();
    // A child takes at least its class tag and the base record's first fields.
    const DWORD_PTR count = ar.ReadCount(16);
    for (DWORD_PTR i = 0; i < count; ++i)
    {
        CFODrawShape* child = static_cast<CFODrawShape*>(FOReadOwnedObject(ar, RUNTIME_CLASS(CFODrawShape)));
        m_children.AddTail(child);
        child->SetParentComp(this);
        child->SetModel(GetOwner());
    }
}

void CFOCompositeShape::CopyGeometryFrom(const CFODrawShape& src)
{
    if (const auto* comp = dynamic_cast<const CFOCompositeShape*>(&src);
        comp && comp->m_children.Count() == m_children.Count())
        for (int i = 0; i < m_children.Count(); ++i)
            m_children.GetObject(i)->CopyGeometryFrom(*comp->m_children.GetObject(i));
    CFODrawPortsShape::CopyGeometryFrom(src);
}

BOOL CFOCompositeShape::IsSameGeometry(const CFODrawShape& src) const
{
    const auto* comp = dynamic_cast<const CFOCompositeShape*>(&src);
    if (!comp || comp->m_children.Count() != m_children.Count())
        return FALSE;
    for (int i = 0; i < m_children.Count(); ++i)
        if (!m_children.GetObject(i)->IsSameGeometry(*comp->m_children.GetObject(i)))
            return FALSE;
    return CFODrawPortsShape::IsSameGeometry(src);
}
