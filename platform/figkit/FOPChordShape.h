// An ellipse that shows a level as a filled chord: the part of the ellipse below the level line is
// filled with the pattern colour, the rest with the background colour.
#pragma once

#include "figkit/FOEllipseShape2.h"

class CFOPChordShape : public CFOEllipseShape2
{
    DECLARE_SERIAL(CFOPChordShape)
public:
    CFOPChordShape();
    CFOPChordShape(const CFOPChordShape& src);
    ~CFOPChordShape() override;
    CFOPChordShape& operator=(const CFOPChordShape& src);
    CFODrawShape* Copy() const override;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

protected:
    // Fills the chord of the ellipse in rc below the line at `fraction` of its height from the bottom.
    void FillChord(CDC* pDC, const CRect& rc, double fraction, COLORREF crFill);
};
