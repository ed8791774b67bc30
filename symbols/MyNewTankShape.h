// CMyNewTankShape: a tank whose level mark rises while the screen runs. Parts (by name): "KEDU" (the
// scale) and "MARK". Every 100 ms the mark, kept on the rectangle it had when the timer started,
// grows 4 pixels up from that rectangle's bottom, and starts again once it reaches the scale's
// height. A new tank has five connection ports.
#pragma once

#include "symbols/AnimatedSymbolShape.h"

class CMyNewTankShape : public CAnimatedSymbolShape
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
    CMyNewTankShape(const CMyNewTankShape& src);
    CFODrawShape* Copy() const override;
    // One step; FALSE (nothing moves) when a part is missing.
    BOOL DoAnimate() override;

    CFODrawShape* GetScale();
    CFODrawShape* GetMark();

protected:
    void ClearParts() override;
    void OnCreated() override;
    void SaveState() override;
    void ResetState() override;

    // The mark's snap rectangle when the timer started; empty while none runs.
    CRect m_rcSaved;
    CFODrawShape* m_pScale = nullptr;
    CFODrawShape* m_pMark = nullptr;
};
