// CTankShape: a tank whose stirrer turns while the screen runs. Part (by name): "RR". Every 100 ms
// the stirrer turns about the centre it had when the timer started by an angle drawn once per run
// of the program: a multiple of 10 degrees from -180 to 190 (0 leaves it standing). A new tank has
// five connection ports.
#pragma once

#include "symbols/AnimatedSymbolShape.h"

class CTankShape : public CAnimatedSymbolShape
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
    CTankShape(const CTankShape& src);
    CFODrawShape* Copy() const override;
    // One turn (the step is its angle); FALSE (nothing turns) when the stirrer is missing.
    BOOL DoAnimate() override;

    CFODrawShape* GetStirrer();
    CPoint GetSavedCenter() const { return m_ptCenter; }

protected:
    void ClearParts() override;
    void OnCreated() override;
    void SaveState() override;
    void ResetState() override;

    // The stirrer's centre when the timer started; (-1, -1) while none runs.
    CPoint m_ptCenter = CPoint(-1, -1);
    CFODrawShape* m_pStirrer = nullptr;
};
