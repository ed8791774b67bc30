// CMyNewTankShape: a tank whose level mark rises while the screen runs. Parts (by name): "KEDU" (the
// scale) and "MARK". Every 100 ms the mark, kept on the rectangle it had when the timer started,
// grows 4 pixels up from that rectangle's bottom, and starts again once it reaches the scale's height.
#pragma once

#include "figkit/FOCompositeShape.h"

class CMyNewTankShape : public CFOCompositeShape
{
    DECLARE_SERIAL(CMyNewTankShape)
public:
    enum
    {
        TYPE_ID = 610,
        RES_ID = 110,
        PERIOD_MS = 100,
    };
    CMyNewTankShape();
    // The composite is copied; the copy starts as a new shape (no timer, step 4, nothing saved).
    CMyNewTankShape(const CMyNewTankShape& src);
    ~CMyNewTankShape() override;
    CMyNewTankShape& operator=(const CMyNewTankShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    virtual void CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId);
    // The composite, then the step (32-bit).
    void Serialize(CArchive& ar) override;

    void SetParentWnd(CFOPCanvasCore* pCanvas) override;
    void OnTimer(int nTimerId) override;
    void DoAddCustProp() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;
    // One step; FALSE (nothing moves) when a part is missing.
    BOOL DoAnimate() override;
    void DoStartTimer() override;

    CFODrawShape* GetScale();
    CFODrawShape* GetMark();
    int GetStep() const { return m_nStep; }
    int GetTimerId() const { return m_nTimerId; }

protected:
    int m_nTimerId = -1;
    int m_nStep = 4;
    // The mark's snap rectangle when the timer started; empty while none runs.
    CRect m_rcSaved;
    CFODrawShape* m_pScale = nullptr;
    CFODrawShape* m_pMark = nullptr;

private:
    static void SaveMark(CFODrawShape* pShape);
    static void ResetSaved(CFODrawShape* pShape);
};
