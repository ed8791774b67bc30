// CTankShape: a tank whose stirrer turns while the screen runs. Part (by name): "RR". Every 100 ms
// the stirrer turns about the centre it had when the timer started by an angle drawn once per run
// of the program: a multiple of 10 degrees from -180 to 190 (0 leaves it standing).
#pragma once

#include "figkit/FOCompositeShape.h"

class CTankShape : public CFOCompositeShape
{
    DECLARE_SERIAL(CTankShape)
public:
    enum
    {
        TYPE_ID = 614,
        RES_ID = 109,
        PERIOD_MS = 100,
    };
    CTankShape();
    // The composite is copied; the copy starts as a new shape (no timer, angle 0, no centre).
    CTankShape(const CTankShape& src);
    ~CTankShape() override;
    CTankShape& operator=(const CTankShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    virtual void CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId);
    // The composite, then the last angle (32-bit).
    void Serialize(CArchive& ar) override;

    void SetParentWnd(CFOPCanvasCore* pCanvas) override;
    void OnTimer(int nTimerId) override;
    void DoAddCustProp() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;
    // One step; FALSE (nothing moves) when a part is missing.
    BOOL DoAnimate() override;
    void DoStartTimer() override;

    CFODrawShape* GetStirrer();
    CPoint GetSavedCenter() const { return m_ptCenter; }
    int GetStep() const { return m_nStep; }
    int GetTimerId() const { return m_nTimerId; }

protected:
    int m_nTimerId = -1;
    // The last turning angle in degrees.
    int m_nStep = 0;
    // The stirrer's centre when the timer started; (-1, -1) while none runs.
    CPoint m_ptCenter = CPoint(-1, -1);
    CFODrawShape* m_pStirrer = nullptr;

private:
    static void SaveCenter(CFODrawShape* pShape);
    static void ResetSaved(CFODrawShape* pShape);
};
