// Mouse capture, cursors, content scrolling and the wheel setting of plain windows.
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPaintEvent>
#include <QPointer>
#include <QWidget>

#include <climits>
#include <cstdlib>

namespace
{
HWND g_hCapture = nullptr;
HCURSOR g_hCursor = nullptr;
thread_local QWidget* t_pCursorTarget = nullptr;
bool g_bCursorNoted = false;
QPoint g_ptCursor;

struct CursorShape
{
    WORD id;
    Qt::CursorShape shape;
};
const CursorShape kCursors[] = {
    {32512, Qt::ArrowCursor},     {32513, Qt::IBeamCursor},        {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},     {32642, Qt::SizeFDiagCursor},    {32643, Qt::SizeBDiagCursor},
    {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},      {32646, Qt::SizeAllCursor},
    {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
};

// A standard cursor's handle is its id; no resource cursors are kept.
Qt::CursorShape ShapeOf(HCURSOR h)
{
    const auto id = WORD(reinterpret_cast<ULONG_PTR>(h));
    for (const CursorShape& c : kCursors)
        if (c.id == id)
            return c.shape;
    return Qt::ArrowCursor;
}
} // namespace

AfxCursorScope::AfxCursorScope(QWidget* pWidget) : m_pOuter(t_pCursorTarget)
{
    t_pCursorTarget = pWidget;
}

AfxCursorScope::~AfxCursorScope()
{
    t_pCursorTarget = m_pOuter;
}

void AfxNoteCursorPos(const QPoint& screen)
{
    g_bCursorNoted = true;
    g_ptCursor = screen;
}

QPoint AfxLastCursorPos()
{
    return g_bCursorNoted ? g_ptCursor : QCursor::pos();
}

namespace
{
class COwnerPaintFilter : public QObject
{
public:
    explicit COwnerPaintFilter(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Paint)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        const HWND h = w ? AfxHandleFromWidget(w) : nullptr;
        if (!h)
            return false;
        AfxQtEntry entry(false);
        AfxPaintScope scope(w, static_cast<QPaintEvent*>(e)->region());
        return !AfxForwardEvent(h, WM_PAINT, 0, 0);
    }
};
} // namespace

void AfxSetControlOwnerPaint(CWnd* pWnd)
{
    QWidget* w = pWnd ? pWnd->GetWidget() : nullptr;
    if (!w)
        return;
    static QPointer<COwnerPaintFilter> filter;
    if (!filter && QCoreApplication::instance())
        filter = new COwnerPaintFilter(QCoreApplication::instance());
    if (filter)
        w->installEventFilter(filter.data());
}

CWnd* CWnd::GetScrollBarCtrl(int) const
{
    return nullptr;
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    QWidget* client = GetClientWidget();
    if (!client || (xAmount == 0 && yAmount == 0))
        return;
    if (!lpRect)
    {
        client->scroll(xAmount, yAmount);
        return;
    }
    CRect rc(*lpRect);
    if (lpClipRect)
        rc.IntersectRect(rc, lpClipRect);
    if (!rc.IsRectEmpty())
        client->scroll(xAmount, yAmount, QRect(rc.left, rc.top, rc.Width(), rc.Height()));
}

CWnd* CWnd::SetCapture()
{
    CWnd* pOld = GetCapture();
    g_hCapture = m_hWnd;
    return pOld;
}

CWnd* CWnd::GetCapture()
{
    if (g_hCapture && !::IsWindow(g_hCapture))
        g_hCapture = nullptr;
    return FromHandlePermanent(g_hCapture);
}

HWND GetCapture()
{
    CWnd* p = CWnd::GetCapture();
    return p ? p->m_hWnd : nullptr;
}

BOOL ReleaseCapture()
{
    g_hCapture = nullptr;
    return TRUE;
}

HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName)
{
    const auto id = reinterpret_cast<ULONG_PTR>(lpCursorName);
    if (hInstance || id > 0xFFFF)
        return nullptr;
    for (const CursorShape& c : kCursors)
        if (c.id == id)
            return reinterpret_cast<HCURSOR>(ULONG_PTR(c.id));
    return nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    const HCURSOR old = g_hCursor;
    g_hCursor = hCursor;
    QWidget* target = t_pCursorTarget;
    if (!target)
        target = AfxWidgetFromHandle(GetCapture());
    if (target)
    {
        if (hCursor)
            target->setCursor(QCursor(ShapeOf(hCursor)));
        else
            target->setCursor(QCursor(Qt::BlankCursor));
    }
    return old;
}

HCURSOR GetCursor()
{
    return g_hCursor;
}

BOOL DestroyCursor(HCURSOR hCursor)
{
    return hCursor != nullptr;
}

BOOL SystemParametersInfoW(UINT uiAction, UINT, PVOID pvParam, UINT)
{
    if (uiAction != SPI_GETWHEELSCROLLLINES || !pvParam)
        return FALSE;
    *static_cast<UINT*>(pvParam) = 3;
    return TRUE;
}

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    long long v = (long long)nNumber * nNumerator;
    const long long d = nDenominator;
    // Rounded half away from zero.
    const long long q = (std::llabs(v) + std::llabs(d) / 2) / std::llabs(d);
    const long long r = ((v < 0) != (d < 0)) ? -q : q;
    if (r > INT_MAX || r < INT_MIN)
        return -1;
    return int(r);
}
