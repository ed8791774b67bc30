// CXFOCorsssLineShape (type 696): a six-point arrow outline with six connection ports, carrying a
// CXFOCustomProperties set under property id 15031.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CXFOCustomProperties;

class CXFOCorsssLineShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CXFOCorsssLineShape)
public:
    enum
    {
        POINT_COUNT = 6,
    };

    CXFOCorsssLineShape();
    CXFOCorsssLineShape(const CXFOCorsssLineShape& src);
    ~CXFOCorsssLineShape() override;
    CXFOCorsssLineShape& operator=(const CXFOCorsssLineShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The base record alone.
    void Serialize(CArchive& ar) override;
    void GeometryUpdated(CFOArea* pArea) override;

    // The property set 15031, or null when the shape has lost it.
    CXFOCustomProperties* GetLineProperty() const;
    void SetDescription(const CString& strDesc);
    CString GetDescription() const;

    void OnDrawShadow(CDC* pDC) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

private:
    void DrawBody(CDC* pDC);
};
