#include "mfc/View.h"

#include "mfc/Document.h"
#include "mfc/Print.h"
#include "mfc/WndPrivate.h"
#include "mfc/WndScrollHost.h"

#include <QImage>
#include <QScrollBar>

#include <algorithm>
#include <climits>

// --- CView -----------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMsg)
ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrintDirect)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // Clicked or tabbed into, the view takes the focus and so becomes the active view.
    if (QWidget* w = GetWidget())
        w->setFocusPolicy(Qt::StrongFocus);
    auto* pContext = lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    if (!dc.GetPainter())
        return;
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() != this)
        pFrame->SetActiveView(this);
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    // A job that does not know its length prints one page.
    if (pInfo && pInfo->GetMaxPage() == 0xFFFF)
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
}

// The focus follows the user; activation only tells.
void CView::OnActivateView(BOOL, CView*, CView*) {}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::IsSelected(const CObject*) const
{
    return FALSE;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// --- CScrollView -----------------------------------------------------------------------------------

namespace
{
int Clamp(int v, int hi)
{
    return std::max(0, std::min(v, std::max(0, hi)));
}
} // namespace

#define ON_WM_HSCROLL_VIEW()                                                                                 \
    AFX_WND_THUNK(WM_HSCROLL, p->OnHScroll(LOWORD(c.wParam), HIWORD(c.wParam), nullptr))
#define ON_WM_VSCROLL_VIEW()                                                                                 \
    AFX_WND_THUNK(WM_VSCROLL, p->OnVScroll(LOWORD(c.wParam), HIWORD(c.wParam), nullptr))

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_HSCROLL_VIEW()
ON_WM_VSCROLL_VIEW()
END_MESSAGE_MAP()

const CSize CScrollView::sizeDefault(0, 0);

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

QWidget* CScrollView::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    return new CWndScrollHost(pParentWidget);
}

QWidget* CScrollView::GetClientWidget() const
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    return host ? host->m_pClient : GetWidget();
}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = CSize(std::max(0L, long(sizeTotal.cx)), std::max(0L, long(sizeTotal.cy)));
    // MM_TEXT: one logical unit is one pixel.
    m_totalDev = m_totalLog;
    m_pageDev = sizePage;
    if (m_pageDev.cx <= 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy <= 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    m_lineDev = sizeLine;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = std::max(1L, long(m_pageDev.cx / 10));
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = std::max(1L, long(m_pageDev.cy / 10));
    if (m_hWnd)
    {
        UpdateBars();
        Invalidate(TRUE);
    }
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return m_ptDevPos;
}

CPoint CScrollView::GetScrollPosition() const
{
    return m_ptDevPos;
}

void CScrollView::ScrollToPosition(POINT pt)
{
    ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT ptDev)
{
    SetDevicePosition(ptDev);
}

void CScrollView::CenterOnPoint(CPoint ptCenter)
{
    CRect rc;
    GetClientRect(&rc);
    ScrollToPosition(CPoint(ptCenter.x - rc.Width() / 2, ptCenter.y - rc.Height() / 2));
}

void CScrollView::GetTrueClientSize(CSize& size, CSize& sizeSb) const
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    if (!host)
    {
        CRect rc;
        GetClientRect(&rc);
        size = CSize(rc.Width(), rc.Height());
        sizeSb = CSize(0, 0);
        return;
    }
    size = CSize(host->width(), host->height());
    sizeSb =
        CSize(host->m_bars[SB_VERT].bar->sizeHint().width(), host->m_bars[SB_HORZ].bar->sizeHint().height());
}

CSize CScrollView::ScrollLimit() const
{
    CRect rc;
    GetClientRect(&rc);
    return CSize(std::max(0L, long(m_totalDev.cx - rc.Width())),
                 std::max(0L, long(m_totalDev.cy - rc.Height())));
}

void CScrollView::UpdateBars()
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    if (!host || m_bInUpdateBars)
        return;
    m_bInUpdateBars = true;
    CSize size, sb;
    GetTrueClientSize(size, sb);
    // A bar is needed when the page does not fit; one bar takes room from the other direction.
    bool needH = m_totalDev.cx > size.cx;
    bool needV = m_totalDev.cy > size.cy;
    if (needH && !needV)
        needV = m_totalDev.cy > size.cy - sb.cy;
    if (needV && !needH)
        needH = m_totalDev.cx > size.cx - sb.cx;
    const bool need[2] = {needH, needV};
    for (int i = 0; i < 2; ++i)
    {
        // The view decides, not the range: a bar shows exactly when it is needed.
        host->m_bars[i].shown = need[i];
        host->m_bars[i].alwaysShown = true;
        host->m_bars[i].bar->setVisible(need[i]);
    }
    host->Relayout();
    const CSize limit = ScrollLimit();
    const CPoint old = m_ptDevPos;
    m_ptDevPos = CPoint(Clamp(m_ptDevPos.x, limit.cx), Clamp(m_ptDevPos.y, limit.cy));
    if (m_ptDevPos != old)
        ScrollWindow(old.x - m_ptDevPos.x, old.y - m_ptDevPos.y);
    CRect rc;
    GetClientRect(&rc);
    const struct
    {
        int max, page, line, pos;
    } bars[] = {{int(limit.cx), rc.Width(), int(m_lineDev.cx), int(m_ptDevPos.x)},
                {int(limit.cy), rc.Height(), int(m_lineDev.cy), int(m_ptDevPos.y)}};
    for (int i = 0; i < 2; ++i)
    {
        CWndScrollHost::Bar& b = host->m_bars[i];
        b.info.nMin = 0;
        b.info.nPage = UINT(std::max(1, bars[i].page));
        b.info.nMax = bars[i].max + int(b.info.nPage) - 1;
        b.info.nPos = bars[i].pos;
        b.line = bars[i].line;
        host->Apply(i);
    }
    m_bInUpdateBars = false;
}

void CScrollView::SetDevicePosition(CPoint ptDev)
{
    const CSize limit = ScrollLimit();
    const CPoint pos(Clamp(ptDev.x, limit.cx), Clamp(ptDev.y, limit.cy));
    if (pos == m_ptDevPos)
        return;
    const CPoint old = m_ptDevPos;
    m_ptDevPos = pos;
    if (CWndScrollHost* host = AfxScrollHostOf(this))
    {
        host->m_bars[SB_HORZ].info.nPos = pos.x;
        host->m_bars[SB_VERT].info.nPos = pos.y;
        host->Apply(SB_HORZ);
        host->Apply(SB_VERT);
    }
    ScrollWindow(old.x - pos.x, old.y - pos.y);
    Invalidate(TRUE);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const CSize limit = ScrollLimit();
    const long long x = (long long)m_ptDevPos.x + sizeScroll.cx;
    const long long y = (long long)m_ptDevPos.y + sizeScroll.cy;
    const CPoint pos(Clamp(int(std::clamp(x, (long long)INT_MIN, (long long)INT_MAX)), limit.cx),
                     Clamp(int(std::clamp(y, (long long)INT_MIN, (long long)INT_MAX)), limit.cy));
    if (pos == m_ptDevPos)
        return FALSE;
    if (bDoScroll)
        SetDevicePosition(pos);
    return TRUE;
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    // A thumb position comes in 16 bits: the bar itself has the whole value.
    auto thumb = [&](QScrollBar* bar)
    {
        const int full = bar ? bar->sliderPosition() : int(nPos);
        return (bar && WORD(full) == WORD(nPos)) ? full : int(nPos);
    };
    auto step = [&](UINT code, int cur, int line, int page, QScrollBar* bar)
    {
        switch (code)
        {
        case SB_TOP:
            return INT_MIN / 2;
        case SB_BOTTOM:
            return INT_MAX / 2;
        case SB_LINEUP:
            return cur - line;
        case SB_LINEDOWN:
            return cur + line;
        case SB_PAGEUP:
            return cur - page;
        case SB_PAGEDOWN:
            return cur + page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            return thumb(bar);
        default:
            return cur;
        }
    };
    CRect rc;
    GetClientRect(&rc);
    const int x =
        step(LOBYTE(nScrollCode), m_ptDevPos.x, int(m_lineDev.cx),
             m_pageDev.cx > 0 ? int(m_pageDev.cx) : rc.Width(), host ? host->m_bars[SB_HORZ].bar : nullptr);
    const int y =
        step(HIBYTE(nScrollCode), m_ptDevPos.y, int(m_lineDev.cy),
             m_pageDev.cy > 0 ? int(m_pageDev.cy) : rc.Height(), host ? host->m_bars[SB_VERT].bar : nullptr);
    return OnScrollBy(CSize(x - m_ptDevPos.x, y - m_ptDevPos.y), bDoScroll);
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    // Three lines a notch, down the page when it is taller than the view, else across.
    const CSize limit = ScrollLimit();
    const int lines = -zDelta * 3 / WHEEL_DELTA;
    if (limit.cy > 0)
        return OnScrollBy(CSize(0, lines * int(m_lineDev.cy)));
    if (limit.cx > 0)
        return OnScrollBy(CSize(lines * int(m_lineDev.cx), 0));
    return FALSE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(-m_ptDevPos.x, -m_ptDevPos.y);
}
