// The class pane and the output pane of the viewer's frame. The frame constructs and destroys them
// with itself but never creates their windows; they are here so that the frame's record of its
// windows can name their (null) handles.
#pragma once

#include "mfc/DockablePane.h"
#include "mfc/ListBoxCtl.h"
#include "multiview/ViewTree.h"

class CClassView : public CDockablePane
{
public:
    CClassView() = default;
    const CViewTree& GetTree() const { return m_wndClassView; }

protected:
    CViewTree m_wndClassView;
};

class COutputList : public CListBox
{
public:
    COutputList() = default;
};

class COutputWnd : public CDockablePane
{
public:
    COutputWnd() = default;
    const COutputList& GetBuildList() const { return m_wndOutputBuild; }
    const COutputList& GetDebugList() const { return m_wndOutputDebug; }
    const COutputList& GetFindList() const { return m_wndOutputFind; }

protected:
    COutputList m_wndOutputBuild;
    COutputList m_wndOutputDebug;
    COutputList m_wndOutputFind;
};
