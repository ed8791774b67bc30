// The bars of the extended framework: CMFCToolBar (a QToolBar of the frame), CMFCMenuBar,
// CMFCStatusBar and the toolbar image collection.
//
// A toolbar is made from a TOOLBAR resource and the bitmap strip of the same id. Its buttons are the
// frame's shared actions of their commands (mfc/CommandActions.h), so the menus show the same state;
// a bar owned by a pane sends its commands to the pane instead. A toolbar may end with a customise
// button that sends its command to the frame.
//
//   m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS);
//   m_wndToolBar.LoadToolBar(IDR_MAINFRAME);
//   m_wndToolBar.EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, strCustomize);
#pragma once

#include "mfc/Controls.h"
#include "mfc/DockablePane.h"

#include <QPixmap>

#include <map>
#include <vector>

class QAction;
class QToolBar;

#define TBSTYLE_FLAT 0x0800
#define AFX_DEFAULT_TOOLBAR_STYLE (WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_HIDE_INPLACE)
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L

// Images the user drew for toolbar buttons (a bitmap file of same-sized images).
class CMFCToolBarImages
{
public:
    CMFCToolBarImages();
    ~CMFCToolBarImages();
    CMFCToolBarImages(const CMFCToolBarImages&) = delete;
    CMFCToolBarImages& operator=(const CMFCToolBarImages&) = delete;

    void SetImageSize(SIZE sizeImage) { m_sizeImage = sizeImage; }
    SIZE GetImageSize() const { return m_sizeImage; }
    // A picture file cut into images of the set size; FALSE (nothing loaded) when the file is
    // missing, larger than nMaxFileSize bytes (0: no limit) or not a picture.
    BOOL Load(LPCWSTR lpszBmpFileName, DWORD nMaxFileSize = 0);
    BOOL IsValid() const { return !m_images.empty(); }
    int GetCount() const { return int(m_images.size()); }
    const QPixmap* GetImage(int nIndex) const;
    const CString& GetFileName() const { return m_strFileName; }

private:
    SIZE m_sizeImage = {16, 15};
    std::vector<QPixmap> m_images;
    CString m_strFileName;
};

class CMFCToolBar : public CControlBar
{
    DECLARE_DYNCREATE(CMFCToolBar)
public:
    CMFCToolBar();
    ~CMFCToolBar() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = AFX_DEFAULT_TOOLBAR_STYLE, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = AFX_DEFAULT_TOOLBAR_STYLE, CRect rcBorders = CRect(1, 1, 1, 1),
                  UINT nID = AFX_IDW_TOOLBAR);
    // Buttons from toolbar uiResID, images from bitmap uiResID (missing images leave text buttons).
    // A locked toolbar cannot be customised. FALSE when there is no such toolbar.
    BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                     UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0);
    // Buttons by command id (ID_SEPARATOR, 0, for a separator).
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void RemoveAllButtons();

    int GetCount() const { return int(m_buttons.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    BOOL IsButtonEnabled(int nIndex) const;
    BOOL IsButtonChecked(int nIndex) const;
    // Presses the button as a click does: its command goes to the frame.
    BOOL ClickButton(int nIndex);

    void EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, const CString& strCustomizeText,
                               BOOL bQuickCustomize = TRUE);
    BOOL IsCustomizeButton() const { return m_nCustomizeCmd != 0; }
    UINT GetCustomizeCommand() const { return m_nCustomizeCmd; }
    const CString& GetCustomizeText() const { return m_strCustomizeText; }
    BOOL IsLocked() const { return m_bLocked; }

    // CBRS_ ... styles of the bar (gripper, tooltips, fly-by, borders).
    void SetPaneStyle(DWORD dwNewStyle) { m_dwPaneStyle = dwNewStyle; }
    DWORD GetPaneStyle() const { return m_dwPaneStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void EnableDocking(DWORD dwAlignment) { m_dwEnabledAlignment = dwAlignment; }
    DWORD GetEnabledAlignment() const { return m_dwEnabledAlignment; }
    // The owner gets the commands instead of the frame (and its routing) when it is set.
    void SetOwner(CWnd* pOwnerWnd);
    void SetRouteCommandsViaFrame(BOOL bValue) { m_bRouteViaFrame = bValue; }
    void SetLockedSizes(SIZE, SIZE) {}
    void ReplaceLockedImages(UINT uiResID) { LoadImages(uiResID); }

    // Every toolbar alive, user-defined ones included.
    static const std::vector<CMFCToolBar*>& GetAllToolbars();
    // Alt+drag customisation of the toolbars.
    static void EnableQuickCustomization(BOOL bEnable = TRUE) { m_bAltCustomization = bEnable; }
    static BOOL IsQuickCustomizationEnabled() { return m_bAltCustomization; }
    static void SetUserImages(CMFCToolBarImages* pUserImages) { m_pUserImages = pUserImages; }
    static CMFCToolBarImages* GetUserImages() { return m_pUserImages; }
    // The commands that menus show before they are personalised.
    static void SetBasicCommands(const std::vector<UINT>& commands) { m_basicCommands = commands; }
    static const std::vector<UINT>& GetBasicCommands() { return m_basicCommands; }
    static BOOL IsBasicCommand(UINT nID);
    // The pictures that menus show beside their commands: the buttons of toolbar uiResID with the
    // pictures of bitmap uiBmpResID (the toolbar's own when 0). FALSE when there is no such menu.
    static BOOL AddToolBarForImageCollection(UINT uiResID, UINT uiBmpResID = 0);
    // The picture collected for a command, or null.
    static const QPixmap* GetCommandImage(UINT nID);

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    // Puts the bar back in the frame's top row (after a customise hid it, or on docking).
    void DockToFrameTop();

protected:
    struct CButton
    {
        UINT nID;
        QAction* pAction;
    };
    QToolBar* Bar() const;
    void LoadImages(UINT uiResID);
    void RebuildButtons();
    HWND CommandWindow() const;

    std::vector<CButton> m_buttons;
    QAction* m_pCustomizeAction = nullptr;
    UINT m_nCustomizeCmd = 0;
    CString m_strCustomizeText;
    BOOL m_bLocked = FALSE;
    DWORD m_dwPaneStyle = 0;
    DWORD m_dwEnabledAlignment = 0;
    HWND m_hWndOwner = nullptr;
    BOOL m_bRouteViaFrame = TRUE;
    std::vector<QPixmap> m_images;
    SIZE m_sizeImage = {16, 15};

    static inline BOOL m_bAltCustomization = FALSE;
    static inline CMFCToolBarImages* m_pUserImages = nullptr;
    static inline std::vector<UINT> m_basicCommands;
    static inline std::map<UINT, QPixmap> m_commandImages;
};

// The menu bar of the extended framework. The frame keeps showing its menu (the active child's
// when it has one) in its own menu line; this bar stands for that line as a pane with an id and a
// style that the frame docks and lists.
class CMFCMenuBar : public CControlBar
{
    DECLARE_DYNCREATE(CMFCMenuBar)
public:
    CMFCMenuBar() = default;
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = AFX_DEFAULT_TOOLBAR_STYLE, UINT nID = 0xE806);
    void SetPaneStyle(DWORD dwNewStyle) { m_dwPaneStyle = dwNewStyle; }
    DWORD GetPaneStyle() const { return m_dwPaneStyle; }
    void EnableDocking(DWORD dwAlignment) { m_dwEnabledAlignment = dwAlignment; }
    // Popup menus take the keyboard focus when they open (the default).
    static void SetForceMenuFocus(BOOL bValue) { m_bForceMenuFocus = bValue; }
    static BOOL IsForceMenuFocus() { return m_bForceMenuFocus; }
    void SetShowAllCommands(BOOL bShowAllCommands = TRUE) { m_bShowAllCommands = bShowAllCommands; }

    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    DWORD m_dwPaneStyle = 0;
    DWORD m_dwEnabledAlignment = 0;
    BOOL m_bShowAllCommands = FALSE;
    static inline BOOL m_bForceMenuFocus = TRUE;
};

class CMFCPopupMenu
{
public:
    static void SetForceMenuFocus(BOOL bValue) { CMFCMenuBar::SetForceMenuFocus(bValue); }
};

class CMFCStatusBar : public CStatusBar
{
    DECLARE_DYNCREATE(CMFCStatusBar)
public:
    CMFCStatusBar() = default;
};

// The tooltip control class of the framework's bars (their tooltips are Qt's own).
class CMFCToolTipCtrl : public CWnd
{
    DECLARE_DYNCREATE(CMFCToolTipCtrl)
public:
    CMFCToolTipCtrl() = default;
};
