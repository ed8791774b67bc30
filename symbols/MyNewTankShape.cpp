#include "symbols/MyNewTankShape.h"

#include "symbols/SymbolParts.h"

IMPLEMENT_SERIAL(CMyNewTankShape, CAnimatedSymbolShape, 0)

using namespace SymbolParts;

CMyNewTankShape::CMyNewTankShape() : CAnimatedSymbolShape(TYPE_ID, RES_ID, PERIOD_MS, 4) {}

CMyNewTankShape::CMyNewTankShape(const CMyNewTankShape& src) : CAnimatedSymbolShape(src) {}

CFODrawShape* CMyNewTankShape::Copy() const
{
    return new CMyNewTankShape(*this);
}

void CMyNewTankShape::ClearParts()
{
    m_pScale = m_pMark = nullptr;
}

void CMyNewTankShape::OnCreated()
{
    AddTankPorts(this);
}

void CMyNewTankShape::SaveState()
{
    if (CFODrawShape* mark = GetMark())
        m_rcSaved = mark->GetSnapRect();
}

void CMyNewTankShape::ResetState()
{
    m_rcSaved.SetRectEmpty();
}

BOOL CMyNewTankShape::DoAnimate()
{
    CFODrawShape* scale = GetScale();
    CFODrawShape* mark = GetMark();
    if (!scale || !mark)
        return FALSE;
    // A step outside a running timer starts from where the mark stands.
    if (m_rcSaved.IsRectEmpty())
        SaveState();
    const CRect rc = scale->GetSnapRect();
    // Compared before adding, so a step loaded from a file cannot overflow.
    m_nStep = (m_nStep < 0 || m_nStep >= rc.Height() - 4) ? 4 : m_nStep + 4;
    mark->PositionShape(CRect(m_rcSaved.left, m_rcSaved.bottom - m_nStep, m_rcSaved.right, m_rcSaved.bottom));
    return TRUE;
}

CFODrawShape* CMyNewTankShape::GetScale()
{
    return Get(this, m_pScale, L"KEDU", FindBy::Name);
}

CFODrawShape* CMyNewTankShape::GetMark()
{
    return Get(this, m_pMark, L"MARK", FindBy::Name);
}
