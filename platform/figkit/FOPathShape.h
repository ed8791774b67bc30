// A path: one or more subpaths of straight and cubic Bezier segments. Its points are the outline's
// points in order, each marked as a corner or a Bezier control point.
// Kind 5 is a closed figure (filled and outlined); kind 1 an open one (outlined only).
#pragma once

#include "figkit/FODrawPortsShape.h"
#include "figkit/FOGeometry.h"

#include <vector>

class CFOPathShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOPathShape)
public:
    enum
    {
        FO_PATH_OPEN = 1,
        FO_PATH_CLOSED = 5,
    };

    CFOPathShape();
    CFOPathShape(const CFOPathShape& src);
    ~CFOPathShape() override;
    CFOPathShape& operator=(const CFOPathShape& src);
    CFODrawShape* Copy() const override;

    // From a composite polygon on the canvas.
    virtual void Create(const FOPSimpleCompositePolygon& polygon, int nKind, CString strCaption = CString());
    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // Version (1), kind, then per subpath its point count and closed flag, then the point flags.
    void Serialize(CArchive& ar) override;

    int GetPathKind() const { return m_nKind; }
    int GetSubPathCount() const { return int(m_aSubCounts.size()); }
    // The outline as a composite polygon in canvas coordinates.
    void GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const override;
    // The outline with every curve flattened into line segments, one polygon per subpath.
    std::vector<std::vector<CPoint>> GetFlattened() const;

    BOOL PtInShape(CPoint point) const override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

protected:
    int m_nKind = FO_PATH_OPEN;
    std::vector<int> m_aSubCounts;
    std::vector<BYTE> m_aSubClosed;
    std::vector<BYTE> m_aFlags;
};
