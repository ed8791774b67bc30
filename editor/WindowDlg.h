// The "Windows" dialog: a resizable list of the open MDI child windows from which the user
// activates, saves, closes, minimises and arranges several at once; and CMDIClient, the frame's MDI
// client object that opens it and keeps its entry at the end of the window menu.
#pragma once

#include "foundation/ResizableDialog.h"
#include "mfc/FrameWnd.h"
#include "mfc/ListBoxCtl.h"

#define IDD_WINDOW_LIST 143
#define IDC_WINDOW_LIST 1049
#define IDC_WL_ACTIVATE 1087
#define IDC_WL_SAVE 1209
#define IDC_WL_CLOSE 1027
#define IDC_WL_CASCADE 1046
#define IDC_WL_TILE_HORZ 1217
#define IDC_WL_TILE_VERT 1218
#define IDC_WL_MINIMIZE 1050
#define ID_WINDOW_LIST 32849

#ifndef WM_MDIREFRESHMENU
#define WM_MDIREFRESHMENU 0x0234
#endif

// The window list's rows: each open window with its icon and caption, drawn by the dialog.
class CWindowListBox : public CListBox
{
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The icon a listed window shows: its own, else its MDI frame's; null when neither has one.
    static HICON GetWindowIcon(HWND hWnd);
};

class CWindowDlg : public CResizableDialog
{
    DECLARE_DYNAMIC(CWindowDlg)
public:
    explicit CWindowDlg(CMDIFrameWnd* pMDIFrame);

    BOOL OnInitDialog() override;

    // The list and its buttons, by the number of selected windows.
    void FillWindowList();
    void SelectActiveWindow();
    void UpdateButtons();
    // The windows of the list that are selected, in list order.
    std::vector<HWND> GetSelectedWindows() const;

    afx_msg void OnActivate();
    afx_msg void OnSaveWindows();
    afx_msg void OnCloseWindows();
    afx_msg void OnMinimize();
    afx_msg void OnCascade();
    afx_msg void OnTileHorz();
    afx_msg void OnTileVert();
    afx_msg void OnSelChange();

    CWindowListBox m_wndList;

private:
    CWnd* GetMDIClient() const;
    void Refill();
    void Arrange(UINT nMessage, WPARAM wParam);

    CMDIFrameWnd* m_pMDIFrame;
    DECLARE_MESSAGE_MAP()
};

class CMDIClient : public CWnd
{
    DECLARE_DYNAMIC(CMDIClient)
public:
    CMDIClient();

    // Runs the window list over the frame (its parent too).
    INT_PTR ShowWindowList(CMDIFrameWnd* pFrame);
    const CString& GetMenuText() const { return m_strMenuText; }

    afx_msg LRESULT OnMDISetMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMDIRefreshMenu(WPARAM wParam, LPARAM lParam);

private:
    CString m_strMenuText;
    HMENU m_hWindowMenu = nullptr;
    DECLARE_MESSAGE_MAP()
};
