#include "mfc/DockablePane.h"

#include "mfc/WndPrivate.h"

#include <QDockWidget>
#include <QMainWindow>

namespace
{
Qt::DockWidgetArea AreaOf(DWORD dwAlignment)
{
    if (dwAlignment & CBRS_ALIGN_LEFT)
        return Qt::LeftDockWidgetArea;
    if (dwAlignment & CBRS_ALIGN_RIGHT)
        return Qt::RightDockWidgetArea;
    if (dwAlignment & CBRS_ALIGN_TOP)
        return Qt::TopDockWidgetArea;
    if (dwAlignment & CBRS_ALIGN_BOTTOM)
        return Qt::BottomDockWidgetArea;
    return Qt::NoDockWidgetArea;
}

Qt::DockWidgetAreas AreasOf(DWORD dwAlignment)
{
    Qt::DockWidgetAreas areas;
    for (DWORD side :
         {DWORD(CBRS_ALIGN_LEFT), DWORD(CBRS_ALIGN_RIGHT), DWORD(CBRS_ALIGN_TOP), DWORD(CBRS_ALIGN_BOTTOM)})
    {
        if (dwAlignment & side)
            areas |= AreaOf(side);
    }
    return areas;
}

DWORD AlignmentOf(Qt::DockWidgetArea area)
{
    switch (area)
    {
    case Qt::LeftDockWidgetArea:
        return CBRS_ALIGN_LEFT;
    case Qt::RightDockWidgetArea:
        return CBRS_ALIGN_RIGHT;
    case Qt::TopDockWidgetArea:
        return CBRS_ALIGN_TOP;
    case Qt::BottomDockWidgetArea:
        return CBRS_ALIGN_BOTTOM;
    default:
        return 0;
    }
}

QMainWindow* FrameOf(QDockWidget* dock)
{
    return dock ? qobject_cast<QMainWindow*>(dock->parentWidget()) : nullptr;
}
} // namespace

IMPLEMENT_DYNAMIC(CDockablePane, CControlBar)

CDockablePane::~CDockablePane() = default;

QWidget* CDockablePane::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    auto* main = pParent ? qobject_cast<QMainWindow*>(pParent->GetWidget()) : nullptr;
    auto* dock = new CWndHost<QDockWidget>(main ? static_cast<QWidget*>(main) : pParentWidget);
    dock->setObjectName(QStringLiteral("QyrDockablePane"));
    auto* client = new CWndClientArea(dock);
    dock->setWidget(client);
    if (cs.cx > 0 && cs.cy > 0)
        client->resize(cs.cx, cs.cy);
    if (main)
        main->addDockWidget(AreaOf(m_dwInitialAlignment), dock);
    return dock;
}

QDockWidget* CDockablePane::Dock() const
{
    return qobject_cast<QDockWidget*>(GetWidget());
}

QWidget* CDockablePane::GetClientWidget() const
{
    QDockWidget* dock = Dock();
    return dock && dock->widget() ? dock->widget() : GetWidget();
}

BOOL CDockablePane::Create(LPCWSTR lpszCaption, CWnd* pParentWnd, const RECT& rect, BOOL, UINT nID,
                           DWORD dwStyle, DWORD, DWORD dwControlBarStyle)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwControlBarStyle = dwControlBarStyle;
    m_dwInitialAlignment = dwStyle & CBRS_ALIGN_ANY ? dwStyle & CBRS_ALIGN_ANY : CBRS_ALIGN_LEFT;
    const DWORD windowStyle = (dwStyle & ~CBRS_ALIGN_ANY & ~(CBRS_FLOAT_MULTI | CBRS_GRIPPER)) | WS_CHILD;
    if (!CWnd::CreateEx(0, L"QyrDockablePane", lpszCaption, windowStyle & ~WS_VISIBLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(UINT_PTR(nID))))
        return FALSE;
    if (QDockWidget* dock = Dock())
    {
        dock->setWindowTitle(QString::fromWCharArray(lpszCaption ? lpszCaption : L""));
        // The frame's dock area starts the pane at the size asked for.
        if (QMainWindow* main = FrameOf(dock))
        {
            const bool across = m_dwInitialAlignment & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
            const int extent = across ? rect.right - rect.left : rect.bottom - rect.top;
            if (extent > 0)
                main->resizeDocks({dock}, {extent}, across ? Qt::Horizontal : Qt::Vertical);
        }
    }
    ApplyFeatures();
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CDockablePane::ApplyFeatures()
{
    QDockWidget* dock = Dock();
    if (!dock)
        return;
    QDockWidget::DockWidgetFeatures features = QDockWidget::DockWidgetMovable;
    if (CanBeClosed())
        features |= QDockWidget::DockWidgetClosable;
    if (CanFloat())
        features |= QDockWidget::DockWidgetFloatable;
    dock->setFeatures(features);
    dock->setAllowedAreas(m_dwEnabledAlignment ? AreasOf(m_dwEnabledAlignment)
                                               : AreasOf(m_dwInitialAlignment));
}

void CDockablePane::EnableDocking(DWORD dwAlignment)
{
    m_dwEnabledAlignment = dwAlignment & CBRS_ALIGN_ANY;
    ApplyFeatures();
}

DWORD CDockablePane::GetCurrentAlignment() const
{
    QDockWidget* dock = Dock();
    QMainWindow* main = FrameOf(dock);
    if (!main || dock->isFloating())
        return 0;
    return AlignmentOf(main->dockWidgetArea(dock));
}

BOOL CDockablePane::DockToSide(DWORD dwAlignment)
{
    QDockWidget* dock = Dock();
    QMainWindow* main = FrameOf(dock);
    const Qt::DockWidgetArea area = AreaOf(dwAlignment);
    if (!main || area == Qt::NoDockWidgetArea || !dock->isAreaAllowed(area))
        return FALSE;
    dock->setFloating(false);
    main->addDockWidget(area, dock);
    return TRUE;
}

BOOL CDockablePane::IsFloating() const
{
    QDockWidget* dock = Dock();
    return dock && dock->isFloating();
}

BOOL CDockablePane::FloatPane(const RECT& rectFloat)
{
    QDockWidget* dock = Dock();
    if (!dock || !CanFloat())
        return FALSE;
    dock->setFloating(true);
    dock->setGeometry(rectFloat.left, rectFloat.top, rectFloat.right - rectFloat.left,
                      rectFloat.bottom - rectFloat.top);
    return TRUE;
}

BOOL CDockablePane::SetAutoHideMode(BOOL bMode)
{
    QDockWidget* dock = Dock();
    if (!dock || (bMode && !CanAutoHide()))
        return FALSE;
    m_bAutoHide = bMode;
    if (QWidget* client = dock->widget())
        client->setVisible(!bMode);
    return TRUE;
}

void CDockablePane::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    (bBigIcon ? m_hIconBig : m_hIconSmall) = hIcon;
}

void CDockablePane::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
