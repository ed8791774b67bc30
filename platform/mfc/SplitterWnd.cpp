#include "mfc/SplitterWnd.h"

#include "mfc/Document.h"
#include "mfc/Messages.h"
#include "mfc/View.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)
IMPLEMENT_DYNAMIC(CSplitterWndEx, CSplitterWnd)

CSplitterWnd::CSplitterWnd() = default;
CSplitterWnd::~CSplitterWnd() = default;

BOOL CSplitterWnd::Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin,
                          CCreateContext* pContext, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || !pContext || !pContext->m_pNewViewClass || m_hWnd)
        return FALSE;
    // Two by two is the most this splitter cuts.
    m_nMaxRows = std::clamp(nMaxRows, 1, 2);
    m_nMaxCols = std::clamp(nMaxCols, 1, 2);
    m_sizeMin = CSize(std::max(1L, long(sizeMin.cx)), std::max(1L, long(sizeMin.cy)));
    m_dwStyle = dwStyle;
    m_pDynamicViewClass = pContext->m_pNewViewClass;
    CRect rect;
    pParentWnd->GetClientRect(&rect);
    if (!CWnd::Create(nullptr, nullptr,
                      (dwStyle & ~DWORD(WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT)) | WS_CHILD, rect,
                      pParentWnd, nID))
        return FALSE;
    m_nRows = m_nCols = 1;
    if (!CreateView(0, 0, pContext->m_pNewViewClass, CSize(0, 0), pContext))
    {
        m_nRows = m_nCols = 0;
        DestroyWindow();
        return FALSE;
    }
    // The frame's first view is this pane, not the splitter that holds its id too.
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(pParentWnd); pFrame && !pFrame->GetActiveView())
        pFrame->SetActiveView(dynamic_cast<CView*>(m_panes[0][0]), FALSE);
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE, CCreateContext* pContext)
{
    if (row < 0 || col < 0 || row > 1 || col > 1 || m_panes[row][col] || !pViewClass)
        return FALSE;
    CObject* pObject = pViewClass->CreateObject();
    auto* pWnd = dynamic_cast<CWnd*>(pObject);
    if (!pWnd)
    {
        delete pObject;
        return FALSE;
    }
    if (!pWnd->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this,
                      UINT(IdFromRowCol(row, col)), pContext))
    {
        // A window that failed to come up is not deleted by its own destruction.
        delete pWnd;
        return FALSE;
    }
    m_panes[row][col] = pWnd;
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    return m_panes[row][col];
}

BOOL CSplitterWnd::MakeContext(CCreateContext& context) const
{
    auto* pFirst = dynamic_cast<CView*>(m_panes[0][0]);
    context.m_pNewViewClass = m_pDynamicViewClass;
    context.m_pCurrentDoc = pFirst ? pFirst->GetDocument() : nullptr;
    context.m_pCurrentFrame = GetParentFrame();
    context.m_pLastView = pFirst;
    return context.m_pNewViewClass != nullptr;
}

BOOL CSplitterWnd::SplitRow(int cyBefore)
{
    CCreateContext context;
    if (!IsDynamic() || m_nRows >= m_nMaxRows || !MakeContext(context))
        return FALSE;
    CRect client;
    GetClientRect(&client);
    if (cyBefore < m_sizeMin.cy || client.Height() - cyBefore - SPLITTER_GAP < m_sizeMin.cy)
        return FALSE;
    const int row = m_nRows;
    for (int col = 0; col < m_nCols; ++col)
    {
        if (!CreateView(row, col, m_pDynamicViewClass, CSize(0, 0), &context))
        {
            for (int c = 0; c < col; ++c)
                DestroyPane(row, c);
            return FALSE;
        }
    }
    m_nRows = row + 1;
    m_cyRow0 = cyBefore;
    RecalcLayout();
    for (int col = 0; col < m_nCols; ++col)
        m_panes[row][col]->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore)
{
    CCreateContext context;
    if (!IsDynamic() || m_nCols >= m_nMaxCols || !MakeContext(context))
        return FALSE;
    CRect client;
    GetClientRect(&client);
    if (cxBefore < m_sizeMin.cx || client.Width() - cxBefore - SPLITTER_GAP < m_sizeMin.cx)
        return FALSE;
    const int col = m_nCols;
    for (int row = 0; row < m_nRows; ++row)
    {
        if (!CreateView(row, col, m_pDynamicViewClass, CSize(0, 0), &context))
        {
            for (int r = 0; r < row; ++r)
                DestroyPane(r, col);
            return FALSE;
        }
    }
    m_nCols = col + 1;
    m_cxCol0 = cxBefore;
    RecalcLayout();
    for (int row = 0; row < m_nRows; ++row)
        m_panes[row][col]->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

BOOL CSplitterWnd::DoKeyboardSplit()
{
    CRect client;
    GetClientRect(&client);
    BOOL split = FALSE;
    if (m_nRows < m_nMaxRows)
        split |= SplitRow((client.Height() - SPLITTER_GAP) / 2);
    if (m_nCols < m_nMaxCols)
        split |= SplitColumn((client.Width() - SPLITTER_GAP) / 2);
    return split;
}

void CSplitterWnd::DestroyPane(int row, int col)
{
    CWnd* pPane = m_panes[row][col];
    m_panes[row][col] = nullptr;
    if (!pPane)
        return;
    // The frame's active view goes to a pane that stays.
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() == pPane)
    {
        CView* pNext = nullptr;
        for (int r = 0; r < 2 && !pNext; ++r)
            for (int c = 0; c < 2 && !pNext; ++c)
                if (m_panes[r][c])
                    pNext = dynamic_cast<CView*>(m_panes[r][c]);
        pFrame->SetActiveView(pNext, FALSE);
    }
    pPane->DestroyWindow();
}

void CSplitterWnd::RenumberPanes()
{
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            if (m_panes[r][c])
                m_panes[r][c]->SetDlgCtrlID(IdFromRowCol(r, c));
}

void CSplitterWnd::DeleteRow(int rowDelete)
{
    if (m_nRows < 2 || rowDelete < 0 || rowDelete >= m_nRows)
        return;
    for (int col = 0; col < m_nCols; ++col)
        DestroyPane(rowDelete, col);
    if (rowDelete == 0)
        for (int col = 0; col < 2; ++col)
            std::swap(m_panes[0][col], m_panes[1][col]);
    m_nRows = 1;
    RenumberPanes();
    RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete)
{
    if (m_nCols < 2 || colDelete < 0 || colDelete >= m_nCols)
        return;
    for (int row = 0; row < m_nRows; ++row)
        DestroyPane(row, colDelete);
    if (colDelete == 0)
        for (int row = 0; row < 2; ++row)
            std::swap(m_panes[row][0], m_panes[row][1]);
    m_nCols = 1;
    RenumberPanes();
    RecalcLayout();
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    int heights[2] = {h, 0};
    int widths[2] = {w, 0};
    if (m_nRows == 2)
    {
        m_cyRow0 = std::clamp(m_cyRow0, 0, std::max(0, h - SPLITTER_GAP));
        heights[0] = m_cyRow0;
        heights[1] = std::max(0, h - m_cyRow0 - SPLITTER_GAP);
    }
    if (m_nCols == 2)
    {
        m_cxCol0 = std::clamp(m_cxCol0, 0, std::max(0, w - SPLITTER_GAP));
        widths[0] = m_cxCol0;
        widths[1] = std::max(0, w - m_cxCol0 - SPLITTER_GAP);
    }
    for (int r = 0; r < m_nRows; ++r)
        for (int c = 0; c < m_nCols; ++c)
            if (CWnd* pane = m_panes[r][c])
                pane->MoveWindow(c == 0 ? 0 : widths[0] + SPLITTER_GAP,
                                 r == 0 ? 0 : heights[0] + SPLITTER_GAP, widths[c], heights[r], TRUE);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Only the gaps between panes reach the splitter itself.
    m_nTracking = 0;
    if (m_nRows == 2 && point.y >= m_cyRow0 && point.y < m_cyRow0 + SPLITTER_GAP)
        m_nTracking |= 1;
    if (m_nCols == 2 && point.x >= m_cxCol0 && point.x < m_cxCol0 + SPLITTER_GAP)
        m_nTracking |= 2;
    // The press keeps the mouse on this window until it is let go.
    CWnd::OnLButtonDown(nFlags, point);
}

void CSplitterWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nTracking & 1)
        m_cyRow0 = point.y;
    if (m_nTracking & 2)
        m_cxCol0 = point.x;
    if (m_nTracking)
        RecalcLayout();
    CWnd::OnMouseMove(nFlags, point);
}

void CSplitterWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_nTracking)
    {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    const int tracking = m_nTracking;
    m_nTracking = 0;
    CRect client;
    GetClientRect(&client);
    // A divider dragged to within the minimum of an edge takes its row or column away.
    if (tracking & 1)
    {
        if (m_cyRow0 < m_sizeMin.cy)
            DeleteRow(0);
        else if (client.Height() - m_cyRow0 - SPLITTER_GAP < m_sizeMin.cy)
            DeleteRow(1);
    }
    if (tracking & 2)
    {
        if (m_cxCol0 < m_sizeMin.cx)
            DeleteColumn(0);
        else if (client.Width() - m_cxCol0 - SPLITTER_GAP < m_sizeMin.cx)
            DeleteColumn(1);
    }
    RecalcLayout();
    CWnd::OnLButtonUp(nFlags, point);
}
