// A text shape: its caption in its font, left-aligned on one line from the box's top-left corner,
// turned by its initial rotation (tenths of a degree, clockwise) about the box's centre.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFOStaticShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOStaticShape)
public:
    CFOStaticShape();
    CFOStaticShape(const CFOStaticShape& src);
    ~CFOStaticShape() override;
    CFOStaticShape& operator=(const CFOStaticShape& src);
    CFODrawShape* Copy() const override;
    // Version (1), initial rotation.
    void Serialize(CArchive& ar) override;

    int GetInitRotate() const { return m_nInitRotate; }
    void SetInitRotate(int nTenths) { SetAndNotify(m_nInitRotate, nTenths); }
    // The caption's size in the shape's font, word-wrapped in rc.
    CSize GetTextSize(CDC* pDC, const CRect& rc) const;
    // Widens the box to hold the caption on one line (nMode 0).
    void AdjustTextBoxSize(int nMode);

    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

protected:
    void MakeFont(class CFont& font) const;
    int m_nInitRotate = 0;
};
