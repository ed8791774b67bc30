#include "foundation/XVKFrames.h"

#include "logvane/Logvane.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"

#include <set>

IMPLEMENT_DYNCREATE(CXVKFrameWnd, CFOPFrameWnd)
IMPLEMENT_DYNCREATE(CXVKMDIFrameWnd, CFOPMDIFrameWnd)
IMPLEMENT_DYNCREATE(CXVKMDIChildWnd, CFOPMDIChildWnd)
IMPLEMENT_DYNCREATE(CXVKMDIFrameWndEx, CMDIFrameWndEx)
IMPLEMENT_DYNCREATE(CXVKMDIChildWndEx, CMDIChildWndEx)

#define XVK_FRAME_HELP_ENTRIES(base)                                                                         \
    ON_WM_CREATE()                                                                                           \
    ON_WM_CLOSE()                                                                                            \
    ON_WM_DESTROY()                                                                                          \
    ON_WM_HELPINFO()                                                                                         \
    ON_MESSAGE(WM_COMMANDHELP, &base::OnCommandHelp)                                                         \
    ON_COMMAND(ID_CONTEXT_HELP, &base::OnContextHelp)                                                        \
    ON_COMMAND(ID_HELP, &base::OnHelp)                                                                       \
    ON_COMMAND(ID_HELP_INDEX, &base::OnHelpIndex)                                                            \
    ON_COMMAND(ID_HELP_FINDER, &base::OnHelpFinder)                                                          \
    ON_COMMAND(ID_DEFAULT_HELP, &base::OnHelpFinder)                                                         \
    ON_COMMAND(ID_HELP_USING, &base::OnHelpUsing)

BEGIN_MESSAGE_MAP(CXVKFrameWnd, CFOPFrameWnd)
XVK_FRAME_HELP_ENTRIES(CFOPFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CXVKMDIFrameWnd, CFOPMDIFrameWnd)
XVK_FRAME_HELP_ENTRIES(CFOPMDIFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CXVKMDIChildWnd, CFOPMDIChildWnd)
XVK_FRAME_HELP_ENTRIES(CFOPMDIChildWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CXVKMDIChildWndEx, CMDIChildWndEx)
XVK_FRAME_HELP_ENTRIES(CMDIChildWndEx)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CXVKMDIFrameWndEx, CMDIFrameWndEx)
XVK_FRAME_HELP_ENTRIES(CMDIFrameWndEx)
ON_WM_SYSCOMMAND()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

// --- CXVKFrameWnd -----------------------------------------------------------------------------

int CXVKFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CFOPFrameWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CXVKFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CFOPFrameWnd::OnCreateClient(lpcs, pContext) ? TRUE : FALSE;
}

void CXVKFrameWnd::OnClose()
{
    XVKLOG_INFO(L"* Enter CXVKFrameWnd::OnClose() - waiting ...");
    CFOPFrameWnd::OnClose();
    XVKLOG_INFO(L"* Leave CXVKFrameWnd::OnClose() - done.");
}

void CXVKFrameWnd::NoContextHelp(CWnd* frame, DWORD_PTR data, UINT command)
{
    if (data == 0 && command == 0)
    {
        frame->CWnd::HtmlHelp(data, command);
        return;
    }
    AfxMessageBox(
        L"Sorry. Context Help is not available in this version!\nRefer to QuickStart Guide instead.");
    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER, 0);
}

void CXVKFrameWnd::HtmlHelp(DWORD_PTR data, UINT command)
{
    NoContextHelp(this, data, command);
}
void CXVKFrameWnd::WinHelp(DWORD_PTR data, UINT command)
{
    CWnd::WinHelp(data, command);
}

// --- CXVKMDIFrameWnd --------------------------------------------------------------------------

int CXVKMDIFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CFOPMDIFrameWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CXVKMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CFOPMDIFrameWnd::OnCreateClient(lpcs, pContext) ? TRUE : FALSE;
}

void CXVKMDIFrameWnd::OnClose()
{
    XVKLOG_INFO(L"* Enter CXVKMDIFrameWnd::OnClose() - waiting ...");
    CFOPMDIFrameWnd::OnClose();
    XVKLOG_INFO(L"* Leave CXVKMDIFrameWnd::OnClose() - done.");
}

void CXVKMDIFrameWnd::HtmlHelp(DWORD_PTR data, UINT command)
{
    CXVKFrameWnd::NoContextHelp(this, data, command);
}
void CXVKMDIFrameWnd::WinHelp(DWORD_PTR data, UINT command)
{
    CWnd::WinHelp(data, command);
}

// --- CXVKMDIChildWnd --------------------------------------------------------------------------

int CXVKMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CFOPMDIChildWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CXVKMDIChildWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CFOPMDIChildWnd::OnCreateClient(lpcs, pContext) ? TRUE : FALSE;
}

void CXVKMDIChildWnd::OnClose()
{
    XVKLOG_INFO(L"* Enter CXVKMDIChildWnd::OnClose() - waiting ...");
    CFOPMDIChildWnd::OnClose();
    XVKLOG_INFO(L"* Leave CXVKMDIChildWnd::OnClose() - done.");
}

// --- CXVKMDIFrameWndEx ------------------------------------------------------------------------

int CXVKMDIFrameWndEx::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CMDIFrameWndEx::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CXVKMDIFrameWndEx::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CMDIFrameWndEx::OnCreateClient(lpcs, pContext) ? TRUE : FALSE;
}

void CXVKMDIFrameWndEx::OnClose()
{
    if (AfxMessageBox(L"Quit application?", MB_YESNO) != IDYES)
        return;
    OnQuitConfirmed();
    XVKLOG_INFO(L"* Enter CXVKMDIFrameWndEx::OnClose() - waiting ...");
    CMDIFrameWndEx::OnClose();
    XVKLOG_INFO(L"* Leave CXVKMDIFrameWndEx::OnClose() - done.");
}

LRESULT CXVKMDIFrameWndEx::OnFctMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL post)
{
    // A child reached again means the walk has come round; stop rather than loop.
    std::set<HWND> visited;
    CWnd* child = MDIGetActive();
    while (child)
    {
        const HWND hwnd = child->GetSafeHwnd();
        if (!hwnd || !visited.insert(hwnd).second)
            break;
        if (post)
            child->PostMessage(message, wParam, lParam);
        else
            child->SendMessage(message, wParam, lParam);
        if (::IsWindow(hwnd))
            child = child->GetWindow(GW_HWNDNEXT);
        else
            child = MDIGetActive();
    }
    return 0;
}

// --- CXVKMDIChildWndEx ------------------------------------------------------------------------

int CXVKMDIChildWndEx::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CMDIChildWndEx::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CXVKMDIChildWndEx::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    return CMDIChildWndEx::OnCreateClient(lpcs, pContext) ? TRUE : FALSE;
}

void CXVKMDIChildWndEx::OnClose()
{
    XVKLOG_INFO(L"* Enter CXVKMDIChildWndEx::OnClose() - waiting ...");
    CMDIChildWndEx::OnClose();
    XVKLOG_INFO(L"* Leave CXVKMDIChildWndEx::OnClose() - done.");
}
