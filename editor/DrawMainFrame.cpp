#include "editor/DrawMainFrame.h"

#include "editor/ChildFrames.h"
#include "editor/PlexdraftView.h"

IMPLEMENT_DYNCREATE(CDrawMainFrame, CMainFrame)

void CDrawMainFrame::RefreshShapeList(CWnd* pChildFrame)
{
    auto* child = dynamic_cast<CChildFrame*>(pChildFrame);
    auto* view = child ? dynamic_cast<CPlexdraftView*>(child->GetActiveView()) : nullptr;
    if (view)
        child->GetShapeListBar().UpdateShapeList(view->GetCurrentModel());
}
