// The background of a screen's page: its colour, the page margin and the grid. A model draws it
// under its shapes; it is not one of the model's shapes.
#pragma once

#include "figkit/FODrawShape.h"

class CFOBackShape : public CFODrawShape
{
    DECLARE_SERIAL(CFOBackShape)
public:
    explicit CFOBackShape(IFOShapeOwner* pOwner = nullptr);
    CFOBackShape(const CFOBackShape& src);
    ~CFOBackShape() override;
    CFOBackShape& operator=(const CFOBackShape& src);
    CFODrawShape* Copy() const override;

    // Draws the page of the model (or the shape's own rectangle without one).
    void OnDraw(CDC* pDC) override;
    virtual void OnDrawBack(CDC* pDC, const CRect& rcPage);
    virtual void OnDrawPageMargin(CDC* pDC, const CRect& rcPage);
    virtual void OnDrawGrid(CDC* pDC, const CRect& rcPage);
    // The mark of a form being dragged; the base draws none.
    virtual void DrawFormDragMark(CDC*) {}

    BOOL IsShowGrid() const { return m_bShowGrid; }
    void SetShowGrid(BOOL b) { m_bShowGrid = b; }
    int GetGridSize() const { return m_nGridSize; }
    void SetGridSize(int n) { m_nGridSize = n < 2 ? 2 : (n > 1000 ? 1000 : n); }
    COLORREF GetGridColor() const { return m_crGrid; }
    void SetGridColor(COLORREF cr) { m_crGrid = cr; }
    BOOL IsShowMargin() const { return m_bShowMargin; }
    void SetShowMargin(BOOL b) { m_bShowMargin = b; }

    // Base record, version (1), grid flag, size and colour, margin flag.
    void Serialize(CArchive& ar) override;

private:
    BOOL m_bShowGrid = FALSE;
    int m_nGridSize = 20;
    COLORREF m_crGrid = RGB(210, 210, 210);
    BOOL m_bShowMargin = FALSE;
};
