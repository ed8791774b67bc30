// The library's docking bar and status bar. A CFOPControlBar is a docking pane of its frame (a
// QDockWidget) with a title, made from bar styles: the side it starts on (CBRS_LEFT, ...), whether
// it shows (WS_VISIBLE) and floats; its children fill its client area. The frame docks it with
// DockControlBarEx (side, proportion, size) and places others beside it.
#pragma once

#include "figkit/Figkit.h"
#include "mfc/Controls.h"
#include "mfc/DockablePane.h"

class CFOPControlBar : public CDockablePane
{
    DECLARE_DYNAMIC(CFOPControlBar)
public:
    CFOPControlBar() = default;
    using CDockablePane::Create;

    // dwStyle: window styles and CBRS_ bits; dwExStyle is kept for the caller.
    virtual BOOL Create(LPCWSTR lpszWindowName, CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                        CSize sizeDefault = CSize(240, 200));
    // The sides it may dock on (CBRS_ALIGN_ ...).
    void EnableDocking(DWORD dwDockStyle) { CDockablePane::EnableDocking(dwDockStyle); }
    DWORD GetBarExStyle() const { return m_dwExStyle; }
    CSize GetDefaultSize() const { return m_sizeDefault; }

private:
    DWORD m_dwExStyle = 0;
    CSize m_sizeDefault;
};

// The status bar of the library's frames.
class CFOPStatusBar : public CStatusBar
{
    DECLARE_DYNAMIC(CFOPStatusBar)
public:
    CFOPStatusBar() = default;
};
