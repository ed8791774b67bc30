// CRunMethodHost: "app" of the runtime programs: the programs' CNewMethodHost with the timer
// procedure's step counter, which the runtime view that created the script engine keeps and lends
// here. Scripts read it as a 32-bit integer, so it stays right however long the screen runs.
#pragma once

#include "symbols/NewMethodHost.h"

class CRunMethodHost : public CNewMethodHost
{
    DECLARE_DYNCREATE(CRunMethodHost)
public:
    CRunMethodHost();
    ~CRunMethodHost() override;

    // The view's counter (not owned; the view clears it before it goes). Without one the step
    // reads 0 and setting it does nothing.
    void SetTimerStepCounter(int* pnStep) { m_pnTimerStep = pnStep; }

    LONG GetCurTimerStep();
    void SetCurTimerStep(LONG nStep);

protected:
    int* m_pnTimerStep = nullptr;

    DECLARE_DISPATCH_MAP()
};
