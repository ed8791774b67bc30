// CFOHighEllipseShape (type 699): an ellipse that shows its value as a filled segment growing from
// one side toward the other (custom property 1354 chooses the side). At run time the operator sets
// the value by pressing inside the shape and dragging; the release raises the canvas's click.
//
// Value math: the value from a pointer is min + (max - min) x distance / span, and the fill is
// (value - min) / (max - min) of the way across; with equal bounds a value above them fills the
// whole ellipse and any other none.
#pragma once

#include "figkit/FOPChordShape.h"

class CFOHighEllipseShape : public CFOPChordShape
{
    DECLARE_SERIAL(CFOHighEllipseShape)
public:
    enum
    {
        PROP_DIRECTION = 1354,
        PROP_SNAP = 1531,
        PROP_SNAP_STEP = 1532,
        FROM_BOTTOM = 0,
        FROM_TOP = 1,
        FROM_RIGHT = 2,
        FROM_LEFT = 3,
    };

    CFOHighEllipseShape();
    CFOHighEllipseShape(const CFOHighEllipseShape& src);
    ~CFOHighEllipseShape() override;
    CFOHighEllipseShape& operator=(const CFOHighEllipseShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The base record, then the current value as a double.
    void Serialize(CArchive& ar) override;
    void DoAddCustProp() override;
    void DoSubMenuChange(const int& nIndex, const CString& strState) override;

    int GetDirection() const;
    // The value a pointer at `point` gives, clamped to the range and snapped when snapping is on.
    double ValueFromPoint(CPoint point) const;
    // The half angle of the filled part in hundredths of a degree (18000: all of it), or -1 when
    // the value fills nothing.
    int GetFillHalfAngle() const;
    // The filled part's start and end angles for a half angle and direction.
    static void FillAngles(int nHalfAngle, int nDirection, int& nStart, int& nEnd);
    BOOL IsPressed() const { return m_bPressed; }

    BOOL OnLButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    BOOL GetDragValue(double& dValue) const override
    {
        dValue = GetCurrentValue();
        return TRUE;
    }
    void OnCancelMode() override;

    void OnDrawFlat(CDC* pDC) override { OnDraw3d(pDC); }
    void OnDraw3d(CDC* pDC) override;

private:
    void OnDrawCaption(CDC* pDC, CRect rc);
    // Lays the segment between two angles out as the shape's points.
    void BuildSegment(const CRect& rc, int nStart, int nEnd);

    BOOL m_bPressed = FALSE;
};
