#include "player/RunMethodHost.h"

IMPLEMENT_DYNCREATE(CRunMethodHost, CNewMethodHost)

BEGIN_DISPATCH_MAP(CRunMethodHost, CNewMethodHost)
DISP_FUNCTION(CRunMethodHost, "GetCurTimerStep", GetCurTimerStep, VT_I4, VTS_NONE)
DISP_FUNCTION(CRunMethodHost, "SetCurTimerStep", SetCurTimerStep, VT_EMPTY, VTS_I4)
END_DISPATCH_MAP()

CRunMethodHost::CRunMethodHost() = default;
CRunMethodHost::~CRunMethodHost() = default;

LONG CRunMethodHost::GetCurTimerStep()
{
    return m_pnTimerStep ? LONG(*m_pnTimerStep) : 0;
}

void CRunMethodHost::SetCurTimerStep(LONG nStep)
{
    if (m_pnTimerStep)
        *m_pnTimerStep = int(nStep);
}
