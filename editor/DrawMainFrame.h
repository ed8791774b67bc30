// CDrawMainFrame: the editor's main frame as the program makes it: the main frame with its bars,
// which also refills a screen's shape list when the design view asks and its project tree when the
// application opens or closes a project.
#pragma once

#include "editor/MainFrame.h"
#include "editor/ProjectFrame.h"

class CDrawMainFrame : public CMainFrame, public IProjectFrame
{
    DECLARE_DYNCREATE(CDrawMainFrame)
public:
    CDrawMainFrame() = default;

    void RefreshProjectView() override { RefreshProjectTree(); }
    void RefreshShapeList(CWnd* pChildFrame) override;
};
