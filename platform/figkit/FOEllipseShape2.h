// An ellipse in its rectangle, with four ports and its caption centred inside.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFOEllipseShape2 : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOEllipseShape2)
public:
    CFOEllipseShape2();
    CFOEllipseShape2(const CFOEllipseShape2& src);
    ~CFOEllipseShape2() override;
    CFOEllipseShape2& operator=(const CFOEllipseShape2& src);
    CFODrawShape* Copy() const override;

    // The rectangle's corners, then a port at the top, right, bottom and left of the ellipse.
    void Create(CRect& rcPos, CString strCaption = CString()) override;
    void Serialize(CArchive& ar) override;
    BOOL PtInShape(CPoint point) const override;
    void GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const override;

    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;
    void OnDrawShadow(CDC* pDC) override;
};
