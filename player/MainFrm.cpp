#include "player/MainFrm.h"

#include "mfc/Messages.h"

IMPLEMENT_DYNCREATE(CMainFrame, CXVKFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CXVKFrameWnd)
ON_COMMAND(ID_HELP_FINDER, &CXVKFrameWnd::OnHelpFinder)
ON_COMMAND(ID_HELP, &CXVKFrameWnd::OnHelp)
ON_COMMAND(ID_CONTEXT_HELP, &CXVKFrameWnd::OnContextHelp)
ON_COMMAND(ID_DEFAULT_HELP, &CXVKFrameWnd::OnHelpFinder)
END_MESSAGE_MAP()
