#include "symbols/AnimatedSymbolShape.h"

#include "mfc/Archive.h"
#include "symbols/SymbolParts.h"

IMPLEMENT_DYNAMIC(CAnimatedSymbolShape, CFOCompositeShape)

using namespace SymbolParts;

CAnimatedSymbolShape::CAnimatedSymbolShape(UINT nType, UINT nResId, int nPeriod, int nFirstStep)
    : m_nStep(nFirstStep), m_nResId(nResId), m_nPeriod(nPeriod), m_nFirstStep(nFirstStep)
{
    SetType(nType);
}

CAnimatedSymbolShape::CAnimatedSymbolShape(const CAnimatedSymbolShape& src)
    : CFOCompositeShape(src), m_nStep(src.m_nFirstStep), m_nResId(src.m_nResId), m_nPeriod(src.m_nPeriod),
      m_nFirstStep(src.m_nFirstStep)
{
}

CAnimatedSymbolShape::~CAnimatedSymbolShape()
{
    StopTimer(this, m_nTimerId);
}

CAnimatedSymbolShape& CAnimatedSymbolShape::operator=(const CAnimatedSymbolShape& src)
{
    if (this == &src)
        return *this;
    CFOCompositeShape::operator=(src);
    m_nStep = src.m_nStep;
    ClearParts();
    return *this;
}

void CAnimatedSymbolShape::Create(CRect& rcPos, CString strCaption)
{
    CreateFromRes(rcPos, strCaption, m_nResId);
}

void CAnimatedSymbolShape::CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId)
{
    ClearParts();
    CreateFromResource(this, rcPos, strCaption, nResId);
    ResetState();
    OnCreated();
}

void CAnimatedSymbolShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_nStep;
        return;
    }
    ar >> m_nStep;
    ClearParts();
    ResetState();
}

void CAnimatedSymbolShape::SetParentWnd(CWnd* pWnd)
{
    if (!pWnd && GetParentWnd() && m_nTimerId != -1)
    {
        ResetState();
        StopTimer(this, m_nTimerId);
    }
    CFOCompositeShape::SetParentWnd(pWnd);
}

void CAnimatedSymbolShape::OnTimer(int nTimerId)
{
    if (nTimerId != m_nTimerId)
    {
        CFOCompositeShape::OnTimer(nTimerId);
        return;
    }
    // The moved part tells the model its old and new place; the rest of the symbol stays drawn.
    DoAnimate();
}

void CAnimatedSymbolShape::DoAddCustProp()
{
    CFOCompositeShape::DoAddCustProp();
    if (!FindProperty(SYMBOL_PROP_ANIMATION))
        PutPropBoolValue(SYMBOL_PROP_ANIMATION, TRUE);
}

void CAnimatedSymbolShape::OnDrawFlat(CDC* pDC)
{
    CFOCompositeShape::OnDrawFlat(pDC);
    if (IsAnimationOn(this))
        DoStartTimer();
}

void CAnimatedSymbolShape::OnDraw3d(CDC* pDC)
{
    // The base draws flat through the virtual OnDrawFlat, which starts the timer.
    CFOCompositeShape::OnDraw3d(pDC);
}

void CAnimatedSymbolShape::DoStartTimer()
{
    StartOrStopTimer(
        this, m_nTimerId, m_nPeriod,
        [](CFODrawShape* s) { static_cast<CAnimatedSymbolShape*>(s)->SaveState(); },
        [](CFODrawShape* s) { static_cast<CAnimatedSymbolShape*>(s)->ResetState(); });
}
