// CMyBackShape: the page of a screen (the library's background with the shape document files);
// CMyDeferentShape (type 626): a rectangle of bands in two colours that move across it at run time.
#pragma once

#include "figkit/FOBackShape.h"
#include "figkit/FORectShape.h"
#include "model/ShapeAnimation.h"

#include <vector>

class CMyBackShape : public CFOBackShape
{
    DECLARE_SERIAL(CMyBackShape)
public:
    explicit CMyBackShape(CFODataModel* pModel = nullptr);
    CMyBackShape(const CMyBackShape& src);
    ~CMyBackShape() override;
    CMyBackShape& operator=(const CMyBackShape& src);
    CFODrawShape* Copy() const override;
};

class CMyDeferentShape : public CFORectShape
{
    DECLARE_SERIAL(CMyDeferentShape)
public:
    enum
    {
        TIMER_PERIOD = 400,
        // Stored band widths beyond this are refused.
        MAX_BAND_WIDTH = 1000000,
    };
    struct Band
    {
        int nFrom;
        int nTo;
        BOOL bPattern;
    };

    CMyDeferentShape();
    CMyDeferentShape(const CMyDeferentShape& src);
    ~CMyDeferentShape() override;
    // The rectangle, band width and orientation.
    CMyDeferentShape& operator=(const CMyDeferentShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The base record, then band width and orientation (32-bit each).
    void Serialize(CArchive& ar) override;

    int GetPhase() const { return m_nPhase; }
    void SetPhase(int n) { m_nPhase = n; }
    int GetBandWidth() const { return m_nBandWidth; }
    void SetBandWidth(int n) { m_nBandWidth = n; }
    int GetOrientation() const { return m_nOrientation; }
    void SetOrientation(int n) { m_nOrientation = n; }
    int GetColorFlag() const { return m_nColorFlag; }
    int GetTimerId() const { return m_timer.GetId(); }

    // The bands from `from` to `to` along the running axis, the colour flag moving on as drawing
    // moves it. A band width below 1 draws as 1 (the stored width is kept).
    std::vector<Band> LayoutBands(int nFrom, int nTo);
    // One step: the phase grows by a quarter band.
    void Step();

    BOOL OnLButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    // The 3-D look is the rectangle's, over this.
    void OnDrawFlat(CDC* pDC) override;

private:
    void DrawBands(CDC* pDC);

    int m_nPhase = 0;
    int m_nBandWidth = 20;
    int m_nOrientation = 0;
    int m_nColorFlag = 1;
    CXVKShapeTimer m_timer;
};
