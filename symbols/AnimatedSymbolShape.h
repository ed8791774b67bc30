// CAnimatedSymbolShape: what the animated symbols share. A shape timer runs while the screen is out
// of design mode: it starts at the first draw (when property 1924 is on, as it is by default) and
// stops when the model enters design mode, when the shape leaves its window and when the shape
// goes. Each tick is one DoAnimate step and a redraw. The step (32-bit) is stored after the
// composite; the rest starts anew on loading and copying.
#pragma once

#include "figkit/FOCompositeShape.h"

class CAnimatedSymbolShape : public CFOCompositeShape
{
    DECLARE_DYNAMIC(CAnimatedSymbolShape)
public:
    CAnimatedSymbolShape(UINT nType, UINT nResId, int nPeriod, int nFirstStep);
    // The composite is copied; the copy starts as a new shape (no timer, the first step).
    CAnimatedSymbolShape(const CAnimatedSymbolShape& src);
    ~CAnimatedSymbolShape() override;
    CAnimatedSymbolShape& operator=(const CAnimatedSymbolShape& src);

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // Create with another composite resource.
    virtual void CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId);
    void Serialize(CArchive& ar) override;

    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    void DoAddCustProp() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;
    void DoStartTimer() override;

    int GetStep() const { return m_nStep; }
    int GetTimerId() const { return m_nTimerId; }

protected:
    // The cached parts are forgotten (the children were replaced).
    virtual void ClearParts() = 0;
    // What a new symbol adds after its parts are placed.
    virtual void OnCreated() {}
    // Kept when the timer starts, and forgotten when it stops.
    virtual void SaveState() {}
    virtual void ResetState() {}

    int m_nTimerId = -1;
    int m_nStep;

private:
    UINT m_nResId;
    int m_nPeriod;
    int m_nFirstStep;
};
