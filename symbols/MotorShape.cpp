#include "symbols/MotorShape.h"

#include "mfc/Archive.h"
#include "symbols/SymbolParts.h"

IMPLEMENT_SERIAL(CMotorShape, CFOCompositeShape, 0)

using namespace SymbolParts;

CMotorShape::CMotorShape()
{
    SetType(TYPE_ID);
}

CMotorShape::CMotorShape(const CMotorShape& src) : CFOCompositeShape(src)
{
    SetType(TYPE_ID);
}

CMotorShape::~CMotorShape()
{
    StopTimer(this, m_nTimerId);
}

CMotorShape& CMotorShape::operator=(const CMotorShape& src)
{
    if (this == &src)
        return *this;
    CFOCompositeShape::operator=(src);
    m_nStep = src.m_nStep;
    m_pBand = m_pMotor = nullptr;
    return *this;
}

CFODrawShape* CMotorShape::Copy() const
{
    return new CMotorShape(*this);
}

void CMotorShape::Create(CRect& rcPos, CString strCaption)
{
    CreateFromRes(rcPos, strCaption, RES_ID);
}

void CMotorShape::CreateFromRes(CRect& rcPos, CString strCaption, UINT nResId)
{
    m_pBand = m_pMotor = nullptr;
    CreateFromResource(this, rcPos, strCaption, nResId);
}

void CMotorShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_nStep;
        return;
    }
    ar >> m_nStep;
    m_pBand = m_pMotor = nullptr;
}

void CMotorShape::SetParentWnd(CFOPCanvasCore* pCanvas)
{
    if (!pCanvas && GetParentWnd())
        StopTimer(this, m_nTimerId);
    CFOCompositeShape::SetParentWnd(pCanvas);
}

void CMotorShape::OnTimer(int nTimerId)
{
    if (nTimerId != m_nTimerId)
    {
        CFOCompositeShape::OnTimer(nTimerId);
        return;
    }
    DoAnimate();
    UpdateControl();
}

void CMotorShape::DoAddCustProp()
{
    CFOCompositeShape::DoAddCustProp();
    if (!FindProperty(SYMBOL_PROP_ANIMATION))
        PutPropBoolValue(SYMBOL_PROP_ANIMATION, TRUE);
}

void CMotorShape::OnDrawFlat(CDC* pDC)
{
    CFOCompositeShape::OnDrawFlat(pDC);
    if (IsAnimationOn(this))
        DoStartTimer();
}

void CMotorShape::OnDraw3d(CDC* pDC)
{
    // The base draws flat through the virtual OnDrawFlat, which starts the timer.
    CFOCompositeShape::OnDraw3d(pDC);
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

void CMotorShape::DoStartTimer()
{
    StartOrStopTimer(this, m_nTimerId, PERIOD_MS, nullptr, nullptr);
}

CFODrawShape* CMotorShape::GetBand()
{
    return Get(this, m_pBand, L"BAND", FindBy::Name);
}

CFODrawShape* CMotorShape::GetMotor()
{
    return Get(this, m_pMotor, L"MOTOR", FindBy::Name);
}
