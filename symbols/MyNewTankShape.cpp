#include "symbols/MyNewTankShape.h"

#include "mfc/Archive.h"
#include "symbols/SymbolParts.h"

IMPLEMENT_SERIAL(CMyNewTankShape, CFOCompositeShape, 0)

using namespace SymbolParts;

CMyNewTankShape::CMyNewTankShape()
{
    SetType(TYPE_ID);
}

CMyNewTankShape::CMyNewTankShape(const CMyNewTankShape& src) : CFOCompositeShape(src)
{
    SetType(TYPE_ID);
}

CMyNewTankShape::~CMyNewTankShape()
{
    StopTimer(this, m_nTimerId);
}

CMyNewTankShape& CMyNewTankShape::operator=(const CMyNewTankShape& src)
{
    if (this == &src)
        return *this;
    CFOCompositeShape::operator=(src);
    m_nStep = src.m_nStep;
    m_pScale = m_pMark = nullptr;
    m_rcSaved.SetRectEmpty();
    return *this;
}

CFODrawShape* CMyNewTankShape::Copy() const
{
    return new CMyNewTankShape(*this);
}

void CMyNewTankShape::Create(CRect& rcPos, CString strCaption)
{
    CreateFromRes(rcPos, strCaption, RES_ID);
}

void CMyNewTankShape::CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId)
{
    m_pScale = m_pMark = nullptr;
    m_rcSaved.SetRectEmpty();
    CreateFromResource(this, rcPos, strCaption, nResId);
    m_rcSaved.SetRectEmpty();
    AddTankPorts(this);
}

void CMyNewTankShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_nStep;
        return;
    }
    ar >> m_nStep;
    m_pScale = m_pMark = nullptr;
    m_rcSaved.SetRectEmpty();
}

void CMyNewTankShape::SetParentWnd(CFOPCanvasCore* pCanvas)
{
    if (!pCanvas && GetParentWnd() && m_nTimerId != -1)
    {
        m_rcSaved.SetRectEmpty();
        StopTimer(this, m_nTimerId);
    }
    CFOCompositeShape::SetParentWnd(pCanvas);
}

void CMyNewTankShape::OnTimer(int nTimerId)
{
    if (nTimerId != m_nTimerId)
    {
        CFOCompositeShape::OnTimer(nTimerId);
        return;
    }
    DoAnimate();
    UpdateControl();
}

void CMyNewTankShape::DoAddCustProp()
{
    CFOCompositeShape::DoAddCustProp();
    if (!FindProperty(SYMBOL_PROP_ANIMATION))
        PutPropBoolValue(SYMBOL_PROP_ANIMATION, TRUE);
}

void CMyNewTankShape::OnDrawFlat(CDC* pDC)
{
    CFOCompositeShape::OnDrawFlat(pDC);
    if (IsAnimationOn(this))
        DoStartTimer();
}

void CMyNewTankShape::OnDraw3d(CDC* pDC)
{
    // The base draws flat through the virtual OnDrawFlat, which starts the timer.
    CFOCompositeShape::OnDraw3d(pDC);
}

BOOL CMyNewTankShape::DoAnimate()
{
    CFODrawShape* scale = GetScale();
    CFODrawShape* mark = GetMark();
    if (!scale || !mark)
        return FALSE;
    const CRect rc = scale->GetSnapRect();
    // Compared before adding, so a step loaded from a file cannot overflow.
    m_nStep = (m_nStep < 0 || m_nStep >= rc.Height() - 4) ? 4 : m_nStep + 4;
    mark->PositionShape(CRect(m_rcSaved.left, m_rcSaved.bottom - m_nStep, m_rcSaved.right, m_rcSaved.bottom));
    return TRUE;
}

void CMyNewTankShape::DoStartTimer()
{
    StartOrStopTimer(this, m_nTimerId, PERIOD_MS, &SaveMark, &ResetSaved);
}

void CMyNewTankShape::SaveMark(CFODrawShape* pShape)
{
    auto* self = static_cast<CMyNewTankShape*>(pShape);
    if (CFODrawShape* mark = self->GetMark())
        self->m_rcSaved = mark->GetSnapRect();
}

void CMyNewTankShape::ResetSaved(CFODrawShape* pShape)
{
    static_cast<CMyNewTankShape*>(pShape)->m_rcSaved.SetRectEmpty();
}

CFODrawShape* CMyNewTankShape::GetScale()
{
    return Get(this, m_pScale, L"KEDU", FindBy::Name);
}

CFODrawShape* CMyNewTankShape::GetMark()
{
    return Get(this, m_pMark, L"MARK", FindBy::Name);
}
