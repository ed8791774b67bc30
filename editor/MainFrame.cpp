#include "editor/MainFrame.h"

#include "editor/EditorApp.h"
#include "figkit/FODrawView.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Clipboard.h"
#include "mfc/CommandIcons.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "symbols/LinkOpener.h"

#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

IMPLEMENT_DYNCREATE(CMainFrame, CXVKMDIFrameWnd)

namespace
{
constexpr UINT ID_HELP_TOPICS = 57667;
constexpr UINT ID_HELP_DEFAULT = 57671;
constexpr UINT ID_UNDO_ARROW = 32799;
constexpr UINT ID_REDO_ARROW = 32800;
constexpr UINT ID_NEW_ARROW = 32792;
constexpr UINT ID_OPEN_ARROW = 32798;
constexpr UINT ID_ZOOM_BUTTON = 32801;
constexpr UINT ID_FONT_NAME_BUTTON = 32802;
constexpr UINT ID_FONT_SIZE_BUTTON = 32803;
constexpr UINT WM_UNDO_REDO_STEPS = WM_USER + 500;
constexpr size_t kLargeClipboard = 0xA00000;
constexpr UINT kMenuImageBars[] = {8046, 29342, 6, 28458, 29344, 29345, 8043};

const UINT g_nToolBarNotify = FOPGetToolBarNotifyMessage();
const UINT g_nViewValid = FOPGetViewValidMessage();
const UINT g_nViewInvalid = FOPGetViewInvalidMessage();
const UINT g_nShapeChanged = FOPGetShapeChangedMessage();
const UINT g_nViewUpdate = FOPGetViewUpdateMessage();

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_POS, ID_INDICATOR_SIZE, 59137, 59138, 59139};
const int kFontSizes[] = {8,  9,  10, 11, 12, 14, 16,  18,  20,  22,  24,  26, 28,
                          36, 48, 72, 80, 88, 96, 128, 168, 272, 405, 524, 624};
const wchar_t* const kZoomTexts[] = {L"10",  L"20",  L"40",  L"80",  L"100",
                                     L"200", L"300", L"400", L"600", L"800"};

// The editor's own commands that have a standard icon name; the framework names its own.
void NameCommandIcons()
{
    const std::pair<UINT, LPCWSTR> names[] = {
        {32804, L"format-text-bold"},    {32805, L"format-text-italic"},    {32781, L"format-text-underline"},
        {32782, L"format-justify-left"}, {32783, L"format-justify-center"}, {32784, L"format-justify-right"},
        {37000, L"edit-delete"},         {32814, L"view-fullscreen"},
    };
    for (const auto& [id, name] : names)
        AfxSetCommandIconNames(id, name);
}

// The item of the desktop's interface font in a font name box, or CB_ERR.
int FindInterfaceFont(CComboBox* pBox)
{
    if (!pBox)
        return CB_ERR;
    // The desktop's interface font: the family it names, else the one that font resolves to (a
    // generic name such as "Sans Serif" is not in the list).
    const QFont font = QGuiApplication::font();
    for (const QString& family : {font.family(), QFontInfo(font).family()})
    {
        const int index = pBox->FindStringExact(-1, CString(family.toStdWString().c_str()));
        if (index != CB_ERR)
            return index;
    }
    return CB_ERR;
}

// The last four characters of a name, lower-cased.
CString Tail4(const CString& path)
{
    CString tail = path.Right(4);
    tail.MakeLower();
    return tail;
}

// Removes the commands from a menu and its submenus.
void RemoveCommands(CMenu* pMenu, std::initializer_list<UINT> ids)
{
    if (!pMenu)
        return;
    for (int i = int(pMenu->GetMenuItemCount()) - 1; i >= 0; --i)
    {
        const UINT id = pMenu->GetMenuItemID(i);
        if (id == UINT(-1))
            RemoveCommands(pMenu->GetSubMenu(i), ids);
        else if (std::find(ids.begin(), ids.end(), id) != ids.end())
            pMenu->RemoveMenu(UINT(i), MF_BYPOSITION);
    }
}

// Removes the popup items of that text from a menu and its submenus.
void RemovePopup(CMenu* pMenu, LPCWSTR lpszText)
{
    if (!pMenu)
        return;
    for (int i = int(pMenu->GetMenuItemCount()) - 1; i >= 0; --i)
    {
        if (pMenu->GetMenuItemID(i) != UINT(-1))
            continue;
        CString text;
        pMenu->GetMenuString(UINT(i), text, MF_BYPOSITION);
        if (text.Left(1024) == lpszText)
            pMenu->DeleteMenu(UINT(i), MF_BYPOSITION);
        else
            RemovePopup(pMenu->GetSubMenu(i), lpszText);
    }
}

// Files dropped on the frame's window.
class CDropFilter : public QObject
{
public:
    CDropFilter(HWND hFrame, QObject* pParent) : QObject(pParent), m_hFrame(hFrame) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)
        {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData() && drag->mimeData()->hasUrls())
            {
                drag->acceptProposedAction();
                return true;
            }
        }
        else if (event->type() == QEvent::Drop)
        {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<CString> files;
            if (drop->mimeData())
                for (const QUrl& url : drop->mimeData()->urls())
                    if (url.isLocalFile())
                        files.emplace_back(url.toLocalFile().left(520).toStdWString().c_str());
            drop->acceptProposedAction();
            if (auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(m_hFrame)))
                frame->OpenDroppedFiles(files);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    HWND m_hFrame;
};
} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CXVKMDIFrameWnd)
ON_COMMAND(ID_HELP_TOPICS, &CMainFrame::OnHelpFinder)
ON_COMMAND(ID_HELP, &CMainFrame::OnHelp)
ON_COMMAND(ID_CONTEXT_HELP, &CMainFrame::OnContextHelp)
ON_COMMAND(ID_HELP_DEFAULT, &CMainFrame::OnHelpFinder)
ON_COMMAND(ID_VIEW_DRAWBAR, &CMainFrame::OnViewDrawBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_DRAWBAR, &CMainFrame::OnUpdateViewDrawBar)
ON_COMMAND(ID_VIEW_FORMATBAR, &CMainFrame::OnViewFormatBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_FORMATBAR, &CMainFrame::OnUpdateViewFormatBar)
ON_COMMAND(ID_VIEW_TOOLBOX, &CMainFrame::OnViewToolBox)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBOX, &CMainFrame::OnUpdateViewToolBox)
ON_WM_CREATE()
ON_COMMAND(ID_SEND_EMAIL, &CMainFrame::OnSendEmail)
ON_COMMAND(ID_VIEW_FULLSCREEN, &CMainFrame::OnFullScreen)
ON_UPDATE_COMMAND_UI(ID_VIEW_FULLSCREEN, &CMainFrame::OnUpdateFullScreen)
ON_COMMAND(ID_WEB_SITE, &CMainFrame::OnWebSite)
ON_COMMAND(ID_STYLE_CLASSIC, &CMainFrame::OnStyleClassic)
ON_UPDATE_COMMAND_UI(ID_STYLE_CLASSIC, &CMainFrame::OnUpdateStyleClassic)
ON_COMMAND(ID_STYLE_XP, &CMainFrame::OnStyleXP)
ON_UPDATE_COMMAND_UI(ID_STYLE_XP, &CMainFrame::OnUpdateStyleXP)
ON_WM_CLOSE()
ON_COMMAND(ID_ADD_NEW_SCREEN, &CMainFrame::OnAddNewScreen)
ON_UPDATE_COMMAND_UI(ID_ADD_NEW_SCREEN, &CMainFrame::OnUpdateProjectOpen)
ON_COMMAND(ID_ADD_NEW_SCRIPT, &CMainFrame::OnAddNewScript)
ON_UPDATE_COMMAND_UI(ID_ADD_NEW_SCRIPT, &CMainFrame::OnUpdateProjectOpen)
ON_COMMAND(ID_CLOSE_ALL, &CMainFrame::OnCloseAll)
ON_COMMAND(ID_CLOSE_WINDOW, &CMainFrame::OnCloseWindow)
ON_UPDATE_COMMAND_UI(ID_CLOSE_WINDOW, &CMainFrame::OnUpdateCloseWindow)
ON_COMMAND(ID_NEXT_WINDOW, &CMainFrame::OnNextWindow)
ON_UPDATE_COMMAND_UI(ID_NEXT_WINDOW, &CMainFrame::OnUpdateNextWindow)
ON_COMMAND(ID_PREV_WINDOW, &CMainFrame::OnPrevWindow)
ON_UPDATE_COMMAND_UI(ID_PREV_WINDOW, &CMainFrame::OnUpdateNextWindow)
ON_COMMAND(ID_WINDOW_LIST, &CMainFrame::OnWindowList)
ON_MESSAGE(WM_UNDO_REDO_STEPS, &CMainFrame::OnUndoRedoSteps)
ON_REGISTERED_MESSAGE(g_nToolBarNotify, &CMainFrame::OnToolBarNotify)
ON_REGISTERED_MESSAGE(g_nViewValid, &CMainFrame::OnViewValid)
ON_REGISTERED_MESSAGE(g_nViewInvalid, &CMainFrame::OnViewInvalid)
ON_REGISTERED_MESSAGE(g_nShapeChanged, &CMainFrame::OnShapeChanged)
ON_REGISTERED_MESSAGE(g_nViewUpdate, &CMainFrame::OnViewUpdate)
ON_COMMAND(ID_TOOLBOX_PAGE_NEW, &CMainFrame::OnToolBoxNewPage)
ON_COMMAND(ID_TOOLBOX_PAGE_SAVE, &CMainFrame::OnToolBoxSavePage)
ON_COMMAND(ID_TOOLBOX_PAGE_REMOVE, &CMainFrame::OnToolBoxRemovePage)
ON_COMMAND(ID_TOOLBOX_PAGE_OPEN, &CMainFrame::OnToolBoxOpenPage)
ON_COMMAND_RANGE(ID_TOOLBOX_STYLE_ICONS_NAMES, ID_TOOLBOX_STYLE_NAMES, &CMainFrame::OnToolBoxViewStyle)
ON_UPDATE_COMMAND_UI_RANGE(ID_TOOLBOX_STYLE_ICONS_NAMES, ID_TOOLBOX_STYLE_NAMES,
                           &CMainFrame::OnUpdateToolBoxViewStyle)
ON_COMMAND_RANGE(ID_RECENT_PROJECT_FIRST, ID_RECENT_PROJECT_LAST, &CMainFrame::OnRecentProject)
ON_UPDATE_COMMAND_UI(ID_RECENT_PROJECT_FIRST, &CMainFrame::OnUpdateRecentProject)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    ShowMenuImage(TRUE);
}

CMainFrame::~CMainFrame()
{
    m_arUndo.RemoveAll();
    m_arRedo.RemoveAll();
}

CFOPToolBar* CMainFrame::GetToolBar(int nIndex)
{
    CFOPToolBar* bars[] = {&m_wndStandardBar, &m_wndFontBar, &m_wndDrawBar,  &m_wndFormatBar,
                           &m_wndAlignBar,    &m_wndLinkBar, &m_wndLayoutBar};
    return nIndex >= 0 && nIndex < 7 ? bars[nIndex] : nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.x = 0;
    cs.y = 0;
    cs.cx = ::GetSystemMetrics(SM_CXSCREEN);
    cs.cy = ::GetSystemMetrics(SM_CYSCREEN);
    if (!CXVKMDIFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE | FWS_ADDTOTITLE;
    return TRUE;
}

BOOL CMainFrame::CreateBars()
{
    CFOPToolBar* bars[] = {&m_wndStandardBar, &m_wndFontBar, &m_wndDrawBar,  &m_wndFormatBar,
                           &m_wndAlignBar,    &m_wndLinkBar, &m_wndLayoutBar};
    const UINT resources[] = {IDR_TB_STANDARD, IDR_TB_FONT, IDR_TB_DRAW,  IDR_TB_FORMAT,
                              IDR_TB_ALIGN,    IDR_TB_LINK, IDR_TB_LAYOUT};
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
    NameCommandIcons();
    for (int i = 0; i < 7; ++i)
    {
        if (!bars[i]->CreateEx(this, 0xC0, barStyle, AFX_IDW_TOOLBAR, 0) ||
            !bars[i]->LoadToolBar(resources[i]))
            return FALSE;
        // The status bar comes between the Font and the Draw toolbar.
        if (i == 1 &&
            (!m_wndStatusBar.CreateEx(this, 0, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
             !m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators)))))
            return FALSE;
    }
    if (!m_wndTableBar.Create(L"ToolBox Bar", this,
                              WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC, 0x3C8,
                              IDW_WORKSPACE_BAR, CSize(240, 400)))
        return FALSE;
    if (!m_wndPanPlace.Create(L"Pan Window", this,
                              WS_CHILD | CBRS_LEFT | CBRS_FLOAT_MULTI | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                              0x3C8, IDW_PAN_BAR, CSize(240, 200)))
        return FALSE;
    if (!CreateToolBoxAndPan())
        return FALSE;
    for (UINT id : kMenuImageBars)
        SetMenuImageRes(id);
    const LPCWSTR titles[] = {L"Standard", L"Font", L"Align", L"Format", L"Draw", L"Link", L"Layout"};
    CFOPToolBar* titled[] = {&m_wndStandardBar, &m_wndFontBar, &m_wndAlignBar, &m_wndFormatBar,
                             &m_wndDrawBar,     &m_wndLinkBar, &m_wndLayoutBar};
    for (int i = 0; i < 7; ++i)
        titled[i]->SetWindowText(titles[i]);
    return TRUE;
}

BOOL CMainFrame::CreateToolBoxAndPan()
{
    CMyToolBoxWnd& box = m_wndTableBar.GetToolBox();
    IEditorApp* app = GetEditorApp();
    if (app && !app->GetToolBoxFolder().IsEmpty())
        box.SetToolBoxFolder(app->GetToolBoxFolder());
    if (!box.Create(&m_wndTableBar, CRect(0, 0, 240, 300), IDC_TOOLBOX_WND))
        return FALSE;
    m_wndTableBar.PlaceToolBox();
    box.OpenIndexedPages();

    if (!m_wndPanBar.Create(&m_wndPanPlace, L"Pan Window", WS_CHILD | WS_VISIBLE, 0, CRect(0, 0, 240, 200)))
        return FALSE;
    // The pan window fills its bar whatever size the dock gives it.
    if (QWidget* area = m_wndPanPlace.GetClientWidget())
    {
        auto* layout = new QVBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_wndPanBar.GetWidget());
    }
    return TRUE;
}

void CMainFrame::Dock()
{
    for (int i = 0; i < 7; ++i)
        GetToolBar(i)->EnableDocking(CBRS_ALIGN_ANY);
    m_wndTableBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndPanPlace.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);

    m_wndStandardBar.SetDropHistory(ID_EDIT_UNDO, ID_UNDO_ARROW, &m_arUndo, TRUE, 17);
    m_wndStandardBar.SetDropHistory(ID_EDIT_REDO, ID_REDO_ARROW, &m_arRedo, FALSE, 17);
    m_wndStandardBar.SetDropMenu(ID_FILE_NEW, ID_NEW_ARROW);
    m_wndStandardBar.SetDropMenu(ID_FILE_OPEN, ID_OPEN_ARROW);

    m_wndFormatBar.AddComboBox(ID_ZOOM_BUTTON, ID_ZOOM_COMBO, 0x200222, 60, 40, 200);
    m_wndFontBar.AddComboBox(ID_FONT_NAME_BUTTON, ID_FONT_NAME_COMBO, 0x200322, 150, 40, 450);
    m_wndFontBar.AddComboBox(ID_FONT_SIZE_BUTTON, ID_FONT_SIZE_COMBO, 0x200222, 40, 40, 350);
    const UINT colourPairs[] = {32788, 32806, 32807, 32808, 32809, 32793};
    m_wndFontBar.SetColorWells(colourPairs, 3, 16);
    m_wndFontBar.SetLineWidthWell(32794, 32795, 16);
    m_wndFontBar.SetLineStyleWell(32796, 32797, 16);

    DockControlBar(&m_wndStandardBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndDrawBar, AFX_IDW_DOCKBAR_RIGHT);
    DockControlBar(&m_wndAlignBar, AFX_IDW_DOCKBAR_BOTTOM);
    DockControlBar(&m_wndFontBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBarLeftOf(&m_wndFormatBar, &m_wndStandardBar);
    DockControlBarLeftOf(&m_wndLinkBar, &m_wndFontBar);
    DockControlBarLeftOf(&m_wndLayoutBar, &m_wndAlignBar);
    DockControlBarEx(&m_wndTableBar, AFX_IDW_DOCKBAR_LEFT, 0.5f, 240);
    DockControlBarEx(&m_wndPanPlace, AFX_IDW_DOCKBAR_LEFT, 0.5f, 240);
    DockControlBarBottomOf(&m_wndPanPlace, &m_wndTableBar);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CXVKMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!CreateBars())
        return -1;
    Dock();
    TrimMenu();
    if (auto* main = qobject_cast<QMainWindow*>(GetWidget()))
    {
        main->setAcceptDrops(true);
        main->installEventFilter(new CDropFilter(m_hWnd, main));
        if (QWidget* client = main->centralWidget())
        {
            client->setAcceptDrops(true);
            client->installEventFilter(new CDropFilter(m_hWnd, client));
        }
    }
    return 0;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg && (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP))
    {
        // System keys meant for another top-level window (a dialog) are not the frame's.
        CWnd* pActive = CWnd::GetActiveWindow();
        if (pActive && pActive != this && pActive->GetParent() != this)
            return TRUE;
    }
    return CXVKMDIFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CXVKMDIFrameWnd::OnUpdateFrameTitle(bAddToTitle);
    // The active document's unsaved changes show as a star after its name.
    if (CDocument* pDoc = GetActiveDocument(); bAddToTitle && pDoc && pDoc->IsModified())
    {
        const CString docTitle = pDoc->GetTitle();
        CString text;
        GetWindowText(text);
        if (!docTitle.IsEmpty() && text.Left(docTitle.GetLength()) == docTitle)
            SetWindowText(docTitle + L" *" + text.Mid(docTitle.GetLength()));
    }
    // MDI activation swaps the menu bar; a menu once trimmed stays so, and a title that only shows a
    // change must stay cheap.
    CMenu* pMenu = GetMenu();
    if (bAddToTitle && pMenu && pMenu->GetSafeHmenu() != m_hMenuTrimmed)
    {
        TrimMenu();
        m_hMenuTrimmed = pMenu->GetSafeHmenu();
    }
}

void CMainFrame::TrimMenu()
{
    CMenu* pMenu = GetMenu();
    if (!pMenu)
        return;
    const BOOL propertyEditor = GetPropertyEditorEnable();
    BOOL changed = FALSE;
    for (int i = int(pMenu->GetMenuItemCount()) - 1; i >= 0; --i)
    {
        CString text;
        pMenu->GetMenuString(UINT(i), text, MF_BYPOSITION);
        if (text.Left(1024) == L"&Tool")
        {
            pMenu->DeleteMenu(UINT(i), MF_BYPOSITION);
            changed = TRUE;
            continue;
        }
        CMenu* pSub = pMenu->GetSubMenu(i);
        if (!pSub)
            continue;
        RemoveCommands(pSub, {30049, 30053, 30048, 32854, 32810});
        if (!propertyEditor)
            RemoveCommands(pSub, {32837, 32836});
        RemoveCommands(pSub, {30084, 32811});
        RemovePopup(pSub, L"ToolBox &View Style");
        RemoveCommands(pSub, {32815, 32817, 32826, 32816, 30111});
        changed = TRUE;
    }
    if (changed)
        DrawMenuBar();
}

void CMainFrame::FillFontSizeBox(CComboBox* pBox)
{
    if (!pBox)
        return;
    pBox->ResetContent();
    for (int size : kFontSizes)
    {
        CString text;
        text.Format(L"%d", size);
        pBox->AddString(text);
    }
}

void CMainFrame::FillFontNameBox(CComboBox* pBox)
{
    if (!pBox)
        return;
    pBox->ResetContent();
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families)
    {
        const int index = pBox->AddString(CString(family.toStdWString().c_str()));
        // The item data tells scalable (outline) fonts from the others, as the font's type does.
        if (index >= 0)
            pBox->SetItemData(index, QFontDatabase::isScalable(family) ? 4 : 1);
    }
}

LRESULT CMainFrame::OnToolBarNotify(WPARAM wParam, LPARAM lParam)
{
    auto* pBox = dynamic_cast<CComboBox*>(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam)));
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    switch (id)
    {
    case ID_ZOOM_COMBO:
        m_pZoomBox = pBox;
        if (code == FOP_TOOLBAR_COMBO_CREATED && pBox)
        {
            pBox->ResetContent();
            for (const wchar_t* text : kZoomTexts)
                pBox->AddString(text);
            pBox->SelectString(-1, L"100");
        }
        break;
    case ID_FONT_NAME_COMBO:
        m_pFontNameBox = pBox;
        if (code == FOP_TOOLBAR_COMBO_CREATED && pBox)
        {
            FillFontNameBox(pBox);
            pBox->SetCurSel(std::max(0, FindInterfaceFont(pBox)));
        }
        break;
    case ID_FONT_SIZE_COMBO:
        m_pFontSizeBox = pBox;
        if (code == FOP_TOOLBAR_COMBO_CREATED && pBox)
        {
            FillFontSizeBox(pBox);
            pBox->SetCurSel(0);
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CMainFrame::SendToFormatButtons(UINT nButtonId, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CFOPDropWell* well = m_wndFontBar.GetWell(nButtonId);
    return well && well->GetSafeHwnd() ? well->SendMessage(nMessage, wParam, lParam) : 0;
}

BOOL CMainFrame::GetPropertyEditorEnable()
{
    IEditorApp* app = GetEditorApp();
    return app ? app->GetPropertyEditorEnable() : FALSE;
}

void CMainFrame::RefreshShapeList(CWnd* pChildFrame)
{
    if (auto* owner = dynamic_cast<IShapeListOwner*>(pChildFrame))
        owner->RefreshShapeList();
}

void CMainFrame::RefreshProjectTree()
{
    m_wndTableBar.RefreshProjectTree();
}

// --- Bars on and off, look, full screen, links -------------------------------------------------------

void CMainFrame::OnViewDrawBar()
{
    ShowControlBar(&m_wndDrawBar, !m_wndDrawBar.IsWindowVisible(), FALSE);
}

void CMainFrame::OnUpdateViewDrawBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndDrawBar.IsWindowVisible());
}

void CMainFrame::OnViewFormatBar()
{
    ShowControlBar(&m_wndFormatBar, !m_wndFormatBar.IsWindowVisible(), FALSE);
}

void CMainFrame::OnUpdateViewFormatBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndFormatBar.IsWindowVisible());
}

void CMainFrame::OnViewToolBox()
{
    ShowControlBar(&m_wndTableBar, !m_wndTableBar.IsWindowVisible(), FALSE);
}

void CMainFrame::OnUpdateViewToolBox(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndTableBar.IsWindowVisible());
}

void CMainFrame::OnSendEmail()
{
    OpenLinkInBrowser(L"mailto:support@qyrdraw.example?subject=QYRDraw%20support", SW_SHOWNORMAL);
}

void CMainFrame::OnWebSite()
{
    OpenLinkInBrowser(L"https://www.qyrdraw.example/", SW_SHOW);
}

void CMainFrame::OnFullScreen()
{
    ShowFullScreen(TRUE);
}

void CMainFrame::OnUpdateFullScreen(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsFullScreen());
}

void CMainFrame::SetLook(BOOL bXP)
{
    FOEnableXPStyle(bXP);
    for (int i = 0; i < 7; ++i)
        GetToolBar(i)->Invalidate(TRUE);
    m_wndTableBar.Invalidate(TRUE);
    m_wndPanPlace.Invalidate(TRUE);
    if (CWnd* pClient = CWnd::FromHandle(m_hWndMDIClient))
        pClient->Invalidate(TRUE);
}

void CMainFrame::OnStyleClassic()
{
    SetLook(FALSE);
}

void CMainFrame::OnUpdateStyleClassic(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(!gfxData.m_bXPStyle);
}

void CMainFrame::OnStyleXP()
{
    SetLook(TRUE);
}

void CMainFrame::OnUpdateStyleXP(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(gfxData.m_bXPStyle);
}

// --- Project and windows -----------------------------------------------------------------------------

void CMainFrame::OnUpdateProjectOpen(CCmdUI* pCmdUI)
{
    IEditorApp* app = GetEditorApp();
    pCmdUI->Enable(app && app->IsProjectOpen());
}

void CMainFrame::OnAddNewScreen()
{
    m_wndTableBar.AddNewScreen();
}

void CMainFrame::OnAddNewScript()
{
    AfxMessageBox(32864, MB_OK | MB_ICONINFORMATION);
}

void CMainFrame::OnCloseAll()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->SaveAllModified())
        pApp->CloseAllDocuments(FALSE);
}

void CMainFrame::OnCloseWindow()
{
    // As the child's close box: the document asks about unsaved changes first.
    if (CMDIChildWnd* pChild = MDIGetActive())
        pChild->SendMessage(WM_CLOSE, 0, 0);
}

void CMainFrame::OnUpdateCloseWindow(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

void CMainFrame::OnNextWindow()
{
    if (CWnd* pClient = CWnd::FromHandle(m_hWndMDIClient))
        pClient->SendMessage(WM_MDINEXT, 0, 0);
}

void CMainFrame::OnPrevWindow()
{
    if (CWnd* pClient = CWnd::FromHandle(m_hWndMDIClient))
        pClient->SendMessage(WM_MDINEXT, 0, 1);
}

void CMainFrame::OnUpdateNextWindow(CCmdUI* pCmdUI)
{
    std::vector<CWnd*> children;
    if (CWnd* pClient = CWnd::FromHandle(m_hWndMDIClient))
        pClient->GetChildWindows(children);
    pCmdUI->Enable(children.size() >= 2);
}

void CMainFrame::OnWindowList()
{
    m_wndMDIClient.ShowWindowList(this);
}

LRESULT CMainFrame::OnUndoRedoSteps(WPARAM wParam, LPARAM lParam)
{
    CMDIChildWnd* pChild = MDIGetActive();
    CView* pView = pChild ? pChild->GetActiveView() : nullptr;
    if (pView && dynamic_cast<CFODrawView*>(pView))
        pView->PostMessage(WM_UNDO_REDO_STEPS, wParam, lParam);
    return 0;
}

// --- The pan window's notices ------------------------------------------------------------------------

LRESULT CMainFrame::PassToPan(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_wndPanBar.GetSafeHwnd())
        m_wndPanBar.HandleCanvasNotice(nMessage, wParam, lParam, &result);
    return result;
}

LRESULT CMainFrame::OnViewValid(WPARAM wParam, LPARAM lParam)
{
    return PassToPan(g_nViewValid, wParam, lParam);
}

LRESULT CMainFrame::OnViewInvalid(WPARAM wParam, LPARAM lParam)
{
    return PassToPan(g_nViewInvalid, wParam, lParam);
}

LRESULT CMainFrame::OnShapeChanged(WPARAM wParam, LPARAM lParam)
{
    return PassToPan(g_nShapeChanged, wParam, lParam);
}

LRESULT CMainFrame::OnViewUpdate(WPARAM wParam, LPARAM lParam)
{
    return PassToPan(g_nViewUpdate, wParam, lParam);
}

// --- The toolbox's commands ---------------------------------------------------------------------------

void CMainFrame::OnToolBoxNewPage()
{
    GetToolBox().OnNewPage();
}

void CMainFrame::OnToolBoxSavePage()
{
    GetToolBox().OnSavePage();
}

void CMainFrame::OnToolBoxRemovePage()
{
    GetToolBox().OnClosePage();
}

void CMainFrame::OnToolBoxOpenPage()
{
    GetToolBox().OnOpenPage();
}

namespace
{
int ViewStyleOf(UINT nID)
{
    switch (nID)
    {
    case ID_TOOLBOX_STYLE_ICONS_DETAILS:
        return FO_TOOLBOX_ICONS_DETAILS;
    case ID_TOOLBOX_STYLE_NAMES:
        return FO_TOOLBOX_NAMES;
    default:
        return FO_TOOLBOX_ICONS_NAMES;
    }
}
} // namespace

void CMainFrame::OnToolBoxViewStyle(UINT nID)
{
    GetToolBox().SetViewStyle(ViewStyleOf(nID));
}

void CMainFrame::OnUpdateToolBoxViewStyle(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(GetToolBox().GetViewStyle() == ViewStyleOf(pCmdUI->m_nID));
}

// --- Recent projects, dropped files, closing ----------------------------------------------------------

void CMainFrame::OnUpdateRecentProject(CCmdUI* pCmdUI)
{
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (!pMenu || pMenu->GetMenuItemID(int(pCmdUI->m_nIndex)) != ID_RECENT_PROJECT_FIRST)
        return;
    const UINT at = pCmdUI->m_nIndex;
    UINT removed = 0;
    for (int i = int(pMenu->GetMenuItemCount()) - 1; i >= int(at); --i)
    {
        const UINT id = pMenu->GetMenuItemID(i);
        if (id >= ID_RECENT_PROJECT_FIRST && id <= ID_RECENT_PROJECT_LAST)
        {
            pMenu->DeleteMenu(UINT(i), MF_BYPOSITION);
            ++removed;
        }
    }
    IEditorApp* app = GetEditorApp();
    CStringArray* recent = app ? app->GetRecentProjects() : nullptr;
    UINT inserted = 0;
    if (!recent || recent->GetSize() == 0)
    {
        pMenu->InsertMenu(at, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_RECENT_PROJECT_FIRST, L"none");
        inserted = 1;
    }
    else
    {
        for (INT_PTR i = 0; i < recent->GetSize() && i < 4; ++i)
        {
            CString text;
            text.Format(L"&%d, %s", int(i + 1), recent->GetAt(i).GetString());
            pMenu->InsertMenu(at + UINT(i), MF_BYPOSITION | MF_STRING, ID_RECENT_PROJECT_FIRST + UINT(i),
                              text);
            ++inserted;
        }
    }
    // The update loop goes on after the items just made.
    pCmdUI->m_nIndexMax = pCmdUI->m_nIndexMax - removed + inserted;
    pCmdUI->m_nIndex = at + inserted - 1;
    pCmdUI->m_bEnableChanged = TRUE;
}

void CMainFrame::OnRecentProject(UINT nID)
{
    IEditorApp* app = GetEditorApp();
    CStringArray* recent = app ? app->GetRecentProjects() : nullptr;
    const INT_PTR n = INT_PTR(nID - ID_RECENT_PROJECT_FIRST);
    if (!recent || n >= recent->GetSize())
        return;
    const CString path = recent->GetAt(n);
    if (Tail4(path) == L".dcp" && app->IsOtherProject(path) && app->OpenProject(path, TRUE))
    {
        app->WriteMainDat();
        RefreshProjectTree();
    }
}

void CMainFrame::OpenDroppedFiles(const std::vector<CString>& files)
{
    IEditorApp* app = GetEditorApp();
    for (const CString& file : files)
    {
        const CString tail = Tail4(file);
        CString lower = file;
        lower.MakeLower();
        if (tail == L".xdg")
        {
            if (CDocTemplate* t = app ? app->GetScreenTemplate() : nullptr)
                t->OpenDocumentFile(file, TRUE);
        }
        else if (lower.Right(5) == L".uscp")
        {
            if (CDocTemplate* t = app ? app->GetScriptTemplate() : nullptr)
                t->OpenDocumentFile(file, TRUE);
        }
        else if (tail == L".dcp" && app && app->IsOtherProject(file))
        {
            if (app->OpenProject(file, TRUE))
                RefreshProjectTree();
        }
    }
}

size_t CMainFrame::OwnClipboardSize()
{
    CWnd* pMain = AfxGetMainWnd();
    const HWND owner = ::GetClipboardOwner();
    if (!pMain || !owner || !::OpenClipboard(pMain->m_hWnd))
        return 0;
    size_t size = 0;
    if (HANDLE h = ::GetClipboardData(CF_TEXT))
        size += GlobalSize(h);
    for (UINT format : {8u /* device-independent bitmap */, 14u /* enhanced metafile */})
        if (::IsClipboardFormatAvailable(format))
            if (HANDLE h = ::GetClipboardData(format))
                size += GlobalSize(h);
    ::CloseClipboard();
    return size;
}

void CMainFrame::OnClose()
{
    IEditorApp* app = GetEditorApp();
    // A document that could not be saved keeps the editor open.
    if (app && !app->SaveModifiedDocuments())
        return;
    CWorkSpaceObj* workspace = app ? app->GetWorkSpace() : nullptr;
    if (workspace && workspace->IsModified() && app->IsProjectOpen())
    {
        CString question;
        question.LoadString(30060);
        const int answer = AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONINFORMATION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES)
        {
            const CString path = app->GetProjectFolder() + app->GetProjectFileName();
            if (!workspace->SaveDocument(path))
            {
                // A project that could not be saved keeps the editor open.
                AfxMessageBox(CString(L"The project could not be saved to ") + path + L".",
                              MB_OK | MB_ICONSTOP);
                return;
            }
            if (CStringArray* recent = app->GetRecentProjects())
            {
                CString key = path;
                key.Trim();
                key.MakeLower();
                for (INT_PTR i = recent->GetSize() - 1; i >= 0; --i)
                    if (recent->GetAt(i) == key)
                        recent->RemoveAt(i);
                recent->InsertAt(0, key);
            }
        }
    }
    if (::GetClipboardOwner() && OwnClipboardSize() > kLargeClipboard)
    {
        CString question;
        question.LoadString(30061);
        const int answer = AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDNO && ::OpenClipboard(m_hWnd))
        {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
    }
    CXVKMDIFrameWnd::OnClose();
}

// --- The editor application's services the frame and its bars use ------------------------------------

IEditorApp* GetEditorApp()
{
    return dynamic_cast<IEditorApp*>(AfxGetApp());
}

CString GetEditorScreenFolder()
{
    IEditorApp* app = GetEditorApp();
    if (!app || !app->IsProjectOpen())
        return CString();
    return app->GetProjectFolder() + L"XdgFiles/";
}
