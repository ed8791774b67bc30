#include "model/MyNewPipeShape.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_SERIAL(CMyNewPipeShape, CFOLineShape, 0)

namespace
{
// Widths beyond this draw at it: a wider pipe covers any screen.
const int kMaxPipeWidth = 2000;

void Defaults(CMyNewPipeShape& p)
{
    p.SetType(697);
    p.SetBkColor(0xFFFFFF);
    p.SetStateString(L"Open@Close");
    p.SetStateType(L"Close");
}

CPen MakePipePen(int nWidth, COLORREF cr, int nJoin)
{
    LOGBRUSH lb = {BS_SOLID, cr, 0};
    CPen pen;
    pen.CreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | nJoin, std::max(1, nWidth), &lb);
    return pen;
}
} // namespace

CMyNewPipeShape::CMyNewPipeShape()
{
    Defaults(*this);
}

CMyNewPipeShape::CMyNewPipeShape(const CMyNewPipeShape& src) : CFOLineShape()
{
    Defaults(*this);
    m_nFlowFrame = -1;
    *this = src;
}

CMyNewPipeShape::~CMyNewPipeShape()
{
    m_timer.Stop(this);
}

CMyNewPipeShape& CMyNewPipeShape::operator=(const CMyNewPipeShape& src)
{
    CFOLineShape::operator=(src);
    m_nTimerSpeed = src.m_nTimerSpeed;
    return *this;
}

CFODrawShape* CMyNewPipeShape::Copy() const
{
    return new CMyNewPipeShape(*this);
}

void CMyNewPipeShape::Serialize(CArchive& ar)
{
    CFOLineShape::Serialize(ar);
    if (ar.IsLoading())
    {
        m_nFlowFrame = -1;
        m_nStepSwitch = 2;
    }
}

int CMyNewPipeShape::GetPipeLineWidth() const
{
    int w = 8;
    GetPropIntValue(w, PROP_PIPE_WIDTH);
    return w;
}

void CMyNewPipeShape::SetPipeLineWidth(int nWidth)
{
    PutPropIntValue(PROP_PIPE_WIDTH, nWidth);
}

COLORREF CMyNewPipeShape::GetPipeLineColor() const
{
    COLORREF cr = 0x0000FF;
    GetPropColorValue(cr, PROP_FLOW_COLOR);
    return cr;
}

void CMyNewPipeShape::SetPipeLineColor(COLORREF cr)
{
    PutPropColorValue(PROP_FLOW_COLOR, cr);
}

BOOL CMyNewPipeShape::IsOpenEnds() const
{
    BOOL open = FALSE;
    GetPropBoolValue(open, PROP_OPEN_ENDS);
    return open;
}

void CMyNewPipeShape::SetTimerSpeed(int nMilliseconds)
{
    m_nTimerSpeed = nMilliseconds;
    m_timer.Stop(this);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
}

void CMyNewPipeShape::FlowPattern(int f, int w, DWORD pattern[4])
{
    const DWORD u = DWORD(std::max(1, w));
    if (f >= 11)
    {
        pattern[0] = 0;
        pattern[1] = u;
        pattern[2] = 10 * u;
        pattern[3] = u;
        return;
    }
    f = std::max(0, f);
    pattern[0] = DWORD(f) * u;
    pattern[1] = 2 * u;
    pattern[2] = DWORD(10 - f) * u;
    pattern[3] = 0;
}

std::vector<CPoint> CMyNewPipeShape::InnerPoints(const CPoint* points, int nCount, BOOL bOpenEnds, int d)
{
    std::vector<CPoint> pts(points, points + std::max(0, nCount));
    if (bOpenEnds || nCount < 2 || d == 0)
        return pts;
    auto pull = [d](CPoint& end, const CPoint& next)
    {
        const FOPPoint v(next.x - end.x, next.y - end.y);
        const int len = v.ManhattanLength();
        if (len == 0)
            return;
        end.x += CFODrawHelper::RoundValue(double(v.x) / len * d);
        end.y += CFODrawHelper::RoundValue(double(v.y) / len * d);
    };
    pull(pts.front(), pts[1]);
    pull(pts.back(), pts[size_t(nCount) - 2]);
    return pts;
}

void CMyNewPipeShape::DoDrawPipeLine(CDC* pDC, const CPoint* points, int nCount, int nLineWidth,
                                     int nPipeWidth, COLORREF crLine, COLORREF crBack, COLORREF)
{
    if (!pDC || nCount < 2)
        return;
    const int outer = (nPipeWidth + nLineWidth) * 2;
    if (nLineWidth > 0)
    {
        CPen wall = MakePipePen(outer, crLine, PS_JOIN_MITER);
        CPen* old = pDC->SelectObject(&wall);
        pDC->Polyline(points, nCount);
        pDC->SelectObject(old);
    }
    const std::vector<CPoint> inner = InnerPoints(points, nCount, IsOpenEnds(), nLineWidth + 1);
    if (outer - 4 < 1)
        return;
    CPen hollow = MakePipePen(outer - 4, crBack, PS_JOIN_MITER);
    CPen* old = pDC->SelectObject(&hollow);
    pDC->Polyline(inner.data(), int(inner.size()));
    pDC->SelectObject(old);
}

void CMyNewPipeShape::OnDrawFlat(CDC* pDC)
{
    CFOLineShape::OnDrawFlat(pDC);
    const int w = std::clamp(GetPipeLineWidth(), 1, kMaxPipeWidth);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    const int count = GetPointCount();
    if (count < 2)
        return;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    DoDrawPipeLine(pDC, GetPoints(), count, std::clamp(GetLineWidth(), 0, kMaxPipeWidth), w, GetLineColor(),
                   GetBkColor(), GetPatternColor());
    pDC->SetBkMode(oldMode);
    if (m_nFlowFrame == -1)
        return;
    CPen flow;
    if (gfxData.m_bRandomFlowColor)
    {
        LOGBRUSH lb = {BS_SOLID, RGB(std::rand() % 255, std::rand() % 255, std::rand() % 255), 0};
        flow.CreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, w, &lb);
    }
    else
    {
        DWORD pattern[4];
        FlowPattern(m_nFlowFrame, w, pattern);
        LOGBRUSH lb = {BS_SOLID, GetPipeLineColor(), 0};
        flow.CreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, w, &lb, 4, pattern);
    }
    CPen* old = pDC->SelectObject(&flow);
    pDC->Polyline(GetPoints(), count);
    pDC->SelectObject(old);
}

void CMyNewPipeShape::DoSubMenuChange(const int& nIndex, const CString& strState)
{
    SetStateType(strState);
    PutPropBoolValue(PROP_OPEN_ENDS, nIndex == 0);
}

void CMyNewPipeShape::DoAddCustProp()
{
    CFOLineShape::DoAddCustProp();
    const CFOValueProperties props[] = {
        {PROP_PIPE_WIDTH, FO_VALUE::MakeInt(4)},
        {PROP_OPEN_ENDS, FO_VALUE::MakeBool(FALSE)},
        {PROP_FLOW_COLOR, FO_VALUE::MakeColor(0xFF0000)},
        {XVK_PROP_ANIMATION, FO_VALUE::MakeBool(FALSE)},
    };
    for (const CFOValueProperties& p : props)
        AddNewProperty(&p);
}

void CMyNewPipeShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFOLineShape::SetParentWnd(pWnd);
}

void CMyNewPipeShape::DoStartTimer()
{
    CFODataModel* model = GetModel();
    if (!model)
        return;
    const BOOL wasRunning = m_timer.IsRegistered();
    // The pipe is as thick as its outer wall.
    m_timer.Start(
        this, std::max(1, m_nTimerSpeed), TRUE,
        (std::clamp(GetPipeLineWidth(), 1, kMaxPipeWidth) + std::clamp(GetLineWidth(), 0, kMaxPipeWidth)) *
            2);
    // A timer that stopped leaves the pattern standing at frame 2.
    if (wasRunning && !m_timer.IsRegistered())
        m_nFlowFrame = 2;
}

void CMyNewPipeShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFOLineShape::OnTimer(nTimerId);
        return;
    }
    DoAnimate();
    UpdateComp();
    UpdateControl();
}

BOOL CMyNewPipeShape::DoAnimate()
{
    const int f = m_nFlowFrame;
    m_nFlowFrame = -1;
    if (m_nStepSwitch > 1)
        m_nFlowFrame = (f + 1) % FRAMES;
    return m_nFlowFrame != -1 ? TRUE : f != -1;
}
