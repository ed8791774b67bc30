// CDockablePane: a pane that docks along any side of a frame, floats on its own, closes (unless it
// says it cannot) and can be set to hide itself down to its title (auto-hide). It is a QDockWidget
// of the frame; the pane's child windows live in its client area below the title.
#pragma once

#include "mfc/Controls.h"

#define CBRS_ALIGN_LEFT 0x2000L
#define CBRS_ALIGN_RIGHT 0x8000L
#define CBRS_ALIGN_ANY (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM | CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_LEFT (CBRS_ALIGN_LEFT)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT)
#define CBRS_FLOAT_MULTI 0x0080L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0800L
#define CBRS_GRIPPER 0x00400000L

// Tab styles of panes docked together, and the pane's abilities.
#define AFX_CBRS_REGULAR_TABS 0x1
#define AFX_CBRS_OUTLOOK_TABS 0x2
#define AFX_CBRS_FLOAT 0x1
#define AFX_CBRS_AUTOHIDE 0x2
#define AFX_CBRS_RESIZE 0x4
#define AFX_CBRS_CLOSE 0x8
#define AFX_DEFAULT_DOCKING_PANE_STYLE (AFX_CBRS_FLOAT | AFX_CBRS_AUTOHIDE | AFX_CBRS_RESIZE | AFX_CBRS_CLOSE)

class QDockWidget;

class CDockablePane : public CControlBar
{
    DECLARE_DYNAMIC(CDockablePane)
public:
    CDockablePane() = default;
    ~CDockablePane() override;

    using CControlBar::Create;
    // dwStyle holds the side it starts on (CBRS_LEFT, ...) besides the window styles.
    virtual BOOL Create(LPCWSTR lpszCaption, CWnd* pParentWnd, const RECT& rect, BOOL bHasGripper, UINT nID,
                        DWORD dwStyle, DWORD dwTabbedStyle = AFX_CBRS_REGULAR_TABS,
                        DWORD dwControlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE);

    // The sides it may dock on (CBRS_ALIGN_ ...).
    void EnableDocking(DWORD dwAlignment);
    DWORD GetEnabledAlignment() const { return m_dwEnabledAlignment; }
    // The side it is docked on now (0 while floating).
    DWORD GetCurrentAlignment() const;
    BOOL DockToSide(DWORD dwAlignment);

    virtual BOOL CanBeClosed() const { return (m_dwControlBarStyle & AFX_CBRS_CLOSE) != 0; }
    virtual BOOL CanFloat() const { return (m_dwControlBarStyle & AFX_CBRS_FLOAT) != 0; }
    virtual BOOL CanAutoHide() const { return (m_dwControlBarStyle & AFX_CBRS_AUTOHIDE) != 0; }
    BOOL IsFloating() const;
    BOOL FloatPane(const RECT& rectFloat);
    // Auto-hide keeps only the title on the frame's side; the title shows the pane again.
    BOOL SetAutoHideMode(BOOL bMode);
    BOOL IsAutoHideMode() const { return m_bAutoHide; }

    void SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const { return bBigIcon ? m_hIconBig : m_hIconSmall; }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    QWidget* GetClientWidget() const override;

protected:
    QDockWidget* Dock() const;
    void ApplyFeatures();

    DWORD m_dwEnabledAlignment = 0;
    DWORD m_dwControlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE;
    DWORD m_dwInitialAlignment = CBRS_ALIGN_LEFT;
    BOOL m_bAutoHide = FALSE;
    HICON m_hIconSmall = nullptr;
    HICON m_hIconBig = nullptr;
};
