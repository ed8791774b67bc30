// CRangeSlider: a control for choosing a sub-range [left, right] of a range [min, max]: two arrow
// buttons with a bar between them. Either arrow can be dragged, the bar moves both, and the arrow
// keys move the range (Shift: the right end only). Horizontal or vertical; it can show the range
// inverted (negated) and highlight a second, "visual" range.
//
// Every change is sent to the parent as RANGE_CHANGED, wParam what changed (RS_LEFTCHANGED,
// RS_RIGHTCHANGED or RS_BOTHCHANGED), lParam 0. Dialog templates place it as a custom control of
// the window class "XVKRangeSlider" and bind it with DDX_Control.
#pragma once

#include "mfc/Wnd.h"

#define XVK_RANGESLIDER_CLASSNAME L"XVKRangeSlider"

// The registered message (RegisterWindowMessage of its name, made once when the library loads).
extern UINT RANGE_CHANGED;

class CDC;

class CRangeSlider : public CWnd
{
    DECLARE_DYNAMIC(CRangeSlider)
public:
    enum
    {
        RS_LEFTCHANGED = 0,
        RS_RIGHTCHANGED = 1,
        RS_BOTHCHANGED = 2
    };

    // Registers the window class for this module when it is not yet; failure throws the
    // framework's resource exception.
    CRangeSlider();
    ~CRangeSlider() override;

    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                CCreateContext* pContext = nullptr);

    void SetMinMax(double min, double max);
    void GetMinMax(double& min, double& max) const;
    double GetMin() const;
    double GetMax() const;

    void SetRange(double left, double right);
    // Both ends rounded to whole numbers.
    void GetRange(double& left, double& right) const;
    double GetLeft() const;
    double GetRight() const;

    void SetVisualMinMax(double min, double max);
    void GetVisualMinMax(double& min, double& max) const;
    double GetVisualMin() const;
    double GetVisualMax() const;

    void SetVisualMode(BOOL bVisualMode = TRUE);
    BOOL GetVisualMode() const { return m_bVisualMode; }
    void SetVerticalMode(BOOL bVerticalMode = TRUE);
    BOOL GetVerticalMode() const { return !m_bHorizontal; }
    void SetInvertedMode(BOOL bInvertedMode = TRUE);
    BOOL GetInvertedMode() const { return m_bInverted; }

    // Set by painting: the arrows' width and the length the range maps onto (pixels).
    int GetArrowWidth() const { return m_nArrowWidth; }
    int GetSlideLength() const { return m_dx; }
    // The arrows' hit rectangles, as the last paint left them.
    const CRect& GetLeftArrowRect() const { return m_RectLeft; }
    const CRect& GetRightArrowRect() const { return m_RectRight; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;

protected:
    afx_msg void OnPaint() override;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) override;
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) override;
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    afx_msg void OnSetFocus(CWnd* pOldWnd) override;
    afx_msg void OnKillFocus(CWnd* pNewWnd) override;

    void Normalize();
    void NormalizeVisual();
    void Notify(int nWhat);
    void Repaint();
    void Draw(CDC* pDC);
    void DrawArrow(CDC* pDC, const CRect& rc, CRect& rHit, BOOL bDragged);
    int Pixel(double v) const;
    double ValueAt(int n) const;

private:
    void PrepareWindow();

    double m_Min = 0;
    double m_Max = 1;
    double m_Left = 0;
    double m_Right = 1;
    double m_VisualMin = 0;
    double m_VisualMax = 1;
    int m_nArrowWidth = 10;
    BOOL m_bHorizontal = TRUE;
    BOOL m_bVisualMode = FALSE;
    BOOL m_bInverted = FALSE;
    BOOL m_bTracking = FALSE;
    int m_TrackMode = 0;
    CRect m_RectLeft;
    CRect m_RectRight;
    // 0 until the first paint: a keyboard step before it changes nothing.
    int m_dx = 0;
    CPoint m_ClickOffset;

    DECLARE_MESSAGE_MAP()
};
