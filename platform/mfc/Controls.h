// Standard controls, control bars and the status bar. A control is a Qt widget behind a window
// handle, made by its family in the control registry (ControlRegistry.h); the family's MFC class
// sends it the usual control messages, which any window object of the control answers, so
// GetDlgItem(id)->SendMessage(LB_GETCURSEL) works as well as CListBox.
#pragma once

#include "mfc/ButtonCtl.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ControlRegistry.h"
#include "mfc/EditCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/StaticCtl.h"
#include "mfc/TreeCtrl.h"
#include "mfc/Wnd.h"

#include <vector>

class QLabel;

// Control bar styles.
#define CBRS_ALIGN_TOP 0x1000L
#define CBRS_ALIGN_BOTTOM 0x4000L
#define CBRS_TOP (CBRS_ALIGN_TOP)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM)

// Status bar pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_OWNERDRAW 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CFrameWnd;

// A bar along a frame's edge; it updates its items from the frame's command handlers at idle time.
class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    BOOL m_bAutoDelete = FALSE;

protected:
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()
};

// The status bar: a QStatusBar with one label per pane. Pane 0 made from ID_SEPARATOR stretches and
// shows the frame's messages; the others show the string of their id and are updated through
// ON_UPDATE_COMMAND_UI handlers (disabled panes are blank).
class CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar() = default;
    ~CStatusBar() override;

    using CControlBar::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    using CControlBar::CreateEx;
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // The panes' texts are the strings of their ids from the resource chain (empty for ID_SEPARATOR).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return int(m_panes.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    struct CPane
    {
        UINT nID;
        UINT nStyle;
        int cxWidth;
        CString strText;
        QLabel* pLabel;
    };
    void RebuildPanes();
    void ShowPane(size_t nIndex);
    std::vector<CPane> m_panes;
};
