// A polyline with optional arrow heads at its start and end.
#pragma once

#include "figkit/FODrawShape.h"

#include <vector>

class CFOLineShape : public CFODrawShape
{
    DECLARE_SERIAL(CFOLineShape)
public:
    // Arrow kinds.
    enum
    {
        FO_ARROW_NONE = 0,
        FO_ARROW_TRIANGLE = 1,
        // The standard arrow of imported drawings: a longer, narrower head.
        FO_ARROW_STANDARD = 3,
    };

    CFOLineShape();
    CFOLineShape(const CFOLineShape& src);
    ~CFOLineShape() override;
    CFOLineShape& operator=(const CFOLineShape& src);
    CFODrawShape* Copy() const override;

    // From a rectangle: a line from its top-left to its bottom-right corner.
    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // From points on the canvas.
    virtual void Create(const POINT* points, int nCount);
    virtual void Create(const CArray<CPoint, CPoint>* pPoints);
    // Version (1), start and end arrow kinds, arrow size.
    void Serialize(CArchive& ar) override;

    int GetStartArrow() const { return m_nStartArrow; }
    void SetStartArrow(int nKind) { m_nStartArrow = nKind; }
    int GetEndArrow() const { return m_nEndArrow; }
    void SetEndArrow(int nKind) { m_nEndArrow = nKind; }
    void SetStartArrowType2(int nKind) override { SetStartArrow(nKind); }
    void SetEndArrowType2(int nKind) override { SetEndArrow(nKind); }
    int GetArrowSize() const { return m_nArrowSize; }
    void SetArrowSize(int nSize) { m_nArrowSize = nSize < 1 ? 1 : (nSize > 200 ? 200 : nSize); }

    // Rebuild the arrow head figures from the end segments.
    virtual void BuildLineStartObject();
    virtual void BuildLineEndObject();

    BOOL PtInShape(CPoint point) const override;
    void GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const override;
    void UpdateComp() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
    void OnDrawShadow(CDC*) override {}
    void OnDrawTrackCustom(CDC* pDC) override;

protected:
    static std::vector<CPoint> ArrowHead(const CPoint& tip, const CPoint& from, int nSize,
                                         int nKind = FO_ARROW_TRIANGLE);

    int m_nStartArrow = FO_ARROW_NONE;
    int m_nEndArrow = FO_ARROW_NONE;
    int m_nArrowSize = 8;
    std::vector<CPoint> m_aStartArrow;
    std::vector<CPoint> m_aEndArrow;
};
