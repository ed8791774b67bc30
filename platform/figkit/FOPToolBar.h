// The library's toolbar: a QToolBar of a frame made from a TOOLBAR resource. Every button is the
// frame's shared action of its command (mfc/CommandActions.h), so the menus show the same image and
// state; the update handlers enable and check the buttons at idle time. Buttons may carry a
// drop-down history list (undo, redo), a drop-down menu, a combo box in their place, or a pair of a
// value well and its drop-down chooser (colours, line widths, line styles).
#pragma once

#include "figkit/Figkit.h"
#include "mfc/Collections.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Controls.h"
#include "mfc/DockablePane.h"

#include <map>
#include <memory>
#include <vector>

class QAction;
class QIcon;
class QImage;
class QToolButton;

// The messages a well answers: set the value it applies (wParam), set the value its chooser shows
// as current (wParam), read the value it applies.
#ifndef FOP_BUTTON_SETVALUE
#define FOP_BUTTON_SETVALUE 0x100F
#define FOP_BUTTON_SETVALUE2 0x1010
#define FOP_BUTTON_GETVALUE 0x1011
#endif

// Notification codes a well sends as WM_COMMAND of its chooser's id (lParam: the well's window).
#define FOP_WELL_APPLY 1     // apply the well's value
#define FOP_WELL_AUTOMATIC 2 // the automatic choice
#define FOP_WELL_NONE 3      // no colour, no line

// Notification code of the toolbar's registered message when it has made a combo box.
#define FOP_TOOLBAR_COMBO_CREATED 257

// The registered message "WM_CFOPTOOLBARWNDNOTIFY" sent to the frame: wParam the control id (low
// word) and a code (high word), lParam the control's window.
UINT FOPGetToolBarNotifyMessage();

class CFOPToolBar;

// A value well and its chooser on one toolbar button: the well's face shows the value and applies
// it when clicked; the arrow opens the chooser. The well is a window of the well's id.
class CFOPDropWell : public CWnd
{
    DECLARE_DYNAMIC(CFOPDropWell)
public:
    enum WellKind
    {
        Colour,
        LineWidth,
        LineStyle
    };
    CFOPDropWell(WellKind kind, UINT nChooserID, int nArrowWidth);

    WellKind GetKind() const { return m_kind; }
    UINT GetChooserID() const { return m_nChooserID; }
    DWORD GetValue() const { return m_dwValue; }
    DWORD GetShownValue() const { return m_dwShown; }
    // What a choice in the chooser does: the value becomes the well's and is applied.
    void SelectValue(DWORD dwValue);
    // The chooser's other entries: "Automatic" (colours) and "None".
    void SelectSpecial(int nCode);
    // The values the chooser offers, in order.
    static std::vector<DWORD> ChooserValues(WellKind kind);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    void Notify(int nCode);
    void UpdateFace();
    void BuildChooser(QToolButton* button);

    WellKind m_kind;
    UINT m_nChooserID;
    int m_nArrowWidth;
    DWORD m_dwValue = 0;
    DWORD m_dwShown = 0;
    QToolButton* m_pButton = nullptr;
};

class CFOPToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CFOPToolBar)
public:
    CFOPToolBar();
    ~CFOPToolBar() override;
    using CWnd::CreateEx;

    // dwCtrlStyle: the button look (kept); dwStyle: window and CBRS_ bits; nID: the bar's id.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  UINT nID = AFX_IDW_TOOLBAR, UINT nReserved = 0);
    // Buttons and images of a TOOLBAR resource; FALSE when there is none or the bar has no window.
    BOOL LoadToolBar(UINT nIDResource);
    void SetWindowText(LPCWSTR lpszString);
    // The sides the bar may be docked on (CBRS_ALIGN_ ...).
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetEnabledAlignment() const { return m_dwDockStyle; }

    int GetCount() const { return int(m_items.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nID) const;
    // The action of a button (the frame's action of the command), or null.
    QAction* GetButtonAction(UINT nID) const;

    // A drop-down list of the texts in pList under the button; choosing the n-th entry posts
    // WM_USER+500 (n, 5000 for an undo list, else 0) to the frame. Opening it first sends the arrow
    // command to the frame. At most nMaxShown entries show.
    BOOL SetDropHistory(UINT nID, UINT nArrowID, CStringArray* pList, BOOL bUndo, int nMaxShown);
    // A drop-down menu under the button: the commands of menu resource nArrowID when there is one,
    // else the button's own command.
    BOOL SetDropMenu(UINT nID, UINT nArrowID);
    // A combo box in the button's place; the frame is told with the registered message and code
    // FOP_TOOLBAR_COMBO_CREATED. Null when the button is missing.
    CComboBox* AddComboBox(UINT nButtonID, UINT nCtrlID, DWORD dwStyle, int cx, int cy, int nListHeight);
    CComboBox* GetComboBox(UINT nCtrlID) const;
    // Wells: pairs of (well id, chooser id); the well takes the first button's place and the
    // chooser's button is dropped. nArrowWidth: the arrow's width in pixels.
    BOOL SetColorWells(const UINT* pPairs, int nPairs, int nArrowWidth);
    BOOL SetLineWidthWell(UINT nWellID, UINT nChooserID, int nArrowWidth);
    BOOL SetLineStyleWell(UINT nWellID, UINT nChooserID, int nArrowWidth);
    CFOPDropWell* GetWell(UINT nWellID) const;

    // The image of a command as the bar draws it when the resource has no bitmap strip.
    static QImage DrawCommandImage(UINT nID, int cx, int cy);
    // Images of a TOOLBAR resource's buttons, by command id (the strip's, else drawn ones).
    static std::vector<std::pair<UINT, QImage>> LoadButtonImages(UINT nIDResource);
    // The icon a button or menu item of the command shows: the desktop theme's where the command
    // has a standard icon name and the theme that icon, else the drawn image.
    static QIcon CommandIcon(UINT nID, const QImage& drawn);

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    HWND FrameHandle() const;
    QAction* ButtonAt(UINT nID) const;
    BOOL AddWell(CFOPDropWell::WellKind kind, UINT nWellID, UINT nChooserID, int nArrowWidth);
    QToolButton* ButtonWidget(UINT nID) const;

    struct CItem
    {
        UINT nID = 0;
        QAction* pAction = nullptr; // the frame's action, or the widget action of a combo or well
    };
    std::vector<CItem> m_items;
    DWORD m_dwCtrlStyle = 0;
    DWORD m_dwDockStyle = 0;
    CSize m_sizeButton = CSize(16, 15);
    std::map<UINT, std::unique_ptr<CComboBox>> m_combos;
    std::map<UINT, std::unique_ptr<CFOPDropWell>> m_wells;
};
