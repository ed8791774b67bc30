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

    // The elliptic segment a derived shape laid out: its two touch points on the ellipse and the
    // ellipse's rectangle (own coordinates).
    CPoint GetChordStart() const { return m_ptChordStart; }
    CPoint GetChordEnd() const { return m_ptChordEnd; }
    void SetChordAnchors(const CPoint& ptStart, const CPoint& ptEnd, const CRect& rcEllipse);
    // The outline of the segment (the arc, closed by its chord); the shape's own outline stays.
    void SetChordPolygon(const POINT* points, int nCount);
    int GetChordPointCount() const { return int(m_aChordPoints.size()); }

protected:
    // Fills the segment with the shape's colours and frames it with its line pen.
    void DrawChordPolygon(CDC* pDC);

    CPoint m_ptChordStart;
    CPoint m_ptChordEnd;
    CRect m_rcChord;
    std::vector<CPoint> m_aChordPoints;

    // Fills the chord of the ellipse in rc below the line at `fraction` of its height from the bottom.
    void FillChord(CDC* pDC, const CRect& rc, double fraction, COLORREF crFill);
};
