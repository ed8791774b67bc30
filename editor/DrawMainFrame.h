// CDrawMainFrame: the editor's main window in its plain form: the MDI client with the screens and
// the script, a project pane on the left whose tree lists the open project's screens, the
// project's closing questions, and files dropped on it. It offers the design view the shape list
// refresh of the child frames.
#pragma once

#include "editor/DesignFrame.h"
#include "editor/ProjectFrame.h"
#include "foundation/XVKFrames.h"
#include "mfc/DockablePane.h"
#include "mfc/Notify.h"
#include "mfc/TreeCtrl.h"

#include <vector>

#define IDC_PROJECT_TREE 1213

// The pane of the project tree: the project, "Screens" with the project's "*.xdg" files (sorted by
// name, any case), and the script; a double click opens a screen or script.
class CProjectPane : public CDockablePane
{
public:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    // Refills the tree from the open project.
    void Refill();
    CTreeCtrl& GetTree() { return m_tree; }
    // The screen or script file an item stands for (empty for folders).
    CString GetItemPath(HTREEITEM hItem) const;
    HTREEITEM GetScreensItem() const { return m_hScreens; }

    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    CTreeCtrl m_tree;
    HTREEITEM m_hScreens = nullptr;
    std::vector<CString> m_paths;
    DECLARE_MESSAGE_MAP()
};

class CDrawMainFrame : public CXVKMDIFrameWnd, public IDesignFrame, public IProjectFrame
{
    DECLARE_DYNCREATE(CDrawMainFrame)
public:
    CDrawMainFrame();
    ~CDrawMainFrame() override;

    void RefreshProjectView() override;
    void RefreshShapeList(CWnd* pChildFrame) override;
    CStringArray* GetUndoTexts() override { return &m_undoTexts; }
    CStringArray* GetRedoTexts() override { return &m_redoTexts; }
    CProjectPane& GetProjectPane() { return m_wndProject; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnClose() override;

    CProjectPane m_wndProject;
    CStringArray m_undoTexts;
    CStringArray m_redoTexts;
    DECLARE_MESSAGE_MAP()
};
