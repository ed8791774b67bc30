// A rectangle filled to its value's level: the filled part in the pattern colour, the rest in the
// background colour. The state type names the direction of filling: "bottom->top" (also when
// empty or unknown), "top->bottom", "right->left" or "left->right".
#pragma once

#include "figkit/FORectShape.h"

class CFOHighShape : public CFORectShape
{
    DECLARE_SERIAL(CFOHighShape)
public:
    CFOHighShape();
    CFOHighShape(const CFOHighShape& src);
    ~CFOHighShape() override;
    CFOHighShape& operator=(const CFOHighShape& src);
    CFODrawShape* Copy() const override;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

    // The part of rc that a level `fraction` fills in the direction named by `direction`.
    static CRect LevelRect(const CRect& rc, double fraction, const CString& direction);
};
