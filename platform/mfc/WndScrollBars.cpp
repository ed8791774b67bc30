// Scroll bars of plain child windows, and the caret.
#include "mfc/View.h"
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"
#include "mfc/WndScrollHost.h"

#include <QGridLayout>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

bool AfxScrollCodeFromAction(int nAction, UINT& nCode)
{
    switch (nAction)
    {
    case QAbstractSlider::SliderSingleStepAdd:
        nCode = SB_LINEDOWN;
        return true;
    case QAbstractSlider::SliderSingleStepSub:
        nCode = SB_LINEUP;
        return true;
    case QAbstractSlider::SliderPageStepAdd:
        nCode = SB_PAGEDOWN;
        return true;
    case QAbstractSlider::SliderPageStepSub:
        nCode = SB_PAGEUP;
        return true;
    case QAbstractSlider::SliderToMinimum:
        nCode = SB_TOP;
        return true;
    case QAbstractSlider::SliderToMaximum:
        nCode = SB_BOTTOM;
        return true;
    case QAbstractSlider::SliderMove:
        nCode = SB_THUMBTRACK;
        return true;
    default:
        return false;
    }
}

CWndScrollHost::CWndScrollHost(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    m_pClient = new CWndClientArea(this);
    for (int i = 0; i < 2; ++i)
    {
        m_bars[i].bar = new QScrollBar(i == SB_HORZ ? Qt::Horizontal : Qt::Vertical, this);
        m_bars[i].bar->hide();
        Connect(i);
    }
    grid->addWidget(m_pClient, 0, 0);
    grid->addWidget(m_bars[SB_VERT].bar, 0, 1);
    grid->addWidget(m_bars[SB_HORZ].bar, 1, 0);
}

CWndScrollHost::~CWndScrollHost()
{
    AfxWidgetDying(this);
}

void CWndScrollHost::Apply(int nBar)
{
    Bar& b = m_bars[nBar];
    const SCROLLINFO& si = b.info;
    const int page = int(std::max<UINT>(si.nPage, 1));
    const int hi = std::max(si.nMin, si.nMax - page + 1);
    {
        const QSignalBlocker block(b.bar);
        b.bar->setRange(si.nMin, hi);
        b.bar->setPageStep(page);
        b.bar->setSingleStep(std::max(1, b.line));
        b.bar->setValue(std::clamp(si.nPos, si.nMin, hi));
    }
    const bool needed = si.nMax - si.nMin + 1 > int(si.nPage) && si.nMax > si.nMin;
    b.bar->setEnabled(needed);
    const bool visible = b.shown && (needed || b.alwaysShown);
    if (b.bar->isVisibleTo(this) != visible)
    {
        b.bar->setVisible(visible);
        Relayout();
    }
}

void CWndScrollHost::Relayout()
{
    if (QLayout* l = layout())
    {
        l->invalidate();
        l->activate();
    }
}

bool CWndScrollHost::event(QEvent* e)
{
    const HWND hWnd = AfxHandleFromWidget(this);
    if (!hWnd || e->type() == QEvent::Paint)
        return QWidget::event(e);
    // The mouse is the client area's: what reaches the host came up from it unhandled, and the
    // window has had it once already.
    switch (e->type())
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return QWidget::event(e);
    default:
        break;
    }
    return AfxHandleWidgetEvent(hWnd, this, e, [this, e] { return QWidget::event(e); });
}

void CWndScrollHost::Connect(int nBar)
{
    QScrollBar* bar = m_bars[nBar].bar;
    QObject::connect(bar, &QScrollBar::actionTriggered, this,
                     [this, bar, nBar](int action)
                     {
                         UINT code = SB_ENDSCROLL;
                         if (!AfxScrollCodeFromAction(action, code))
                             return;
                         const HWND hWnd = AfxHandleFromWidget(this);
                         if (!hWnd)
                             return;
                         m_bars[nBar].info.nTrackPos = bar->sliderPosition();
                         const int pos = bar->sliderPosition();
                         AfxSendFromQt(hWnd, nBar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL,
                                       MAKEWPARAM(code, WORD(std::clamp(pos, 0, 0xFFFF))), 0);
                         // Where the window put it, not where the action would (Qt applies this
                         // after the slot).
                         const QSignalBlocker block(bar);
                         bar->setSliderPosition(m_bars[nBar].info.nPos);
                     });
}

CWndScrollHost* AfxScrollHostOf(const CWnd* pWnd)
{
    return pWnd ? dynamic_cast<CWndScrollHost*>(pWnd->GetWidget()) : nullptr;
}

QWidget* AfxCreateScrollBarHost(QWidget* pParent)
{
    return new CWndScrollHost(pParent);
}

QWidget* AfxScrollBarHostClient(const QWidget* pWidget)
{
    auto* host = dynamic_cast<const CWndScrollHost*>(pWidget);
    return host ? host->m_pClient : nullptr;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL)
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    if (!host || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    SCROLLINFO& si = host->m_bars[nBar].info;
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE)
    {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = std::max(lpScrollInfo->nMin, lpScrollInfo->nMax);
    }
    if (mask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    host->m_bars[nBar].alwaysShown = (mask & SIF_DISABLENOSCROLL) != 0;
    const int hi = std::max(si.nMin, si.nMax - int(std::max<UINT>(si.nPage, 1)) + 1);
    si.nPos = std::clamp(si.nPos, si.nMin, hi);
    host->Apply(nBar);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    if (!host || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    const auto& b = host->m_bars[nBar];
    const UINT mask = lpScrollInfo->fMask ? lpScrollInfo->fMask : nMask;
    if (mask & SIF_RANGE)
    {
        lpScrollInfo->nMin = b.info.nMin;
        lpScrollInfo->nMax = b.info.nMax;
    }
    if (mask & SIF_PAGE)
        lpScrollInfo->nPage = b.info.nPage;
    if (mask & SIF_POS)
        lpScrollInfo->nPos = b.info.nPos;
    if (mask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = b.bar->isSliderDown() ? b.bar->sliderPosition() : b.info.nTrackPos;
    return TRUE;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO si = {sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
    const int old = GetScrollPos(nBar);
    si.nPos = nPos;
    SetScrollInfo(nBar, &si, bRedraw);
    return old;
}

int CWnd::GetScrollPos(int nBar) const
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    return host && (nBar == SB_HORZ || nBar == SB_VERT) ? host->m_bars[nBar].info.nPos : 0;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow)
{
    CWndScrollHost* host = AfxScrollHostOf(this);
    if (!host)
        return;
    for (int i = 0; i < 2; ++i)
        if (nBar == SB_BOTH || int(nBar) == i)
        {
            host->m_bars[i].shown = bShow != FALSE;
            host->Apply(i);
        }
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    ShowScrollBar(UINT(nBar), bEnable);
}

// --- caret ----------------------------------------------------------------------------------------

namespace
{
struct CaretState
{
    HWND hOwner = nullptr;
    QPointer<QWidget> pWidget;
    QPointer<QTimer> pBlink;
    QPoint pos;
    int nHide = 1; // made hidden; ShowCaret shows it
    bool bOn = true;

    void Update()
    {
        if (!pWidget)
            return;
        pWidget->move(pos);
        pWidget->setVisible(nHide <= 0 && bOn);
        if (nHide <= 0)
            pWidget->raise();
    }
};

CaretState& Caret()
{
    static CaretState state;
    return state;
}

BOOL MakeCaret(CWnd* pWnd, int nWidth, int nHeight, Qt::GlobalColor colour)
{
    QWidget* client = pWnd->GetClientWidget();
    if (!client)
        return FALSE;
    DestroyCaret();
    CaretState& c = Caret();
    c.hOwner = pWnd->m_hWnd;
    auto* w = new QWidget(client);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->resize(std::max(1, nWidth), std::max(1, nHeight));
    w->hide();
    c.pWidget = w;
    auto* timer = new QTimer(w);
    timer->setInterval(530);
    QObject::connect(timer, &QTimer::timeout, w,
                     []
                     {
                         CaretState& s = Caret();
                         s.bOn = !s.bOn;
                         s.Update();
                     });
    timer->start();
    c.pBlink = timer;
    c.nHide = 1;
    c.bOn = true;
    c.pos = QPoint(0, 0);
    return TRUE;
}
} // namespace

BOOL CWnd::CreateSolidCaret(int nWidth, int nHeight)
{
    return MakeCaret(this, nWidth, nHeight, Qt::black);
}

BOOL CWnd::CreateGrayCaret(int nWidth, int nHeight)
{
    return MakeCaret(this, nWidth, nHeight, Qt::gray);
}

void CWnd::ShowCaret()
{
    CaretState& c = Caret();
    if (c.hOwner != m_hWnd || !c.pWidget)
        return;
    if (c.nHide > 0)
        --c.nHide;
    c.bOn = true;
    c.Update();
}

void CWnd::HideCaret()
{
    CaretState& c = Caret();
    if (c.hOwner != m_hWnd || !c.pWidget)
        return;
    ++c.nHide;
    c.Update();
}

void CWnd::SetCaretPos(POINT point)
{
    CaretState& c = Caret();
    c.pos = QPoint(point.x, point.y);
    c.bOn = true;
    c.Update();
}

CPoint CWnd::GetCaretPos()
{
    const CaretState& c = Caret();
    return CPoint(c.pos.x(), c.pos.y());
}

BOOL DestroyCaret()
{
    CaretState& c = Caret();
    if (!c.pWidget)
        return FALSE;
    delete c.pWidget.data();
    c.hOwner = nullptr;
    c.nHide = 1;
    return TRUE;
}
