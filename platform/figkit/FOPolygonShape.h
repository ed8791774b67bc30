// A closed polygon given by its points.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFOPolygonShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOPolygonShape)
public:
    CFOPolygonShape();
    CFOPolygonShape(const CFOPolygonShape& src);
    ~CFOPolygonShape() override;
    CFOPolygonShape& operator=(const CFOPolygonShape& src);
    CFODrawShape* Copy() const override;

    // From a rectangle: its four corners (or the existing points fitted into it).
    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // From points on the canvas.
    virtual void Create(const POINT* points, int nCount, CString strCaption = CString());
    void Serialize(CArchive& ar) override;

    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
