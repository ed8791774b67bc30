#include "editor/ChildFrames.h"

#include "mfc/ButtonCtl.h"
#include "mfc/CmdUI.h"

#include <QWidget>

#include <algorithm>

namespace
{
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | 0x1414;
const wchar_t* const kBarCaption = L"Toolbox Window";

CWnd* PaneOf(CFrameWnd* pFrame)
{
    std::vector<CWnd*> children;
    pFrame->GetChildWindows(children);
    for (CWnd* c : children)
        if (c->GetDlgCtrlID() == AFX_IDW_PANE_FIRST)
            return c;
    return nullptr;
}

// Not hidden: the frame itself may not be shown yet while it is laid out.
bool Shown(CWnd* pWnd)
{
    QWidget* w = pWnd && pWnd->GetSafeHwnd() ? pWnd->GetWidget() : nullptr;
    return w && !w->isHidden();
}
} // namespace

void LayoutChildFrame(CFrameWnd* pFrame, CWnd* pLeft, CWnd* pRight, CWnd* pTop, int nBarWidth, int nTopHeight)
{
    QWidget* client = pFrame->GetClientWidget();
    if (!client)
        return;
    CRect rc(0, 0, client->width(), client->height());
    if (Shown(pTop))
    {
        pTop->MoveWindow(0, 0, rc.Width(), nTopHeight);
        rc.top += nTopHeight;
    }
    const int width = std::min(nBarWidth, std::max(0, rc.Width() / 2));
    if (Shown(pLeft))
    {
        pLeft->MoveWindow(rc.left, rc.top, width, rc.Height());
        rc.left += width;
    }
    if (Shown(pRight))
    {
        pRight->MoveWindow(rc.right - width, rc.top, width, rc.Height());
        rc.right -= width;
    }
    if (CWnd* pane = PaneOf(pFrame))
        pane->MoveWindow(rc.left, rc.top, std::max(0, rc.Width()), std::max(0, rc.Height()));
}

// --- CSnippetToolBar -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSnippetToolBar, CControlBar)

CSnippetToolBar::CSnippetToolBar() = default;
CSnippetToolBar::~CSnippetToolBar() = default;

const std::vector<UINT>& CSnippetToolBar::Commands()
{
    static const std::vector<UINT> ids = {30107, 30090, 30091, 30092, 30099, 30100, 30101,
                                          30102, 30103, 30104, 30105, 30106, 30108};
    return ids;
}

BOOL CSnippetToolBar::CreateBar(CWnd* pParentWnd, UINT nID)
{
    if (!CWnd::Create(nullptr, L"Draw", WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, Height()), pParentWnd, nID))
        return FALSE;
    static const wchar_t* const labels[] = {L"Check", L"func",   L"if",    L"param", L"var",  L"//",  L"un//",
                                            L"\"\"",  L"switch", L"while", L"do",    L"{..}", L"file"};
    int x = 2;
    for (size_t i = 0; i < Commands().size(); ++i)
    {
        auto button = std::make_unique<CButton>();
        const int w = i == 0 ? 52 : 40;
        if (!button->Create(labels[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                            CRect(x, 2, x + w, Height() - 2), this, Commands()[i]))
            return FALSE;
        x += w + 2;
        m_buttons.push_back(std::move(button));
    }
    return TRUE;
}

BOOL CSnippetToolBar::OnCommand(WPARAM wParam, LPARAM)
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(WM_COMMAND, LOWORD(wParam), 0);
    return TRUE;
}

// --- CChildFrame -----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CChildFrame, CFOPMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, CFOPMDIChildWnd)
ON_COMMAND(ID_VIEW_KEY_VALUES_BAR, &CChildFrame::OnViewKeyValuesBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_KEY_VALUES_BAR, &CChildFrame::OnUpdateViewKeyValuesBar)
END_MESSAGE_MAP()

CChildFrame::CChildFrame() = default;
CChildFrame::~CChildFrame() = default;

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFOPMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = kChildStyle;
    return TRUE;
}

void CChildFrame::ActivateFrame(int)
{
    CFOPMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
}

int CChildFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFOPMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndListBar.CreateBar(this, kBarCaption, kBarStyle, IDC_LIST_BAR))
        return -1;
    RecalcLayout();
    return 0;
}

void CChildFrame::RecalcLayout(BOOL)
{
    LayoutChildFrame(this, nullptr, &m_wndListBar, nullptr, BarWidth(), 0);
}

void CChildFrame::OnViewKeyValuesBar()
{
    m_wndListBar.ShowWindow(m_wndListBar.IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CChildFrame::OnUpdateViewKeyValuesBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndListBar.GetSafeHwnd() && m_wndListBar.IsWindowVisible());
}

// --- CCodeChildFrame -------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CCodeChildFrame, CFOPMDIChildWnd)

BEGIN_MESSAGE_MAP(CCodeChildFrame, CFOPMDIChildWnd)
END_MESSAGE_MAP()

CCodeChildFrame::CCodeChildFrame() = default;
CCodeChildFrame::~CCodeChildFrame() = default;

BOOL CCodeChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFOPMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = kChildStyle;
    return TRUE;
}

void CCodeChildFrame::ActivateFrame(int)
{
    CFOPMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
}

int CCodeChildFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFOPMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndMethodBar.CreateBar(this, kBarCaption, kBarStyle, IDC_LIST_BAR))
        return -1;
    if (!m_wndToolBar.CreateBar(this, AFX_IDW_TOOLBAR))
        return -1;
    m_wndToolBar.SetWindowText(L"Draw");
    RecalcLayout();
    return 0;
}

void CCodeChildFrame::RecalcLayout(BOOL)
{
    LayoutChildFrame(this, &m_wndMethodBar, nullptr, &m_wndToolBar, CChildFrame::BarWidth(),
                     CSnippetToolBar::Height());
}
