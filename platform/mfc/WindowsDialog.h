// The framework's own dialogs of the extended MDI frame: the windows dialog (the children listed by
// title, to activate or close) and the toolbar customisation dialog (the toolbars, to show, hide,
// add user toolbars to and delete them from). Their templates are the framework's, not the
// program's.
#pragma once

#include "mfc/Dialog.h"

#include <vector>

class CMDIFrameWndEx;
class CMFCToolBar;

class CMFCWindowsManagerDialog : public CDialog
{
public:
    enum
    {
        IDC_WINDOWS_LIST = 100,
        IDC_ACTIVATE = 101,
        IDC_CLOSE_WINDOW = 102,
    };
    CMFCWindowsManagerDialog(CMDIFrameWndEx* pMDIFrame, BOOL bHelpButton = FALSE);

    BOOL OnInitDialog() override;
    afx_msg void OnActivate();
    afx_msg void OnCloseWindow();

protected:
    const AFX_DLG_TEMPLATE* FindTemplate() const override;
    void FillList();
    HWND SelectedChild() const;

    CMDIFrameWndEx* m_pMDIFrame;
    BOOL m_bHelpButton;
    std::vector<HWND> m_children;
    DECLARE_MESSAGE_MAP()
};

// Customisation flags.
#define AFX_CUSTOMIZE_MENU_SHADOWS 0x0001
#define AFX_CUSTOMIZE_TEXT_LABELS 0x0002
#define AFX_CUSTOMIZE_MENU_ANIMATIONS 0x0004
#define AFX_CUSTOMIZE_NOHELP 0x0008
#define AFX_CUSTOMIZE_CONTEXT_HELP 0x0010
#define AFX_CUSTOMIZE_NOTOOLS 0x0020
#define AFX_CUSTOMIZE_MENUAMPERS 0x0040
#define AFX_CUSTOMIZE_NO_LARGE_ICONS 0x0080

class CMFCToolBarsCustomizeDialog : public CDialog
{
public:
    enum
    {
        IDC_TOOLBARS_LIST = 100,
        IDC_NEW_TOOLBAR = 101,
        IDC_DELETE_TOOLBAR = 102,
        IDC_SHOW_TOOLBAR = 103,
    };
    // bAutoSetFromMenus: the commands offered are those of the frame's menus.
    CMFCToolBarsCustomizeDialog(CMDIFrameWndEx* pWndParentFrame, BOOL bAutoSetFromMenus = FALSE,
                                UINT uiFlags = AFX_CUSTOMIZE_MENU_SHADOWS | AFX_CUSTOMIZE_TEXT_LABELS |
                                               AFX_CUSTOMIZE_MENU_ANIMATIONS | AFX_CUSTOMIZE_NOHELP);
    void EnableUserDefinedToolbars(BOOL bEnable = TRUE) { m_bUserToolbars = bEnable; }
    BOOL IsAutoSetFromMenus() const { return m_bAutoSetFromMenus; }
    // The commands of the frame's menus when auto-set, in menu order.
    const std::vector<UINT>& GetCommands() const { return m_commands; }

    BOOL OnInitDialog() override;
    afx_msg void OnNewToolbar();
    afx_msg void OnDeleteToolbar();
    afx_msg void OnShowToolbar();

protected:
    const AFX_DLG_TEMPLATE* FindTemplate() const override;
    void FillList();
    CMFCToolBar* SelectedToolbar() const;

    CMDIFrameWndEx* m_pFrame;
    BOOL m_bAutoSetFromMenus;
    UINT m_uiFlags;
    BOOL m_bUserToolbars = FALSE;
    std::vector<UINT> m_commands;
    std::vector<CMFCToolBar*> m_listed;
    DECLARE_MESSAGE_MAP()
};
