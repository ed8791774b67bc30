// The frames of the extended framework, as the programs derive from them: their plain bases, plus
// docking panes (DockablePane.h) placed along the sides they allow; they hand the application their
// CFrameImpl when the main frame closes. No ribbon.
#pragma once

#include "mfc/FrameWnd.h"

class CDockablePane;

// Docking behaviour shared by the frames of the extended framework.
class CDockingManager
{
public:
    enum AFX_DOCK_TYPE
    {
        DT_UNDEFINED = 0,
        DT_IMMEDIATE = 1,
        DT_STANDARD = 2,
        DT_SMART = 0x80
    };
    // How a dragged pane shows where it will dock; panes dock the same way in every mode here.
    static void SetDockingMode(AFX_DOCK_TYPE dockMode) { m_dockModeGlobal = dockMode; }
    static AFX_DOCK_TYPE GetDockingMode() { return m_dockModeGlobal; }

private:
    static inline AFX_DOCK_TYPE m_dockModeGlobal = DT_IMMEDIATE;
};

// The frames' part that keeps their docking settings.
class CFrameDocking
{
public:
    // The sides panes may dock on at all.
    BOOL EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingAlignment() const { return m_dwDockStyle; }
    // Docks the pane on the first side it and the frame both allow, as created when possible.
    void DockPane(CDockablePane* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Which sides let their panes hide down to their titles.
    BOOL EnableAutoHidePanes(DWORD dwDockStyle);
    DWORD GetAutoHideAlignment() const { return m_dwAutoHide; }

private:
    DWORD m_dwDockStyle = 0;
    DWORD m_dwAutoHide = 0;
};

// The extended framework's per-frame part; here it only knows its frame.
class CFrameImpl
{
public:
    explicit CFrameImpl(CFrameWnd* pFrame) : m_pFrame(pFrame) {}
    CFrameWnd* GetFrame() const { return m_pFrame; }

private:
    CFrameWnd* m_pFrame;
};

class CFrameWndEx : public CFrameWnd, public CFrameDocking
{
    DECLARE_DYNCREATE(CFrameWndEx)
public:
    CFrameWndEx() : m_Impl(this) {}
    CFrameImpl* GetFrameImpl() override { return &m_Impl; }

protected:
    CFrameImpl m_Impl;
    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWndEx : public CMDIFrameWnd, public CFrameDocking
{
    DECLARE_DYNCREATE(CMDIFrameWndEx)
public:
    CMDIFrameWndEx() : m_Impl(this) {}
    CFrameImpl* GetFrameImpl() override { return &m_Impl; }

protected:
    CFrameImpl m_Impl;
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWndEx : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CMDIChildWndEx)
public:
    CMDIChildWndEx() = default;

protected:
    DECLARE_MESSAGE_MAP()
};
