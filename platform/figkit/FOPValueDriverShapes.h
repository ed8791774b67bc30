// Two shapes that animate another shape from their value: the move-path shape moves its target
// along its own polyline, the scale-reference shape stretches its target inside its own rectangle.
// The target is the shape set with SetMoveShape, else the shape of the model whose key 1 is the
// link name. The shapes only report a new value at run time to their canvas
// (CFOPCanvasCore::DoCurrentValueChange); the program does the moving.
#pragma once

#include "figkit/FOLineShape.h"
#include "figkit/FORectShape.h"

class CArchive;

// Properties of the scale-reference shape: the direction (0 height, 1 width, 2 both) and the anchor
// (0 top or left, 1 bottom or right, 2 centre).
enum
{
    FO_PROP_SCALE_DIRECTION = 1537,
    FO_PROP_SCALE_ANCHOR = 1538,
};

// Tells the canvas of a shape (when it has one and its model runs) that its value changed.
void FOReportValueChange(CFODrawShape* pShape, double dValue);
// The link name's record after the base's.
void FOSerializeLinkName(CArchive& ar, CString& strLinkName);
// The shape of pShape's model whose key 1 is strName; null without a model or a name.
CFODrawShape* FOFindLinkedShape(const CFODrawShape* pShape, const CString& strName);

// What both drivers add to their base shape.
template <class TBase> class TFOValueDriver : public TBase
{
public:
    TFOValueDriver() = default;
    // The direct link is not copied.
    TFOValueDriver(const TFOValueDriver& src) : TBase(src), m_strLinkName(src.m_strLinkName) {}
    TFOValueDriver& operator=(const TFOValueDriver& src)
    {
        TBase::operator=(src);
        m_strLinkName = src.m_strLinkName;
        return *this;
    }

    const CString& GetLinkPathShape() const { return m_strLinkName; }
    void SetLinkPathShape(const CString& str) { this->SetAndNotify(m_strLinkName, str); }
    // The direct link (not saved, not owned) when one is set, else the model's shape named by the
    // link; null when there is neither.
    CFODrawShape* GetMoveShape() const
    {
        return m_pMoveShape ? m_pMoveShape : FOFindLinkedShape(this, m_strLinkName);
    }
    void SetMoveShape(CFODrawShape* pShape) { m_pMoveShape = pShape; }

    void SetCurrentValue(double dValue) override
    {
        const bool changed = dValue != this->GetCurrentValue();
        TBase::SetCurrentValue(dValue);
        if (changed)
            FOReportValueChange(this, dValue);
    }
    void Serialize(CArchive& ar) override
    {
        TBase::Serialize(ar);
        FOSerializeLinkName(ar, m_strLinkName);
    }

private:
    CString m_strLinkName;
    CFODrawShape* m_pMoveShape = nullptr;
};

// At run time the operator drags the move-path shape (or its moved shape, which the canvas hands
// on) along the path: the value becomes the distance along the path to the point nearest the
// mouse, scaled so that the path's end is the range (the inverse of the moving).
class CFOPMovePathShape : public TFOValueDriver<CFOLineShape>
{
    DECLARE_SERIAL(CFOPMovePathShape)
public:
    CFOPMovePathShape();
    CFODrawShape* Copy() const override { return new CFOPMovePathShape(*this); }

    // The value of the path point nearest a canvas point; the minimum value for a path of no length.
    double ValueFromPoint(CPoint point) const;
    BOOL OnLButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnCancelMode() override { m_bDragging = FALSE; }
    BOOL GetDragValue(double& dValue) const override
    {
        dValue = GetCurrentValue();
        return TRUE;
    }

private:
    BOOL m_bDragging = FALSE;
};

class CFOPScaleRefShape : public TFOValueDriver<CFORectShape>
{
    DECLARE_SERIAL(CFOPScaleRefShape)
public:
    CFOPScaleRefShape();
    CFODrawShape* Copy() const override { return new CFOPScaleRefShape(*this); }
};
