#include "symbols/MotorShape.h"

#include "symbols/SymbolParts.h"

IMPLEMENT_SERIAL(CMotorShape, CAnimatedSymbolShape, 0)

using namespace SymbolParts;

CMotorShape::CMotorShape() : CAnimatedSymbolShape(TYPE_ID, RES_ID, PERIOD_MS, 4) {}

// The parts of the copy are its own: found anew.
CMotorShape::CMotorShape(const CMotorShape& src) : CAnimatedSymbolShape(src) {}

CFODrawShape* CMotorShape::Copy() const
{
    return new CMotorShape(*this);
}

void CMotorShape::ClearParts()
{
    m_pBand = m_pMotor = nullptr;
}

BOOL CMotorShape::DoAnimate()
{
    CFODrawShape* band = GetBand();
    CFODrawShape* motor = GetMotor();
    if (!band || !motor)
        return FALSE;
    const CRect rc = band->GetSnapRect();
    // Compared before adding, so a step loaded from a file cannot overflow.
    m_nStep = (m_nStep < 0 || m_nStep >= rc.Width() - 4) ? 4 : m_nStep + 4;
    MoveCenterTo(motor, CPoint(rc.right - m_nStep, (rc.top + rc.bottom) / 2 + 6));
    return TRUE;
}

CFODrawShape* CMotorShape::GetBand()
{
    return Get(this, m_pBand, L"BAND", FindBy::Name);
}

CFODrawShape* CMotorShape::GetMotor()
{
    return Get(this, m_pMotor, L"MOTOR", FindBy::Name);
}
