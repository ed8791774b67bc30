// Two shapes that animate another shape from their value: the move-path shape moves its target
// along its own polyline, the scale-reference shape stretches its target inside its own rectangle.
// The target is the shape set with SetMoveShape, else the shape of the model whose key 1 is the
// link name. The shapes only report a new value at run time to their canvas
// (CFOPCanvasCore::DoCurrentValueChange); the program does the moving.
#pragma once

#include "figkit/FOLineShape.h"
#include "figkit/FORectShape.h"

// Properties of the scale-reference shape: the direction (0 height, 1 width, 2 both) and the anchor
// (0 top or left, 1 bottom or right, 2 centre).
enum
{
    FO_PROP_SCALE_DIRECTION = 1537,
    FO_PROP_SCALE_ANCHOR = 1538,
};

class CFOPMovePathShape : public CFOLineShape
{
    DECLARE_SERIAL(CFOPMovePathShape)
public:
    CFOPMovePathShape();
    CFOPMovePathShape(const CFOPMovePathShape& src);
    ~CFOPMovePathShape() override;
    CFOPMovePathShape& operator=(const CFOPMovePathShape& src);
    CFODrawShape* Copy() const override;

    const CString& GetLinkPathShape() const { return m_strLinkName; }
    void SetLinkPathShape(const CString& str) { SetAndNotify(m_strLinkName, str); }
    // A direct link (not saved, not owned); null when none is set.
    CFODrawShape* GetMoveShape() const { return m_pMoveShape; }
    void SetMoveShape(CFODrawShape* pShape) { m_pMoveShape = pShape; }

    void SetCurrentValue(double dValue) override;
    void Serialize(CArchive& ar) override;

private:
    CString m_strLinkName;
    CFODrawShape* m_pMoveShape = nullptr;
};

class CFOPScaleRefShape : public CFORectShape
{
    DECLARE_SERIAL(CFOPScaleRefShape)
public:
    CFOPScaleRefShape();
    CFOPScaleRefShape(const CFOPScaleRefShape& src);
    ~CFOPScaleRefShape() override;
    CFOPScaleRefShape& operator=(const CFOPScaleRefShape& src);
    CFODrawShape* Copy() const override;

    const CString& GetLinkPathShape() const { return m_strLinkName; }
    void SetLinkPathShape(const CString& str) { SetAndNotify(m_strLinkName, str); }
    CFODrawShape* GetMoveShape() const { return m_pMoveShape; }
    void SetMoveShape(CFODrawShape* pShape) { m_pMoveShape = pShape; }

    void SetCurrentValue(double dValue) override;
    void Serialize(CArchive& ar) override;

private:
    CString m_strLinkName;
    CFODrawShape* m_pMoveShape = nullptr;
};

// Tells the canvas of a shape (when it has one and its model runs) that its value changed.
void FOReportValueChange(CFODrawShape* pShape, double dValue);
