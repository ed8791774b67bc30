#include "figkit/FrameWnds.h"

#include "mfc/Document.h"

IMPLEMENT_DYNCREATE(CFOPFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CFOPMDIFrameWnd, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CFOPMDIChildWnd, CMDIChildWnd)

#define FOP_FRAME_ENTRIES(theClass)                                                                          \
    ON_WM_CREATE()                                                                                           \
    ON_WM_CLOSE()                                                                                            \
    ON_COMMAND(ID_CONTEXT_HELP, &theClass::OnContextHelp)                                                    \
    ON_COMMAND(ID_HELP, &theClass::OnHelp)                                                                   \
    ON_COMMAND(ID_HELP_FINDER, &theClass::OnHelpFinder)

BEGIN_MESSAGE_MAP(CFOPFrameWnd, CFrameWnd)
FOP_FRAME_ENTRIES(CFOPFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CFOPMDIFrameWnd, CMDIFrameWnd)
FOP_FRAME_ENTRIES(CFOPMDIFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CFOPMDIChildWnd, CMDIChildWnd)
FOP_FRAME_ENTRIES(CFOPMDIChildWnd)
END_MESSAGE_MAP()

// --- CFOPFrameWnd ----------------------------------------------------------------------------------

int CFOPFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CFrameWnd::OnCreate(lpCreateStruct);
}

BOOL CFOPFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CFrameWnd::OnCreateClient(lpcs, pContext);
}

void CFOPFrameWnd::OnClose()
{
    CFrameWnd::OnClose();
}
void CFOPFrameWnd::OnContextHelp()
{
    CFrameWnd::OnContextHelp();
}
void CFOPFrameWnd::OnHelp()
{
    CFrameWnd::OnHelp();
}
void CFOPFrameWnd::OnHelpFinder()
{
    CFrameWnd::OnHelpFinder();
}

// --- CFOPMDIFrameWnd -------------------------------------------------------------------------------

int CFOPMDIFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    const int result = CMDIFrameWnd::OnCreate(lpCreateStruct);
    if (result != -1)
        ShowMenuImage(m_bMenuImage);
    return result;
}

BOOL CFOPMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CMDIFrameWnd::OnCreateClient(lpcs, pContext);
}

void CFOPMDIFrameWnd::OnClose()
{
    CMDIFrameWnd::OnClose();
}
void CFOPMDIFrameWnd::OnContextHelp()
{
    CMDIFrameWnd::OnContextHelp();
}
void CFOPMDIFrameWnd::OnHelp()
{
    CMDIFrameWnd::OnHelp();
}
void CFOPMDIFrameWnd::OnHelpFinder()
{
    CMDIFrameWnd::OnHelpFinder();
}

// --- CFOPMDIChildWnd -------------------------------------------------------------------------------

int CFOPMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CMDIChildWnd::OnCreate(lpCreateStruct);
}

BOOL CFOPMDIChildWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CMDIChildWnd::OnCreateClient(lpcs, pContext);
}

void CFOPMDIChildWnd::OnClose()
{
    CMDIChildWnd::OnClose();
}

void CFOPMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* pDoc = GetActiveDocument();
    if (!bAddToTitle || !(GetStyle() & FWS_ADDTOTITLE) || !pDoc || !pDoc->IsModified())
    {
        CMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
        return;
    }
    SetWindowText(pDoc->GetTitle() + L" *");
    if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && pFrame->MDIGetActive() == this)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CFOPMDIChildWnd::OnContextHelp()
{
    CMDIChildWnd::OnContextHelp();
}
void CFOPMDIChildWnd::OnHelp()
{
    CMDIChildWnd::OnHelp();
}
void CFOPMDIChildWnd::OnHelpFinder()
{
    CMDIChildWnd::OnHelpFinder();
}
