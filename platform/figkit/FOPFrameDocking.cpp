// The docking layout of the library's MDI frame: toolbars in rows along the sides, docking bars at
// the sides with their size, menu images and full screen.
#include "figkit/FOPToolBar.h"
#include "figkit/FrameWnds.h"

#include "mfc/CommandActions.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QToolBar>

#include <algorithm>

namespace
{
Qt::ToolBarArea ToolAreaOf(UINT nDockBarID)
{
    switch (nDockBarID)
    {
    case AFX_IDW_DOCKBAR_LEFT:
        return Qt::LeftToolBarArea;
    case AFX_IDW_DOCKBAR_RIGHT:
        return Qt::RightToolBarArea;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return Qt::BottomToolBarArea;
    default:
        return Qt::TopToolBarArea;
    }
}

DWORD AlignmentOf(UINT nDockBarID)
{
    switch (nDockBarID)
    {
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    default:
        return CBRS_ALIGN_TOP;
    }
}

UINT FirstDockBar(DWORD dwAlign)
{
    if (dwAlign & CBRS_ALIGN_TOP)
        return AFX_IDW_DOCKBAR_TOP;
    if (dwAlign & CBRS_ALIGN_BOTTOM)
        return AFX_IDW_DOCKBAR_BOTTOM;
    if (dwAlign & CBRS_ALIGN_LEFT)
        return AFX_IDW_DOCKBAR_LEFT;
    if (dwAlign & CBRS_ALIGN_RIGHT)
        return AFX_IDW_DOCKBAR_RIGHT;
    return AFX_IDW_DOCKBAR_TOP;
}

QMainWindow* MainOf(const CWnd* pFrame)
{
    return pFrame ? qobject_cast<QMainWindow*>(pFrame->GetWidget()) : nullptr;
}
} // namespace

void CFOPMDIFrameWnd::ShowMenuImage(BOOL bShow)
{
    m_bMenuImage = bShow;
    if (m_hWnd)
        AfxShowCommandImagesInMenus(m_hWnd, bShow);
}

BOOL CFOPMDIFrameWnd::SetMenuImageRes(UINT nToolBarID)
{
    if (!m_hWnd)
        return FALSE;
    const auto images = CFOPToolBar::LoadButtonImages(nToolBarID);
    if (images.empty())
        return FALSE;
    for (const auto& [id, image] : images)
    {
        QAction* action = AfxEnsureCommandAction(m_hWnd, id);
        // A toolbar's own image stays.
        if (action && action->icon().isNull())
            action->setIcon(CFOPToolBar::CommandIcon(id, image));
    }
    return TRUE;
}

void CFOPMDIFrameWnd::LayoutToolBars(UINT nDockBarID)
{
    QMainWindow* main = MainOf(this);
    if (!main)
        return;
    auto& rows = m_toolRows[nDockBarID];
    const Qt::ToolBarArea area = ToolAreaOf(nDockBarID);
    // Re-adding every bar of the side in row order rebuilds its rows.
    std::vector<std::pair<QToolBar*, bool>> bars;
    for (auto& row : rows)
        for (HWND h : row)
            if (CWnd* p = CWnd::FromHandlePermanent(h))
                if (auto* bar = qobject_cast<QToolBar*>(p->GetWidget()))
                {
                    bars.emplace_back(bar, !bar->isHidden());
                    main->removeToolBarBreak(bar);
                    main->removeToolBar(bar);
                }
    bool first = true;
    for (auto& row : rows)
    {
        bool rowStarted = false;
        for (HWND h : row)
        {
            CWnd* p = CWnd::FromHandlePermanent(h);
            auto* bar = p ? qobject_cast<QToolBar*>(p->GetWidget()) : nullptr;
            if (!bar)
                continue;
            if (!rowStarted && !first)
                main->addToolBarBreak(area);
            rowStarted = true;
            first = false;
            main->addToolBar(area, bar);
            auto it = std::find_if(bars.begin(), bars.end(), [bar](const auto& b) { return b.first == bar; });
            bar->setVisible(it == bars.end() || it->second);
        }
    }
}

void CFOPMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (auto* pane = dynamic_cast<CDockablePane*>(pBar))
    {
        const DWORD align = nDockBarID ? AlignmentOf(nDockBarID) : pane->GetEnabledAlignment();
        pane->DockToSide(nDockBarID ? align : AlignmentOf(FirstDockBar(align)));
        return;
    }
    auto* toolBar = dynamic_cast<CFOPToolBar*>(pBar);
    if (!toolBar)
        return;
    if (nDockBarID == 0)
        nDockBarID =
            FirstDockBar(toolBar->GetEnabledAlignment() & (m_dwDockStyle ? m_dwDockStyle : CBRS_ALIGN_ANY));
    for (auto& [side, rows] : m_toolRows)
        for (auto& row : rows)
            row.erase(std::remove(row.begin(), row.end(), pBar->m_hWnd), row.end());
    m_toolRows[nDockBarID].push_back({pBar->m_hWnd});
    for (auto& [side, rows] : m_toolRows)
    {
        rows.erase(std::remove_if(rows.begin(), rows.end(), [](const auto& row) { return row.empty(); }),
                   rows.end());
        LayoutToolBars(side);
    }
}

void CFOPMDIFrameWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf)
{
    if (!pBar || !pLeftOf || !pBar->m_hWnd || pBar == pLeftOf)
        return;
    for (auto& [side, rows] : m_toolRows)
        for (auto& row : rows)
            row.erase(std::remove(row.begin(), row.end(), pBar->m_hWnd), row.end());
    for (auto& [side, rows] : m_toolRows)
        for (auto& row : rows)
        {
            auto at = std::find(row.begin(), row.end(), pLeftOf->m_hWnd);
            if (at == row.end())
                continue;
            row.insert(at + 1, pBar->m_hWnd);
            for (auto& [s, r] : m_toolRows)
            {
                r.erase(std::remove_if(r.begin(), r.end(), [](const auto& x) { return x.empty(); }), r.end());
                LayoutToolBars(s);
            }
            return;
        }
    DockControlBar(pBar, 0);
}

void CFOPMDIFrameWnd::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, float fProportion, int nSize)
{
    auto* pane = dynamic_cast<CDockablePane*>(pBar);
    QMainWindow* main = MainOf(this);
    if (!pane || !main || !pane->m_hWnd)
    {
        DockControlBar(pBar, nDockBarID);
        return;
    }
    const DWORD align = AlignmentOf(nDockBarID ? nDockBarID : AFX_IDW_DOCKBAR_LEFT);
    auto* dock = qobject_cast<QDockWidget*>(pane->GetWidget());
    if (!dock)
        return;
    // Docking does not show a hidden bar.
    const bool hidden = dock->isHidden();
    pane->DockToSide(align);
    dock->setHidden(hidden);
    dock->setProperty("qyr.proportion", double(std::clamp(fProportion, 0.05f, 1.0f)));
    if (nSize > 0)
    {
        const bool across = align & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        main->resizeDocks({dock}, {nSize}, across ? Qt::Horizontal : Qt::Vertical);
    }
}

void CFOPMDIFrameWnd::DockControlBarBottomOf(CControlBar* pBar, CControlBar* pTopOf)
{
    QMainWindow* main = MainOf(this);
    auto* below = pBar ? qobject_cast<QDockWidget*>(pBar->GetWidget()) : nullptr;
    auto* above = pTopOf ? qobject_cast<QDockWidget*>(pTopOf->GetWidget()) : nullptr;
    if (!main || !below || !above)
        return;
    const bool hidden = below->isHidden();
    main->splitDockWidget(above, below, Qt::Vertical);
    below->setHidden(hidden);
    // The two share the side by their proportions.
    const double top =
        above->property("qyr.proportion").isValid() ? above->property("qyr.proportion").toDouble() : 0.5;
    const int height = std::max(200, main->height());
    main->resizeDocks({above, below}, {int(height * top), int(height * (1.0 - top))}, Qt::Vertical);
}

void CFOPMDIFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar && pBar->m_hWnd)
        pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CFOPMDIFrameWnd::ShowFullScreen(BOOL bFullScreen)
{
    QMainWindow* main = MainOf(this);
    if (!main)
        return;
    if (bFullScreen && !m_bFullScreen)
    {
        m_bFullScreen = TRUE;
        main->showFullScreen();
    }
    else if (m_bFullScreen)
    {
        m_bFullScreen = FALSE;
        main->showNormal();
        main->showMaximized();
    }
}

BOOL CFOPMDIFrameWnd::IsFullScreen() const
{
    return m_bFullScreen;
}

std::vector<std::vector<CControlBar*>> CFOPMDIFrameWnd::GetToolBarRows(UINT nDockBarID) const
{
    std::vector<std::vector<CControlBar*>> result;
    auto it = m_toolRows.find(nDockBarID);
    if (it == m_toolRows.end())
        return result;
    for (const auto& row : it->second)
    {
        std::vector<CControlBar*> bars;
        for (HWND h : row)
            if (auto* p = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(h)))
                bars.push_back(p);
        if (!bars.empty())
            result.push_back(bars);
    }
    return result;
}
