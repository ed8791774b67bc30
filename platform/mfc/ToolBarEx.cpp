#include "mfc/ToolBarEx.h"

#include "mfc/CmdUI.h"
#include "mfc/CommandIcons.h"
#include "mfc/CommandActions.h"
#include "mfc/ControlsPrivate.h"
#include "mfc/FrameWnd.h"
#include "mfc/Gdi.h"
#include "mfc/Menu.h"
#include "mfc/ResourceModule.h"
#include "mfc/WndPrivate.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QToolBar>

#include <algorithm>

IMPLEMENT_DYNCREATE(CMFCToolBar, CControlBar)
IMPLEMENT_DYNCREATE(CMFCMenuBar, CControlBar)
IMPLEMENT_DYNCREATE(CMFCStatusBar, CStatusBar)
IMPLEMENT_DYNCREATE(CMFCToolTipCtrl, CWnd)

namespace
{
std::vector<CMFCToolBar*>& LiveToolbars()
{
    static std::vector<CMFCToolBar*> bars;
    return bars;
}

// Cuts a strip into square-ish images of cx pixels; the magenta of old bitmaps is see-through.
std::vector<QPixmap> CutStrip(const QImage& strip, int cx, int cy)
{
    std::vector<QPixmap> images;
    if (strip.isNull() || cx <= 0)
        return images;
    QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                line[x] = 0;
    }
    const int height = cy > 0 ? std::min(cy, argb.height()) : argb.height();
    for (int x = 0; x + cx <= argb.width(); x += cx)
        images.push_back(QPixmap::fromImage(argb.copy(x, 0, cx, height)));
    return images;
}

// The update of one toolbar button.
class CToolCmdUI : public CCmdUI
{
public:
    QAction* m_pAction = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        m_pAction->setEnabled(bOn != FALSE);
    }
    void SetCheck(int nCheck) override
    {
        m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn); }
    void SetText(LPCWSTR) override {}
};
} // namespace

// --- CMFCToolBarImages ----------------------------------------------------------------------------

CMFCToolBarImages::CMFCToolBarImages() = default;
CMFCToolBarImages::~CMFCToolBarImages() = default;

BOOL CMFCToolBarImages::Load(LPCWSTR lpszBmpFileName, DWORD nMaxFileSize)
{
    m_images.clear();
    if (!lpszBmpFileName || !*lpszBmpFileName)
        return FALSE;
    CString path(lpszBmpFileName);
    path.Replace(L'\\', L'/');
    const QFileInfo info(ControlPriv::ToQt(path));
    if (!info.isFile() || (nMaxFileSize && info.size() > qint64(nMaxFileSize)))
        return FALSE;
    QImage strip;
    if (!strip.load(info.filePath()))
        return FALSE;
    m_images = CutStrip(strip, m_sizeImage.cx, m_sizeImage.cy);
    m_strFileName = path;
    return !m_images.empty();
}

const QPixmap* CMFCToolBarImages::GetImage(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? &m_images[size_t(nIndex)] : nullptr;
}

// --- CMFCToolBar ----------------------------------------------------------------------------------

CMFCToolBar::CMFCToolBar()
{
    LiveToolbars().push_back(this);
}

CMFCToolBar::~CMFCToolBar()
{
    auto& bars = LiveToolbars();
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
}

const std::vector<CMFCToolBar*>& CMFCToolBar::GetAllToolbars()
{
    return LiveToolbars();
}

BOOL CMFCToolBar::IsBasicCommand(UINT nID)
{
    return std::find(m_basicCommands.begin(), m_basicCommands.end(), nID) != m_basicCommands.end();
}

QWidget* CMFCToolBar::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    auto* main = pParent ? qobject_cast<QMainWindow*>(pParent->GetWidget()) : nullptr;
    auto* bar = new CWndHost<QToolBar>(main ? static_cast<QWidget*>(main) : pParentWidget);
    bar->setObjectName(QStringLiteral("QyrToolBar%1").arg(quintptr(cs.hMenu)));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (main)
        main->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QToolBar* CMFCToolBar::Bar() const
{
    return qobject_cast<QToolBar*>(GetWidget());
}

BOOL CMFCToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(1, 1, 1, 1), nID);
}

BOOL CMFCToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwPaneStyle = dwStyle & ~DWORD(WS_CHILD | WS_VISIBLE);
    if (!CWnd::CreateEx(0, L"QyrToolBar", nullptr, (dwStyle | WS_CHILD) & ~WS_VISIBLE, 0, 0, 100, 24,
                        pParentWnd->m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(nID))))
        return FALSE;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CMFCToolBar::LoadImages(UINT uiResID)
{
    CBitmap bitmap;
    m_images.clear();
    if (uiResID && bitmap.LoadBitmap(uiResID))
        if (QImage* image = bitmap.GetImage())
            m_images = CutStrip(*image, m_sizeImage.cx, m_sizeImage.cy);
    RebuildButtons();
}

BOOL CMFCToolBar::LoadToolBar(UINT uiResID, UINT, UINT, BOOL bLocked, UINT, UINT, UINT)
{
    const AFX_TOOLBAR_TEMPLATE* t = AfxFindToolBarTemplate(uiResID);
    if (!t)
        return FALSE;
    m_bLocked = bLocked;
    m_sizeImage = CSize(t->cx, t->cy);
    SetButtons(t->items.data(), int(t->items.size()));
    LoadImages(uiResID);
    return TRUE;
}

BOOL CMFCToolBar::AddToolBarForImageCollection(UINT uiResID, UINT uiBmpResID)
{
    const AFX_TOOLBAR_TEMPLATE* t = AfxFindToolBarTemplate(uiResID);
    if (!t)
        return FALSE;
    CBitmap bitmap;
    std::vector<QPixmap> images;
    if (bitmap.LoadBitmap(uiBmpResID ? uiBmpResID : uiResID))
        if (QImage* image = bitmap.GetImage())
            images = CutStrip(*image, t->cx, t->cy);
    size_t next = 0;
    for (UINT id : t->items)
    {
        if (id == 0)
            continue;
        if (next < images.size())
            m_commandImages[id] = images[next];
        ++next;
    }
    return TRUE;
}

const QPixmap* CMFCToolBar::GetCommandImage(UINT nID)
{
    auto it = m_commandImages.find(nID);
    return it == m_commandImages.end() ? nullptr : &it->second;
}

BOOL CMFCToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    m_buttons.clear();
    for (int i = 0; lpIDArray && i < nIDCount; ++i)
        m_buttons.push_back({lpIDArray[i], nullptr});
    RebuildButtons();
    return TRUE;
}

void CMFCToolBar::RemoveAllButtons()
{
    m_buttons.clear();
    RebuildButtons();
}

HWND CMFCToolBar::CommandWindow() const
{
    if (m_hWndOwner)
        return m_hWndOwner;
    return ::GetParent(m_hWnd);
}

void CMFCToolBar::RebuildButtons()
{
    QToolBar* bar = Bar();
    if (!bar)
        return;
    bar->clear();
    m_pCustomizeAction = nullptr;
    int image = 0;
    for (CButton& button : m_buttons)
    {
        if (button.nID == 0)
        {
            button.pAction = nullptr;
            bar->addSeparator();
            continue;
        }
        CString text;
        text.LoadString(button.nID);
        // A command's string is "prompt\ntip": the tip names the button.
        const int nl = text.Find(L'\n');
        const QString tip = ControlPriv::ToQt(nl >= 0 ? text.Mid(nl + 1) : text);
        const UINT nID = button.nID;
        if (m_hWndOwner && !m_bRouteViaFrame)
        {
            // A pane's own bar: its commands go to the pane alone.
            button.pAction = new QAction(tip, bar);
            QObject::connect(button.pAction, &QAction::triggered, bar,
                             [this, nID]
                             {
                                 AfxQtEntry entry;
                                 ::PostMessageW(m_hWndOwner, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
                             });
        }
        else if (!(button.pAction = AfxEnsureCommandAction(::GetParent(m_hWnd), nID)))
            continue;
        if (!tip.isEmpty())
            button.pAction->setToolTip(tip);
        const QIcon icon =
            AfxCommandIcon(nID, image < int(m_images.size()) ? m_images[size_t(image)] : QPixmap());
        if (!icon.isNull())
            button.pAction->setIcon(icon);
        ++image;
        bar->addAction(button.pAction);
    }
    if (m_nCustomizeCmd)
    {
        bar->addSeparator();
        m_pCustomizeAction = bar->addAction(ControlPriv::ToQt(m_strCustomizeText));
        m_pCustomizeAction->setObjectName(QStringLiteral("customize"));
        QObject::connect(m_pCustomizeAction, &QAction::triggered, bar,
                         [this]
                         {
                             AfxQtEntry entry;
                             ::PostMessageW(CommandWindow(), WM_COMMAND, MAKEWPARAM(m_nCustomizeCmd, 0), 0);
                         });
    }
}

UINT CMFCToolBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].nID : 0;
}

int CMFCToolBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_buttons[size_t(i)].nID == nIDFind)
            return i;
    return -1;
}

BOOL CMFCToolBar::IsButtonEnabled(int nIndex) const
{
    const QAction* action = nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].pAction : nullptr;
    return action && action->isEnabled();
}

BOOL CMFCToolBar::IsButtonChecked(int nIndex) const
{
    const QAction* action = nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].pAction : nullptr;
    return action && action->isChecked();
}

BOOL CMFCToolBar::ClickButton(int nIndex)
{
    QAction* action = nIndex >= 0 && nIndex < GetCount() ? m_buttons[size_t(nIndex)].pAction : nullptr;
    if (!action || !action->isEnabled())
        return FALSE;
    action->trigger();
    return TRUE;
}

void CMFCToolBar::EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, const CString& strCustomizeText,
                                        BOOL)
{
    m_nCustomizeCmd = bEnable && iCustomizeCmd > 0 ? UINT(iCustomizeCmd) : 0;
    m_strCustomizeText = bEnable ? strCustomizeText : CString();
    RebuildButtons();
}

void CMFCToolBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    if (QToolBar* bar = Bar())
        bar->setContentsMargins(cxLeft, cyTop, cxRight, cyBottom);
}

void CMFCToolBar::SetOwner(CWnd* pOwnerWnd)
{
    m_hWndOwner = pOwnerWnd ? pOwnerWnd->GetSafeHwnd() : nullptr;
}

void CMFCToolBar::DockToFrameTop()
{
    QToolBar* bar = Bar();
    auto* main = bar ? qobject_cast<QMainWindow*>(bar->parentWidget()) : nullptr;
    if (main && main->toolBarArea(bar) == Qt::NoToolBarArea)
        main->addToolBar(Qt::TopToolBarArea, bar);
}

void CMFCToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_buttons.size());
    // A bar of a pane answers to its owner, the others to the frame.
    CCmdTarget* target = m_hWndOwner && !m_bRouteViaFrame ? CWnd::FromHandle(m_hWndOwner) : pTarget;
    for (size_t i = 0; i < m_buttons.size() && target; ++i)
    {
        if (!m_buttons[i].pAction)
            continue;
        state.m_nIndex = UINT(i);
        state.m_nID = m_buttons[i].nID;
        state.m_pAction = m_buttons[i].pAction;
        state.DoUpdate(target, bDisableIfNoHndler);
    }
}

// --- CMFCMenuBar ----------------------------------------------------------------------------------

QWidget* CMFCMenuBar::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* w = new CWndHost<QWidget>(pParentWidget);
    w->setFixedSize(0, 0);
    return w;
}

BOOL CMFCMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwPaneStyle = dwStyle & ~DWORD(WS_CHILD | WS_VISIBLE);
    return CWnd::CreateEx(0, L"QyrMenuBar", nullptr, WS_CHILD, 0, 0, 0, 0, pParentWnd->m_hWnd,
                          reinterpret_cast<HMENU>(UINT_PTR(nID)));
}
