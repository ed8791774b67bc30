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
    // A direct link (not saved, not owned); null when none is set.
    CFODrawShape* GetMoveShape() const { return m_pMoveShape; }
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

class CFOPMovePathShape : public TFOValueDriver<CFOLineShape>
{
    DECLARE_SERIAL(CFOPMovePathShape)
public:
    CFOPMovePathShape();
    CFODrawShape* Copy() const override { return new CFOPMovePathShape(*this); }
};

class CFOPScaleRefShape : public TFOValueDriver<CFORectShape>
{
    DECLARE_SERIAL(CFOPScaleRefShape)
public:
    CFOPScaleRefShape();
    CFODrawShape* Copy() const override { return new CFOPScaleRefShape(*this); }
};
