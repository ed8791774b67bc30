// A rectangle with four side ports and its caption centred inside.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFORectShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFORectShape)
public:
    CFORectShape();
    CFORectShape(const CFORectShape& src);
    ~CFORectShape() override;
    CFORectShape& operator=(const CFORectShape& src);
    CFODrawShape* Copy() const override;

    // The rectangle's corners, then a port in the middle of each side.
    void Create(CRect& rcPos, CString strCaption = CString()) override;
    void Serialize(CArchive& ar) override;

    void OnDrawFlat(CDC* pDC) override;
    // The flat look with a raised edge.
    void OnDraw3d(CDC* pDC) override;
};
