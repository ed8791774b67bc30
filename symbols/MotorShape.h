// CMotorShape: a motor that runs along its conveyor band while the screen runs. Parts (by name):
// "BAND" and "MOTOR". Every 50 ms the motor's centre moves 4 pixels further left from the band's
// right end, and starts again at the right once it has travelled the band's width.
#pragma once

#include "symbols/AnimatedSymbolShape.h"

class CMotorShape : public CAnimatedSymbolShape
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
    CMotorShape(const CMotorShape& src);
    CFODrawShape* Copy() const override;
    // One step; FALSE (nothing moves) when a part is missing.
    BOOL DoAnimate() override;

    CFODrawShape* GetBand();
    CFODrawShape* GetMotor();

protected:
    void ClearParts() override;

    CFODrawShape* m_pBand = nullptr;
    CFODrawShape* m_pMotor = nullptr;
};
