#include "foundation/RangeSlider.h"

#include "figkit/FODrawHelper.h"
#include "foundation/MemDC.h"
#include "mfc/Dc.h"
#include "mfc/Exceptions.h"
#include "mfc/ResourceModule.h"
#include "mfc/SysColor.h"

#include <QWidget>

#include <utility>

UINT RANGE_CHANGED =
    ::RegisterWindowMessage(L"RANGE_CHANGED{2E7439A4-12DB-42a2-BB95-3462B3EC39CE}CRangeSlider");

IMPLEMENT_DYNAMIC(CRangeSlider, CWnd)

BEGIN_MESSAGE_MAP(CRangeSlider, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CRangeSlider::CRangeSlider()
{
    const HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASS wc;
    if (!::GetClassInfo(hInst, XVK_RANGESLIDER_CLASSNAME, &wc))
    {
        wc = WNDCLASS();
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = XVK_RANGESLIDER_CLASSNAME;
        if (!AfxRegisterClass(&wc))
            AfxThrowResourceException();
    }
}

CRangeSlider::~CRangeSlider() = default;

BOOL CRangeSlider::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CCreateContext* pContext)
{
    if (!CWnd::Create(nullptr, L"", dwStyle, rect, pParentWnd, nID, pContext))
        return FALSE;
    PrepareWindow();
    return TRUE;
}

void CRangeSlider::PrepareWindow()
{
    // The arrow keys and clicks give the control the focus, as the dialog passes them on.
    if (QWidget* w = GetWidget())
        w->setFocusPolicy((GetStyle() & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
}

void CRangeSlider::PreSubclassWindow()
{
    PrepareWindow();
}

LRESULT CRangeSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_WANTARROWS;
    return CWnd::WindowProc(message, wParam, lParam);
}

// --- Values ----------------------------------------------------------------------------------------

namespace
{
// Inverted mode keeps the pair (a, b) as (-b, -a); the callers always see their own values.
void StorePair(BOOL bInverted, double a, double b, double& lo, double& hi)
{
    lo = bInverted ? -b : a;
    hi = bInverted ? -a : b;
}
double FirstOf(BOOL bInverted, double lo, double hi)
{
    return bInverted ? -hi : lo;
}
double SecondOf(BOOL bInverted, double lo, double hi)
{
    return bInverted ? -lo : hi;
}
} // namespace

void CRangeSlider::SetMinMax(double min, double max)
{
    if (max < min)
        std::swap(min, max);
    StorePair(m_bInverted, min, max, m_Min, m_Max);
    Normalize();
    Repaint();
}

void CRangeSlider::GetMinMax(double& min, double& max) const
{
    min = GetMin();
    max = GetMax();
}

double CRangeSlider::GetMin() const
{
    return FirstOf(m_bInverted, m_Min, m_Max);
}

double CRangeSlider::GetMax() const
{
    return SecondOf(m_bInverted, m_Min, m_Max);
}

void CRangeSlider::SetRange(double left, double right)
{
    StorePair(m_bInverted, left, right, m_Left, m_Right);
    Normalize();
    Repaint();
}

void CRangeSlider::GetRange(double& left, double& right) const
{
    left = CFODrawHelper::RoundValue(GetLeft());
    right = CFODrawHelper::RoundValue(GetRight());
}

double CRangeSlider::GetLeft() const
{
    return FirstOf(m_bInverted, m_Left, m_Right);
}

double CRangeSlider::GetRight() const
{
    return SecondOf(m_bInverted, m_Left, m_Right);
}

void CRangeSlider::SetVisualMinMax(double min, double max)
{
    StorePair(m_bInverted, min, max, m_VisualMin, m_VisualMax);
    NormalizeVisual();
    Repaint();
}

void CRangeSlider::GetVisualMinMax(double& min, double& max) const
{
    min = GetVisualMin();
    max = GetVisualMax();
}

double CRangeSlider::GetVisualMin() const
{
    return FirstOf(m_bInverted, m_VisualMin, m_VisualMax);
}

double CRangeSlider::GetVisualMax() const
{
    return SecondOf(m_bInverted, m_VisualMin, m_VisualMax);
}

void CRangeSlider::SetVisualMode(BOOL bVisualMode)
{
    if (bool(m_bVisualMode) == bool(bVisualMode))
        return;
    m_bVisualMode = bVisualMode;
    Repaint();
}

void CRangeSlider::SetVerticalMode(BOOL bVerticalMode)
{
    if (bool(m_bHorizontal) != bool(bVerticalMode))
        return;
    m_bHorizontal = !bVerticalMode;
    Repaint();
}

void CRangeSlider::SetInvertedMode(BOOL bInvertedMode)
{
    if (bool(m_bInverted) == bool(bInvertedMode))
        return;
    m_bInverted = bInvertedMode;
    // Each stored pair goes over to the other representation: negated and swapped.
    auto flip = [](double& a, double& b)
    {
        const double oldA = a;
        a = -b;
        b = -oldA;
    };
    flip(m_Min, m_Max);
    flip(m_Left, m_Right);
    flip(m_VisualMin, m_VisualMax);
    Repaint();
}

void CRangeSlider::Normalize()
{
    if (m_Left < m_Min)
    {
        m_Left = m_Min;
        Notify(RS_LEFTCHANGED);
        if (m_Right < m_Left)
        {
            m_Right = m_Left;
            Notify(RS_RIGHTCHANGED);
        }
    }
    if (m_Right > m_Max)
    {
        m_Right = m_Max;
        Notify(RS_RIGHTCHANGED);
        if (m_Left > m_Right)
        {
            m_Left = m_Right;
            Notify(RS_LEFTCHANGED);
        }
    }
}

void CRangeSlider::NormalizeVisual()
{
    if (m_VisualMin > m_VisualMax)
        std::swap(m_VisualMin, m_VisualMax);
    if (m_VisualMin < m_Min)
    {
        m_VisualMin = m_Min;
        if (m_VisualMax < m_VisualMin)
            m_VisualMax = m_VisualMin;
    }
    if (m_VisualMax > m_Max)
    {
        m_VisualMax = m_Max;
        if (m_VisualMin > m_VisualMax)
            m_VisualMin = m_VisualMax;
    }
}

void CRangeSlider::Notify(int nWhat)
{
    if (!m_hWnd)
        return;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(RANGE_CHANGED, WPARAM(nWhat), 0);
}

void CRangeSlider::Repaint()
{
    if (m_hWnd)
        Invalidate();
}

// A value's pixel offset along the slide; 0 for an empty range or a control with no room to slide.
int CRangeSlider::Pixel(double v) const
{
    if (m_Max <= m_Min || m_dx <= 0)
        return 0;
    return int((v - m_Min) / (m_Max - m_Min) * m_dx + 0.5);
}

double CRangeSlider::ValueAt(int n) const
{
    return double(n) / m_dx * (m_Max - m_Min) + m_Min;
}

// --- Painting --------------------------------------------------------------------------------------

void CRangeSlider::OnPaint()
{
    CPaintDC dc(this);
    CMemDC mem(&dc);
    mem.SetMapMode(MM_TEXT);
    Draw(&mem);
}

void CRangeSlider::DrawArrow(CDC* pDC, const CRect& rc, CRect& rHit, BOOL bDragged)
{
    CBrush face(GetSysColor(COLOR_BTNFACE));
    CBrush* pOld = pDC->SelectObject(&face);
    pDC->SelectStockObject(BLACK_PEN);
    pDC->Rectangle(&rc);
    pDC->SelectObject(pOld);
    rHit = rc;
    rHit.left += 1;
    rHit.top += 1;
    rHit.right -= 2;
    rHit.bottom -= 2;
    if (!bDragged)
        pDC->Draw3dRect(&rHit, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

namespace
{
void Triangle(CDC* pDC, POINT a, POINT b, POINT c)
{
    const POINT pts[3] = {a, b, c};
    CGdiObject* pOldBrush = pDC->SelectStockObject(BLACK_BRUSH);
    CGdiObject* pOldPen = pDC->SelectStockObject(BLACK_PEN);
    pDC->Polygon(pts, 3);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}
} // namespace

void CRangeSlider::Draw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    // Along the slide and across it: x and y horizontally, y and x vertically.
    const int length = m_bHorizontal ? rc.Width() : rc.Height();
    const int across = m_bHorizontal ? rc.Height() : rc.Width();
    m_nArrowWidth = across * 3 / 4;
    m_dx = length - 2 * m_nArrowWidth;
    CRect clip;
    pDC->GetClipBox(&clip);
    CBrush* pOldBrush = static_cast<CBrush*>(pDC->SelectStockObject(GRAY_BRUSH));
    CPen* pOldPen = static_cast<CPen*>(pDC->SelectStockObject(BLACK_PEN));
    pDC->Rectangle(&clip);

    auto box = [this](int a0, int c0, int a1, int c1)
    { return m_bHorizontal ? CRect(a0, c0, a1, c1) : CRect(c0, a0, c1, a1); };
    auto pt = [this](int along, int acrossAt) {
        return m_bHorizontal ? POINT{along, acrossAt} : POINT{acrossAt, along};
    };
    const int a = m_nArrowWidth;
    const int C = across;
    const int L = Pixel(m_Left);
    const int R = Pixel(m_Right);

    DrawArrow(pDC, box(L, 0, L + a, C), m_RectLeft, m_bTracking && m_TrackMode == 0);
    Triangle(pDC, pt(L + a / 3, C / 3), pt(L + a / 3, 2 * C / 3), pt(L + 2 * a / 3, C / 2));
    DrawArrow(pDC, box(a + R, 0, 2 * a + R, C), m_RectRight, m_bTracking && m_TrackMode == 1);
    Triangle(pDC, pt(a + R + 2 * a / 3, C / 3), pt(a + R + 2 * a / 3, 2 * C / 3), pt(a + R + a / 3, C / 2));

    const CRect bar = box(a + 1 + L, 1, a + R, C - 1);
    if (!bar.IsRectEmpty())
        pDC->FillSolidRect(&bar, RGB(255, 255, 255));
    if (m_bVisualMode && m_VisualMin < m_Right && m_Left < m_VisualMax)
    {
        const int from = std::max(a + L, a + Pixel(m_VisualMin));
        const int to = std::min(a + Pixel(m_VisualMax), a + R);
        if (to > from)
            pDC->FillSolidRect(box(from, 1, to, C - 1), RGB(255, 255, 150));
    }
    if (CWnd::GetFocus() == this)
    {
        CRect focus = bar;
        focus.DeflateRect(3, 3);
        if (focus.Width() > 0 && focus.Height() > 0)
            pDC->DrawFocusRect(&focus);
    }
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

// --- Mouse and keys --------------------------------------------------------------------------------

void CRangeSlider::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    Repaint();
    if (m_bTracking)
    {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    CRect middle;
    if (m_bHorizontal)
        middle = CRect(m_RectLeft.right + 1, 0, m_RectRight.left - 1, client.bottom);
    else
        middle = CRect(0, m_RectLeft.bottom + 1, m_nArrowWidth, m_RectRight.top - 1);
    CRect hit;
    if (m_RectLeft.PtInRect(point))
    {
        m_TrackMode = 0;
        hit = m_RectLeft;
    }
    else if (m_RectRight.PtInRect(point))
    {
        m_TrackMode = 1;
        hit = m_RectRight;
    }
    else if (middle.PtInRect(point))
    {
        m_TrackMode = 2;
        hit = middle;
    }
    else
    {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    const CPoint centre = hit.CenterPoint();
    m_ClickOffset = CPoint(point.x - centre.x, point.y - centre.y);
    m_bTracking = TRUE;
    SetCapture();
}

void CRangeSlider::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking)
    {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    // With nothing to slide along (an empty range, no room) the ends stay where they are.
    if (m_dx <= 0 || m_Max <= m_Min)
        return;
    const int a = m_nArrowWidth;
    const int x = m_bHorizontal ? point.x - m_ClickOffset.x : point.y - m_ClickOffset.y;
    switch (m_TrackMode)
    {
    case 0:
        m_Left = ValueAt(x - a / 2);
        if (m_Left > m_Right)
            m_Left = m_Right;
        if (m_Left < m_Min)
            m_Left = m_Min;
        Notify(RS_LEFTCHANGED);
        break;
    case 1:
    {
        const double old = m_Right;
        m_Right = ValueAt(x - 3 * a / 2);
        if (m_Right < m_Left)
            m_Right = m_Left;
        if (m_Right > m_Max)
            m_Right = m_Max;
        Notify(m_Right != old ? RS_RIGHTCHANGED : RS_LEFTCHANGED);
        break;
    }
    default:
    {
        const double w = m_Right - m_Left;
        const double centre = ValueAt(x - a);
        m_Left = centre - w / 2;
        m_Right = centre + w / 2;
        if (m_Left < m_Min)
        {
            m_Left = m_Min;
            m_Right = m_Left + w;
        }
        if (m_Right > m_Max)
        {
            m_Right = m_Max;
            m_Left = m_Right - w;
        }
        Notify(RS_BOTHCHANGED);
        break;
    }
    }
    Repaint();
}

void CRangeSlider::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bTracking)
    {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    m_bTracking = FALSE;
    ::ReleaseCapture();
    Repaint();
}

void CRangeSlider::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const UINT decrease = m_bHorizontal ? VK_LEFT : VK_UP;
    const UINT increase = m_bHorizontal ? VK_RIGHT : VK_DOWN;
    if ((nChar == decrease || nChar == increase) && !(::GetKeyState(VK_CONTROL) & 0x8000) && m_dx > 0)
    {
        const double s = (m_Max - m_Min) / m_dx;
        if (s > 0)
        {
            const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
            int l = int((m_Left - m_Min) / s + 0.5);
            int r = int((m_Right - m_Min) / s + 0.5);
            const int step = nChar == increase ? 1 : -1;
            r += step;
            if (!shift)
                l += step;
            if (l >= 0 && r <= m_dx)
            {
                m_Left = l * s + m_Min;
                m_Right = r * s + m_Min;
            }
            // Shift moves the right end alone, so that is what is reported.
            Notify(shift ? RS_RIGHTCHANGED : RS_BOTHCHANGED);
            Repaint();
        }
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CRangeSlider::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    Repaint();
}

void CRangeSlider::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    Repaint();
}
