#include "symbols/TankShape.h"

#include "symbols/SymbolParts.h"

#include <random>

IMPLEMENT_SERIAL(CTankShape, CAnimatedSymbolShape, 0)

using namespace SymbolParts;

CTankShape::CTankShape() : CAnimatedSymbolShape(TYPE_ID, RES_ID, PERIOD_MS, 0) {}

CTankShape::CTankShape(const CTankShape& src) : CAnimatedSymbolShape(src) {}

CFODrawShape* CTankShape::Copy() const
{
    return new CTankShape(*this);
}

void CTankShape::ClearParts()
{
    m_pStirrer = nullptr;
}

void CTankShape::OnCreated()
{
    AddTankPorts(this);
}

void CTankShape::SaveState()
{
    if (CFODrawShape* stirrer = GetStirrer())
        m_ptCenter = CenterOf(stirrer);
}

void CTankShape::ResetState()
{
    m_ptCenter = CPoint(-1, -1);
}

BOOL CTankShape::DoAnimate()
{
    CFODrawShape* stirrer = GetStirrer();
    if (!stirrer)
        return FALSE;
    // The generator starts from the same seed every tick, so the angle is the same each time.
    static const unsigned seed = std::random_device{}();
    std::minstd_rand gen(seed);
    int k = int(gen() % 38);
    if (k > 19)
        k -= 38;
    m_nStep = 10 * k;
    // A step outside a running timer turns about where the stirrer stands.
    if (m_ptCenter == CPoint(-1, -1))
        SaveState();
    if (m_nStep != 0)
        stirrer->RotateShape(m_nStep, m_ptCenter.x, m_ptCenter.y);
    return TRUE;
}

CFODrawShape* CTankShape::GetStirrer()
{
    return Get(this, m_pStirrer, L"RR", FindBy::Name);
}
