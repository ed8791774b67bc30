// CMainFrame: the editor's MDI main window. It owns the editor's bars (seven toolbars, the status
// bar, the workspace bar with the project tree and the toolbox, and the pan window), docks them in a fixed
// layout, trims the main menu to the commands the editor offers, answers the frame-level commands
// and guards closing: it saves the open documents, offers to save a changed project and asks what
// to do with a large clipboard. Made with a plain constructor and LoadFrame(IDR_MAINFRAME).
#pragma once

#include "editor/DesignFrame.h"
#include "editor/TableBar.h"
#include "editor/WindowDlg.h"
#include "figkit/FOPControlBar.h"
#include "figkit/FOPNewPanBar.h"
#include "figkit/FOPToolBar.h"
#include "foundation/XVKFrames.h"
#include "mfc/Collections.h"
#include "mfc/ComboBoxCtl.h"

#ifndef IDR_MAINFRAME
#define IDR_MAINFRAME 106
#endif

// Toolbar resources, bars and panes of the main frame.
#define IDR_TB_STANDARD 8046
#define IDR_TB_FONT 134
#define IDR_TB_DRAW 8042
#define IDR_TB_FORMAT 6
#define IDR_TB_ALIGN 29342
#define IDR_TB_LINK 28373
#define IDR_TB_LAYOUT 28458
#define IDW_WORKSPACE_BAR 1212
#define IDW_PAN_BAR 20002
#define ID_INDICATOR_POS 41000
#define ID_INDICATOR_SIZE 41001

// Commands of the frame.
#define ID_VIEW_DRAWBAR 32776
#define ID_VIEW_FORMATBAR 32777
#define ID_VIEW_TOOLBOX 32791
#define ID_SEND_EMAIL 7
#define ID_VIEW_FULLSCREEN 32814
#define ID_WEB_SITE 32789
#define ID_STYLE_CLASSIC 32834
#define ID_STYLE_XP 32835
#define ID_ADD_NEW_SCREEN 30052
#define ID_ADD_NEW_SCRIPT 30053
#define ID_CLOSE_ALL 32848
#define ID_CLOSE_WINDOW 32847
#define ID_NEXT_WINDOW 32845
#define ID_PREV_WINDOW 32846
#define ID_RECENT_PROJECT_FIRST 33040
#define ID_RECENT_PROJECT_LAST 33055
#define ID_TOOLBOX_PAGE_NEW 32815
#define ID_TOOLBOX_PAGE_REMOVE 32816
#define ID_TOOLBOX_PAGE_OPEN 32817
#define ID_TOOLBOX_PAGE_SAVE 32826
#define ID_TOOLBOX_STYLE_ICONS_NAMES 32838
#define ID_TOOLBOX_STYLE_ICONS_DETAILS 32839
#define ID_TOOLBOX_STYLE_NAMES 32840
#define ID_ZOOM_COMBO 1220
#define ID_FONT_NAME_COMBO 1221
#define ID_FONT_SIZE_COMBO 1222

class CMainFrame : public CXVKMDIFrameWnd, public IDesignFrame
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    virtual void FillFontNameBox(CComboBox* pBox);
    virtual void FillFontSizeBox(CComboBox* pBox);

    // Removes what the editor does not offer from the frame's current menu.
    void TrimMenu();
    // After a project opened or closed: the workspace bar's tree follows.
    void RefreshProjectTree();

    // What the design view reads of the frame.
    CComboBox* GetFontNameBox() override { return m_pFontNameBox; }
    CComboBox* GetFontSizeBox() override { return m_pFontSizeBox; }
    CComboBox* GetZoomBox() override { return m_pZoomBox; }
    CWnd* GetFormatBar() override { return &m_wndFontBar; }
    LRESULT SendToFormatButtons(UINT nButtonId, UINT nMessage, WPARAM wParam, LPARAM lParam) override;
    CWnd* GetPanBar() override { return &m_wndPanPlace; }
    CStringArray* GetUndoTexts() override { return &m_arUndo; }
    CStringArray* GetRedoTexts() override { return &m_arRedo; }
    BOOL GetPropertyEditorEnable() override;
    void RefreshShapeList(CWnd* pChildFrame) override;

    CTableBar& GetWorkspaceBar() { return m_wndTableBar; }
    CFOPStatusBar& GetStatusBar() { return m_wndStatusBar; }
    // The seven toolbars: Standard, Font, Draw, Format, Align, Link, Layout.
    CFOPToolBar* GetToolBar(int nIndex);
    // The docking bar "Pan Window" and the pan window inside it.
    CFOPControlBar& GetPanPlace() { return m_wndPanPlace; }
    CFOPNewPanBar& GetPanWindow() { return m_wndPanBar; }
    CMyToolBoxWnd& GetToolBox() { return m_wndTableBar.GetToolBox(); }
    CMDIClient& GetMDIClientObject() { return m_wndMDIClient; }

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnClose() override;

    afx_msg void OnViewDrawBar();
    afx_msg void OnUpdateViewDrawBar(CCmdUI* pCmdUI);
    afx_msg void OnViewFormatBar();
    afx_msg void OnUpdateViewFormatBar(CCmdUI* pCmdUI);
    afx_msg void OnViewToolBox();
    afx_msg void OnUpdateViewToolBox(CCmdUI* pCmdUI);
    afx_msg void OnSendEmail();
    afx_msg void OnFullScreen();
    afx_msg void OnUpdateFullScreen(CCmdUI* pCmdUI);
    afx_msg void OnWebSite();
    afx_msg void OnStyleClassic();
    afx_msg void OnUpdateStyleClassic(CCmdUI* pCmdUI);
    afx_msg void OnStyleXP();
    afx_msg void OnUpdateStyleXP(CCmdUI* pCmdUI);
    afx_msg LRESULT OnDropFilesMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnAddNewScreen();
    afx_msg void OnAddNewScript();
    afx_msg void OnUpdateProjectOpen(CCmdUI* pCmdUI);
    afx_msg void OnCloseAll();
    afx_msg void OnCloseWindow();
    afx_msg void OnUpdateCloseWindow(CCmdUI* pCmdUI);
    afx_msg void OnNextWindow();
    afx_msg void OnPrevWindow();
    afx_msg void OnUpdateNextWindow(CCmdUI* pCmdUI);
    afx_msg void OnWindowList();
    afx_msg LRESULT OnUndoRedoSteps(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolBarNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewValid(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewInvalid(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShapeChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnToolBoxNewPage();
    afx_msg void OnToolBoxSavePage();
    afx_msg void OnToolBoxRemovePage();
    afx_msg void OnToolBoxOpenPage();
    afx_msg void OnToolBoxViewStyle(UINT nID);
    afx_msg void OnUpdateToolBoxViewStyle(CCmdUI* pCmdUI);
    afx_msg void OnRecentProject(UINT nID);
    afx_msg void OnUpdateRecentProject(CCmdUI* pCmdUI);

    // Opens the dropped files (screens, scripts, another project); others are ignored.
    void OpenDroppedFiles(const std::vector<CString>& files);
    // Closing step 3: the size of the editor's own data on the clipboard, in bytes (0 when the
    // clipboard is not the editor's).
    static size_t OwnClipboardSize();

protected:
    // The menu bar TrimMenu saw last.
    HMENU m_hMenuTrimmed = nullptr;
    BOOL CreateBars();
    // The toolbox in the workspace bar with the pages of the index, and the pan window in its bar.
    BOOL CreateToolBoxAndPan();
    // A canvas notice passed to the pan window; 0 without one.
    LRESULT PassToPan(UINT nMessage, WPARAM wParam, LPARAM lParam);
    void Dock();
    // The library's look switched, and every bar and the client repainted.
    void SetLook(BOOL bXP);

    CTableBar m_wndTableBar;
    CComboBox* m_pFontNameBox = nullptr;
    CComboBox* m_pFontSizeBox = nullptr;
    CComboBox* m_pZoomBox = nullptr;
    CStringArray m_arUndo;
    CStringArray m_arRedo;
    CFOPStatusBar m_wndStatusBar;
    CFOPToolBar m_wndStandardBar;
    CFOPToolBar m_wndFontBar;
    CFOPToolBar m_wndDrawBar;
    CFOPToolBar m_wndFormatBar;
    CFOPToolBar m_wndAlignBar;
    CFOPToolBar m_wndLinkBar;
    CFOPToolBar m_wndLayoutBar;
    // The pan window, in its docking bar under the workspace bar.
    CFOPControlBar m_wndPanPlace;
    CFOPNewPanBar m_wndPanBar;
    CMDIClient m_wndMDIClient;

    DECLARE_MESSAGE_MAP()
};
