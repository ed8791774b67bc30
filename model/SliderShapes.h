// CMyHorzSliderShape (624) and CMyVertSliderShape (625): drawn slider controls that the operator
// drags at run time. The range is the shape's minimum and maximum (truncated to int); the value is
// kept as text. Releasing the button sets the value from the release point (on or off the thumb)
// and raises the canvas's click; SetCurrentText raises the canvas's text-change event.
//
// Value math: value = min + (max - min) x offset / span, clamped to the range; the thumb stands at
// (value - min) / (max - min) of the groove, at its start when the bounds are equal.
#pragma once

#include "figkit/FODrawShape.h"

class CMyHorzSliderShape : public CFODrawShape
{
    DECLARE_SERIAL(CMyHorzSliderShape)
public:
    CMyHorzSliderShape();
    CMyHorzSliderShape(const CMyHorzSliderShape& src);
    ~CMyHorzSliderShape() override;
    CMyHorzSliderShape& operator=(const CMyHorzSliderShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The base record, then the current text.
    void Serialize(CArchive& ar) override;

    virtual void CaptureMouse(BOOL bCapture);
    virtual CString GetCurrentText() const { return m_strCurrentText; }
    virtual void SetCurrentText(const CString& strText);
    // 0 for an empty text, else the text as a number truncated toward zero.
    virtual int GetCurValue() const;
    virtual void SetCurValue(const int& nValue);
    // A value that reaches the slider (a bound tag or variable) moves its thumb, unless the operator
    // is dragging it.
    void SetCurrentValue(double dValue) override;
    void GetCurrentEditText(CString& strOut) const;
    void SetCurrentEditText(const CString& strText);

    // The value a pointer at `point` gives (the vertical slider's grows downward).
    int ValueFromPoint(CPoint point) const;
    // The thumb's centre along the groove of rc.
    int ThumbCentre(const CRect& rc) const;
    virtual BOOL IsVertical() const { return FALSE; }
    BOOL IsDragging() const { return m_bDragging; }
    CRect GetThumbRect() const { return m_rcThumb; }

    BOOL OnLButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    BOOL GetDragValue(double& dValue) const override
    {
        dValue = GetCurValue();
        return TRUE;
    }
    void OnCancelMode() override;
    void OnDrawShadow(CDC*) override {}
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

protected:
    // The draw rectangle, grown (and the shape with it) to the smallest size a slider draws at.
    CRect EnsureMinimumSize(int nMinWidth, int nMinHeight);
    void DrawSlider(CDC* pDC, BOOL b3d);

    BOOL m_bDragging = FALSE;
    CRect m_rcThumb;
    CString m_strCurrentText;
};

class CMyVertSliderShape : public CMyHorzSliderShape
{
    DECLARE_SERIAL(CMyVertSliderShape)
public:
    CMyVertSliderShape();
    CMyVertSliderShape(const CMyVertSliderShape& src);
    CFODrawShape* Copy() const override;
    BOOL IsVertical() const override { return TRUE; }
};
