// A shape made of child shapes. The children keep canvas coordinates; moving, sizing or turning the
// composite moves, sizes or turns them with it, and the composite's own rectangle is the box round
// its children.
#pragma once

#include "figkit/FODrawPortsShape.h"
#include "figkit/FOShapeSet.h"

class CFOPSimpleLabelShape;

class CFOCompositeShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOCompositeShape)
public:
    CFOCompositeShape();
    CFOCompositeShape(const CFOCompositeShape& src);
    ~CFOCompositeShape() override;
    // Copies the base and a copy of every child.
    CFOCompositeShape& operator=(const CFOCompositeShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // Base record, version (1), the children as owned objects.
    void Serialize(CArchive& ar) override;

    // Children (an owning set). AddShape takes a reference of its own.
    void AddShape(CFODrawShape* pShape);
    BOOL RemoveShape(CFODrawShape* pShape);
    void RemoveAllShapes();
    const CFODrawShapeSet& GetCompList() const { return m_children; }
    int GetCompCount() const { return m_children.Count(); }
    // A label child named strName showing strText, on rc taken from the composite's top-left corner.
    CFOPSimpleLabelShape* AddText(const CString& strName, const CString& strText, const CRect& rc);
    // The child with that name, or with that key 1 (first match, searching nested composites too).
    CFODrawShape* FindShapeWithName(const CString& strName) const;
    CFODrawShape* FindShapeWithKey1(const CString& strKey) const;

    // One animation step of every child; non-zero when any must be redrawn.
    virtual BOOL DoCycleAnimate();

    // Fills the composite with the child shapes stored in a resource of the module chain (a
    // composite record as SaveDocument writes it); FALSE when there is no such resource or it
    // cannot be read.
    BOOL LoadFromResource(UINT nID, LPCWSTR lpszType, BOOL bKeepSize);

    void SetModel(IFOShapeOwner* pOwner) override;
    void SetParentWnd(CWnd* pWnd) override;
    void CopyGeometryFrom(const CFODrawShape& src) override;
    BOOL IsSameGeometry(const CFODrawShape& src) const override;
    void OffsetShape(CSize offset) override;
    void PositionShape(const CRect& rc) override;
    void RotateShape(int nAngle, double x, double y) override;
    BOOL PtInShape(CPoint point) const override;
    void UpdateComp() override;

    // Draws the children.
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;
    void OnDrawShadow(CDC*) override {}

protected:
    // Own outline becomes the box round the children (when there are any).
    void RecalcBounds();

    CFODrawShapeSet m_children;
};
