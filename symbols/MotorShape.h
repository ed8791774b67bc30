// CMotorShape: a motor that runs along its conveyor band while the screen runs. Parts (by name):
// "BAND" and "MOTOR". Every 50 ms the motor's centre moves 4 pixels further left from the band's
// right end, and starts again at the right once it has travelled the band's width.
#pragma once

#include "figkit/FOCompositeShape.h"

class CMotorShape : public CFOCompositeShape
{
    DECLARE_SERIAL(CMotorShape)
public:
    enum
    {
        TYPE_ID = 608,
        RES_ID = 111,
        PERIOD_MS = 50,
    };
    CMotorShape();
    // The composite is copied; the copy starts as a new shape (no timer, step 4).
    CMotorShape(const CMotorShape& src);
    ~CMotorShape() override;
    CMotorShape& operator=(const CMotorShape& src);
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

    CFODrawShape* GetBand();
    CFODrawShape* GetMotor();
    int GetStep() const { return m_nStep; }
    int GetTimerId() const { return m_nTimerId; }

protected:
    int m_nTimerId = -1;
    int m_nStep = 4;
    CFODrawShape* m_pBand = nullptr;
    CFODrawShape* m_pMotor = nullptr;
};
