#include "model/FOCpuUsageShape.h"

#include "figkit/FOValueProperties.h"
#include "mfc/Archive.h"

#include <cstdlib>

IMPLEMENT_SERIAL(CFOCpuUsageShape, CMyPushChartShape, 0)

CFOCpuUsageShape::CFOCpuUsageShape()
{
    SetType(623);
    AddDemoLines();
}

CFOCpuUsageShape::CFOCpuUsageShape(const CFOCpuUsageShape& src) : CMyPushChartShape(src)
{
    SetType(623);
}

CFOCpuUsageShape::~CFOCpuUsageShape()
{
    m_timer.Stop(this);
}

CFOCpuUsageShape& CFOCpuUsageShape::operator=(const CFOCpuUsageShape& src)
{
    CMyPushChartShape::operator=(src);
    return *this;
}

CFODrawShape* CFOCpuUsageShape::Copy() const
{
    return new CFOCpuUsageShape(*this);
}

void CFOCpuUsageShape::AddDemoLines()
{
    if (GetLineCount() != 0)
        return;
    AddLine(0, RGB(0, 255, 0), 1);
    AddLine(1, RGB(255, 255, 0), 1);
}

void CFOCpuUsageShape::Create(CRect& rcPos, CString strCaption)
{
    CMyPushChartShape::Create(rcPos, strCaption);
    AddDemoLines();
}

void CFOCpuUsageShape::Serialize(CArchive& ar)
{
    CMyPushChartShape::Serialize(ar);
    if (!ar.IsStoring())
        AddDemoLines();
}

void CFOCpuUsageShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CMyPushChartShape::SetParentWnd(pWnd);
}

namespace
{
// The demo's values are scaled for a C runtime whose rand() gives 15 bits.
int Rand15()
{
    return std::rand() & 0x7FFF;
}
} // namespace

void CFOCpuUsageShape::PushDemoValues()
{
    Push(int(Rand15() * 10.0 / 2000.0 + 10.0), 0);
    Push(int(Rand15() * 10.0 / 4000.0 + 10.0), 1);
}

void CFOCpuUsageShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CMyPushChartShape::OnTimer(nTimerId);
        return;
    }
    PushDemoValues();
    Update();
}

BOOL CFOCpuUsageShape::DoAnimate()
{
    PushDemoValues();
    return 1;
}

void CFOCpuUsageShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}

void CFOCpuUsageShape::DoAddCustProp()
{
    CMyPushChartShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CFOCpuUsageShape::OnDrawFlat(CDC* pDC)
{
    CMyPushChartShape::OnDrawFlat(pDC);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
}

void CFOCpuUsageShape::OnDraw3d(CDC* pDC)
{
    CMyPushChartShape::OnDraw3d(pDC);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
}
