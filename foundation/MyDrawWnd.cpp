#include "foundation/MyDrawWnd.h"

#include "figkit/FODataModel.h"

#include <QGuiApplication>
#include <QScreen>

IMPLEMENT_DYNCREATE(CMyDrawWnd, CFOPDrawWnd)

CMyDrawWnd::~CMyDrawWnd()
{
    // A run window deleted while it still shows the model hands the model back in design mode.
    if (!m_bEnded && m_pModel)
    {
        m_pModel->SetDesignMode(TRUE);
        SetCurrentModel(nullptr);
    }
}

BOOL CMyDrawWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    return CFOPDrawWnd::PreCreateWindow(cs);
}

BOOL CMyDrawWnd::UpdateObserver(CObject* pHint)
{
    CFOPDrawWnd::UpdateObserver(pHint);
    return TRUE;
}

int CMyDrawWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    const int result = CFOPDrawWnd::OnCreate(lpCreateStruct);
    if (result == -1)
        return -1;
    // The whole screen.
    int cx = 800;
    int cy = 600;
    if (QScreen* screen = QGuiApplication::primaryScreen())
    {
        cx = screen->geometry().width();
        cy = screen->geometry().height();
    }
    MoveWindow(0, 0, cx, cy);
    return result;
}

void CMyDrawWnd::EndPreview()
{
    if (m_bEnded)
        return;
    m_bEnded = TRUE;
    ShowWindow(SW_HIDE);
    FinishAllBox();
    if (CFODataModel* model = m_pModel)
    {
        model->SetDesignMode(TRUE);
        model->NotifyObserver(XVK_HINT_PREVIEW_END);
        SetCurrentModel(nullptr);
    }
    DestroyWindow();
}

void CMyDrawWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE)
    {
        EndPreview();
        return;
    }
    CFOPDrawWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMyDrawWnd::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_F4 && (GetKeyState(VK_MENU) & 0x8000))
    {
        EndPreview();
        return;
    }
    CFOPDrawWnd::OnSysKeyDown(nChar, nRepCnt, nFlags);
}
