// CFOImageButton: a push button that draws itself: a bitmap of the resource chain at its left, the
// caption beside it in a font and colour of its own, and a cursor of its own over it (the hand by
// default). Bound to a template's button with DDX_Control or SubclassDlgItem, or made by Create.
#pragma once

#include "mfc/ButtonCtl.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"

class CFOImageButton : public CButton
{
    DECLARE_DYNAMIC(CFOImageButton)
public:
    CFOImageButton() = default;
    ~CFOImageButton() override;

    using CButton::Create;
    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The bitmap resource shown; an id the chain does not hold shows none.
    void SetImage(UINT nBitmapId);
    BOOL HasImage() const { return m_bitmap.GetSafeHandle() != nullptr; }
    // The cursor resource shown over the button; one that cannot be loaded shows the hand.
    void SetHandCursor(UINT nCursorId);
    HCURSOR GetHandCursor() const { return m_hCursor; }
    void SetCaptionFont(int nPointSize, int nWeight);
    CFont* GetCaptionFont() { return m_font.GetSafeHandle() ? &m_font : nullptr; }
    void SetCaptionColor(COLORREF cr);
    COLORREF GetCaptionColor() const { return m_crCaption; }

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void ApplyCursor();
    virtual void DrawButton(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bFocused, BOOL bEnabled);

    CBitmap m_bitmap;
    CFont m_font;
    COLORREF m_crCaption = CLR_INVALID;
    HCURSOR m_hCursor = nullptr;
};
