#include "symbols/TankShape.h"

#include "mfc/Archive.h"
#include "symbols/SymbolParts.h"

#include <random>

IMPLEMENT_SERIAL(CTankShape, CFOCompositeShape, 0)

using namespace SymbolParts;

CTankShape::CTankShape()
{
    SetType(TYPE_ID);
}

CTankShape::CTankShape(const CTankShape& src) : CFOCompositeShape(src)
{
    SetType(TYPE_ID);
}

CTankShape::~CTankShape()
{
    StopTimer(this, m_nTimerId);
}

CTankShape& CTankShape::operator=(const CTankShape& src)
{
    if (this == &src)
        return *this;
    CFOCompositeShape::operator=(src);
    m_nStep = src.m_nStep;
    m_pStirrer = nullptr;
    return *this;
}

CFODrawShape* CTankShape::Copy() const
{
    return new CTankShape(*this);
}

void CTankShape::Create(CRect& rcPos, CString strCaption)
{
    CreateFromRes(rcPos, strCaption, RES_ID);
}

void CTankShape::CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId)
{
    m_pStirrer = nullptr;
    CreateFromResource(this, rcPos, strCaption, nResId);
    m_ptCenter = CPoint(-1, -1);
    AddTankPorts(this);
}

void CTankShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_nStep;
        return;
    }
    ar >> m_nStep;
    m_pStirrer = nullptr;
    m_ptCenter = CPoint(-1, -1);
}

void CTankShape::SetParentWnd(CFOPCanvasCore* pCanvas)
{
    if (!pCanvas && GetParentWnd() && m_nTimerId != -1)
    {
        m_ptCenter = CPoint(-1, -1);
        StopTimer(this, m_nTimerId);
    }
    CFOCompositeShape::SetParentWnd(pCanvas);
}

void CTankShape::OnTimer(int nTimerId)
{
    if (nTimerId != m_nTimerId)
    {
        CFOCompositeShape::OnTimer(nTimerId);
        return;
    }
    DoAnimate();
    UpdateControl();
}

void CTankShape::DoAddCustProp()
{
    CFOCompositeShape::DoAddCustProp();
    if (!FindProperty(SYMBOL_PROP_ANIMATION))
        PutPropBoolValue(SYMBOL_PROP_ANIMATION, TRUE);
}

void CTankShape::OnDrawFlat(CDC* pDC)
{
    CFOCompositeShape::OnDrawFlat(pDC);
    if (IsAnimationOn(this))
        DoStartTimer();
}

void CTankShape::OnDraw3d(CDC* pDC)
{
    // The base draws flat through the virtual OnDrawFlat, which starts the timer.
    CFOCompositeShape::OnDraw3d(pDC);
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
    if (m_nStep != 0)
        stirrer->RotateShape(m_nStep, m_ptCenter.x, m_ptCenter.y);
    return TRUE;
}

void CTankShape::DoStartTimer()
{
    StartOrStopTimer(this, m_nTimerId, PERIOD_MS, &SaveCenter, &ResetSaved);
}

void CTankShape::SaveCenter(CFODrawShape* pShape)
{
    auto* self = static_cast<CTankShape*>(pShape);
    if (CFODrawShape* stirrer = self->GetStirrer())
        self->m_ptCenter = CenterOf(stirrer);
}

void CTankShape::ResetSaved(CFODrawShape* pShape)
{
    static_cast<CTankShape*>(pShape)->m_ptCenter = CPoint(-1, -1);
}

CFODrawShape* CTankShape::GetStirrer()
{
    return Get(this, m_pStirrer, L"RR", FindBy::Name);
}
