#include "figkit/FOPToolBar.h"

#include "figkit/FODrawView.h"

#include "mfc/CommandActions.h"
#include "mfc/CommandIcons.h"
#include "mfc/ControlsPrivate.h"
#include "mfc/Dc.h"
#include "mfc/FrameWnd.h"
#include "mfc/Menu.h"
#include "mfc/ResourceModule.h"
#include "mfc/WndPrivate.h"

#include <QAction>
#include <QGridLayout>
#include <QIcon>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

using ControlPriv::ToQt;

namespace
{
QColor ToColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The tool tip of a command: the second line of its string ("prompt\ntip"), else the first.
QString TipOf(UINT nID)
{
    CString text;
    if (!text.LoadString(nID))
        return QString();
    const int nl = text.Find(L'\n');
    return ToQt(nl >= 0 ? CString(text.Mid(nl + 1)) : text);
}

Qt::ToolBarAreas AreasOf(DWORD dwDockStyle)
{
    Qt::ToolBarAreas areas;
    if (dwDockStyle & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    return areas;
}

void PaintLines(QPainter& p, const QRect& r, int align)
{
    // Text lines set left, centred or right.
    for (int i = 0; i < 4; ++i)
    {
        const int w = (i % 2) ? r.width() * 2 / 3 : r.width() - 2;
        const int x = align == 0 ? r.left() + 1 : align == 1 ? r.center().x() - w / 2 : r.right() - 1 - w;
        p.drawLine(x, r.top() + 3 + i * 3, x + w, r.top() + 3 + i * 3);
    }
}
} // namespace

UINT FOPGetToolBarNotifyMessage()
{
    static const UINT nMsg = ::RegisterWindowMessageW(L"WM_CFOPTOOLBARWNDNOTIFY");
    return nMsg;
}

// --- Drawn command images ---------------------------------------------------------------------------

QImage CFOPToolBar::DrawCommandImage(UINT nID, int cx, int cy)
{
    QImage image(cx, cy, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect r(1, 1, cx - 3, cy - 3);
    const QPen ink(QColor(40, 40, 40), 1.2);
    p.setPen(ink);
    switch (nID)
    {
    case 57600: // new
    {
        QPainterPath page;
        page.moveTo(r.left() + 2, r.top());
        page.lineTo(r.right() - 4, r.top());
        page.lineTo(r.right() - 1, r.top() + 3);
        page.lineTo(r.right() - 1, r.bottom());
        page.lineTo(r.left() + 2, r.bottom());
        page.closeSubpath();
        p.fillPath(page, Qt::white);
        p.drawPath(page);
        break;
    }
    case 57601: // open
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRect(r.left(), r.top() + 3, r.width() - 1, r.height() - 4));
        p.drawLine(r.left() + 1, r.top() + 3, r.left() + 4, r.top() + 1);
        break;
    case 57603: // save
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(r.adjusted(0, 0, -1, 0));
        p.setBrush(Qt::white);
        p.drawRect(QRect(r.left() + 3, r.top(), r.width() - 7, r.height() / 2 - 1));
        break;
    case 57635: // cut
        p.drawEllipse(QPoint(r.left() + 3, r.bottom() - 2), 2, 2);
        p.drawEllipse(QPoint(r.right() - 3, r.bottom() - 2), 2, 2);
        p.drawLine(r.left() + 4, r.bottom() - 4, r.right() - 3, r.top());
        p.drawLine(r.right() - 4, r.bottom() - 4, r.left() + 3, r.top());
        break;
    case 57634: // copy
        p.setBrush(Qt::white);
        p.drawRect(QRect(r.left(), r.top(), r.width() * 2 / 3, r.height() * 2 / 3));
        p.drawRect(QRect(r.left() + r.width() / 3, r.top() + r.height() / 3, r.width() * 2 / 3 - 1,
                         r.height() * 2 / 3 - 1));
        break;
    case 57637: // paste
        p.setBrush(QColor(200, 160, 90));
        p.drawRect(QRect(r.left(), r.top() + 1, r.width() - 4, r.height() - 1));
        p.setBrush(Qt::white);
        p.drawRect(
            QRect(r.left() + r.width() / 2 - 1, r.top() + r.height() / 3, r.width() / 2, r.height() * 2 / 3));
        break;
    case 57643: // undo
    case 57644: // redo
    {
        const bool undo = nID == 57643;
        QPainterPath arc;
        const QRectF box(r.left() + 2, r.top() + 3, r.width() - 4, r.height() - 3);
        arc.arcMoveTo(box, undo ? 150 : 30);
        arc.arcTo(box, undo ? 150 : 30, undo ? -150 : 150);
        p.setPen(QPen(QColor(30, 80, 160), 1.6));
        p.drawPath(arc);
        const QPointF tip = arc.pointAtPercent(0);
        p.drawLine(tip, tip + QPointF(undo ? 0 : 0, 4));
        p.drawLine(tip, tip + QPointF(undo ? 4 : -4, 0));
        break;
    }
    case 57607: // print
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRect(r.left(), r.top() + r.height() / 3, r.width() - 1, r.height() / 2));
        p.setBrush(Qt::white);
        p.drawRect(QRect(r.left() + 3, r.top(), r.width() - 7, r.height() / 3));
        break;
    case 32823: // rectangle
        p.setBrush(QColor(120, 170, 230));
        p.drawRect(r.adjusted(1, 3, -1, -2));
        break;
    case 32824: // ellipse
        p.setBrush(QColor(120, 200, 140));
        p.drawEllipse(r.adjusted(0, 2, -1, -1));
        break;
    case 32825: // polygon
    {
        p.setBrush(QColor(230, 170, 110));
        const QPointF pts[] = {{double(r.left()), double(r.bottom())},
                               {double(r.left() + 3), double(r.top() + 2)},
                               {double(r.right() - 2), double(r.top())},
                               {double(r.right()), double(r.bottom() - 3)}};
        p.drawPolygon(pts, 4);
        break;
    }
    case 32782:
    case 32783:
    case 32784:
        PaintLines(p, r, int(nID - 32782));
        break;
    case 35330: // align left, centre, right
    case 35331:
    case 35332:
    case 35333: // align top, middle, bottom
    case 35334:
    case 35335:
    {
        // Two boxes of different size against a guide line.
        const int kind = int(nID - 35330);
        const bool across = kind >= 3;
        const int at = kind % 3;
        p.setBrush(QColor(120, 170, 230));
        QRect big, small;
        if (!across)
        {
            const int x = at == 0 ? r.left() + 1 : at == 1 ? r.center().x() : r.right() - 1;
            big = QRect(0, r.top() + 2, r.width() - 4, 4);
            small = QRect(0, r.top() + 8, r.width() / 2, 4);
            for (QRect* b : {&big, &small})
                b->moveLeft(at == 0 ? x + 1 : at == 1 ? x - b->width() / 2 : x - b->width());
            p.drawRect(big);
            p.drawRect(small);
            p.drawLine(x, r.top(), x, r.bottom());
        }
        else
        {
            const int y = at == 0 ? r.top() + 1 : at == 1 ? r.center().y() : r.bottom() - 1;
            big = QRect(r.left() + 2, 0, 4, r.height() - 4);
            small = QRect(r.left() + 8, 0, 4, r.height() / 2);
            for (QRect* b : {&big, &small})
                b->moveTop(at == 0 ? y + 1 : at == 1 ? y - b->height() / 2 : y - b->height());
            p.drawRect(big);
            p.drawRect(small);
            p.drawLine(r.left(), y, r.right(), y);
        }
        break;
    }
    case 35345: // zoom in, out, 100%
    case 35346:
    case 35347:
    {
        const QRectF lens(r.left(), r.top(), r.width() * 0.65, r.height() * 0.65);
        p.setBrush(QColor(235, 245, 255));
        p.drawEllipse(lens);
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawLine(lens.bottomRight() - QPointF(1, 1), QPointF(r.right(), r.bottom()));
        p.setPen(ink);
        const QPointF c = lens.center();
        if (nID != 35347)
            p.drawLine(c - QPointF(2.5, 0), c + QPointF(2.5, 0));
        if (nID == 35345)
            p.drawLine(c - QPointF(0, 2.5), c + QPointF(0, 2.5));
        if (nID == 35347)
            p.drawPoint(c);
        break;
    }
    case 32804:
    case 32805:
    case 32781:
    {
        QFont f = p.font();
        f.setPixelSize(cy - 3);
        f.setBold(nID == 32804);
        f.setItalic(nID == 32805);
        f.setUnderline(nID == 32781);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter,
                   nID == 32804   ? QStringLiteral("B")
                   : nID == 32805 ? QStringLiteral("I")
                                  : QStringLiteral("U"));
        break;
    }
    default:
    {
        // A tile in a colour of its own with the first letter of the command's tip.
        const int hue = int((nID * 47u) % 360u);
        p.setBrush(QColor::fromHsv(hue, 90, 235));
        p.setPen(QColor::fromHsv(hue, 160, 140));
        p.drawRoundedRect(QRectF(r), 3, 3);
        QString tip = TipOf(nID).trimmed();
        QString letter = tip.isEmpty() ? QString::number(nID % 100) : tip.left(1).toUpper();
        QFont f = p.font();
        f.setPixelSize(std::max(6, cy - 6));
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(30, 30, 30));
        p.drawText(r, Qt::AlignCenter, letter);
        break;
    }
    }
    return image;
}

QIcon CFOPToolBar::CommandIcon(UINT nID, const QImage& drawn)
{
    // The canvas's commands with a standard icon name; named once, before the first lookup.
    static const bool named = []
    {
        const std::pair<UINT, LPCWSTR> names[] = {
            {ID_FOP_ALIGN_LEFT, L"align-horizontal-left"},
            {ID_FOP_ALIGN_CENTER, L"align-horizontal-center"},
            {ID_FOP_ALIGN_RIGHT, L"align-horizontal-right"},
            {ID_FOP_ALIGN_TOP, L"align-vertical-top"},
            {ID_FOP_ALIGN_MIDDLE, L"align-vertical-center"},
            {ID_FOP_ALIGN_BOTTOM, L"align-vertical-bottom"},
            {ID_FOP_ZOOM_IN, L"zoom-in"},
            {ID_FOP_ZOOM_OUT, L"zoom-out"},
            {ID_FOP_ZOOM_100, L"zoom-original"},
            {ID_FOP_ROTATE_LEFT, L"object-rotate-left"},
            {ID_FOP_ROTATE_RIGHT, L"object-rotate-right"},
        };
        for (const auto& [id, name] : names)
            if (AfxGetCommandIconNames(id).IsEmpty())
                AfxSetCommandIconNames(id, name);
        return true;
    }();
    (void)named;
    return AfxCommandIcon(nID, QPixmap::fromImage(drawn));
}

std::vector<std::pair<UINT, QImage>> CFOPToolBar::LoadButtonImages(UINT nIDResource)
{
    std::vector<std::pair<UINT, QImage>> images;
    const AFX_TOOLBAR_TEMPLATE* t = AfxFindToolBarTemplate(nIDResource);
    if (!t)
        return images;
    QImage strip;
    if (const AFX_RESOURCE_DATA* data = AfxFindBitmapData(nIDResource))
        strip.loadFromData(data->pData, int(data->nSize));
    int index = 0;
    for (UINT id : t->items)
    {
        if (id == 0)
            continue;
        QImage image;
        if (!strip.isNull() && (index + 1) * t->cx <= strip.width())
            image = strip.copy(index * t->cx, 0, t->cx, std::min(t->cy, strip.height()));
        if (image.isNull())
            image = DrawCommandImage(id, t->cx, t->cy);
        images.emplace_back(id, image);
        ++index;
    }
    return images;
}

// --- CFOPToolBar -----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFOPToolBar, CControlBar)

CFOPToolBar::CFOPToolBar() = default;

CFOPToolBar::~CFOPToolBar()
{
    // The combos and wells are windows inside the bar's widget: they go first.
    m_wells.clear();
    m_combos.clear();
}

QWidget* CFOPToolBar::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    auto* main = pParent ? qobject_cast<QMainWindow*>(pParent->GetWidget()) : nullptr;
    auto* bar = new CWndHost<QToolBar>(main ? static_cast<QWidget*>(main) : pParentWidget);
    bar->setObjectName(QStringLiteral("QyrToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (main)
        main->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

BOOL CFOPToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID, UINT)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || m_hWnd)
        return FALSE;
    m_dwCtrlStyle = dwCtrlStyle;
    const DWORD windowStyle = (dwStyle & 0xFFFF0000u) | WS_CHILD;
    if (!CWnd::CreateEx(0, L"QyrToolBar", nullptr, windowStyle & ~WS_VISIBLE, 0, 0, 0, 0, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(UINT_PTR(nID))))
        return FALSE;
    if (auto* bar = qobject_cast<QToolBar*>(GetWidget()))
        bar->setAllowedAreas(Qt::NoToolBarArea);
    ShowWindow((dwStyle & WS_VISIBLE) ? SW_SHOW : SW_HIDE);
    return TRUE;
}

HWND CFOPToolBar::FrameHandle() const
{
    CWnd* pParent = GetParent();
    return pParent ? pParent->m_hWnd : nullptr;
}

BOOL CFOPToolBar::LoadToolBar(UINT nIDResource)
{
    auto* bar = qobject_cast<QToolBar*>(GetWidget());
    const AFX_TOOLBAR_TEMPLATE* t = AfxFindToolBarTemplate(nIDResource);
    if (!bar || !t)
        return FALSE;
    const HWND hFrame = FrameHandle();
    bar->clear();
    m_items.clear();
    m_sizeButton = CSize(t->cx, t->cy);
    bar->setIconSize(QSize(t->cx, t->cy));
    const auto images = LoadButtonImages(nIDResource);
    size_t image = 0;
    for (UINT id : t->items)
    {
        if (id == 0)
        {
            bar->addSeparator();
            m_items.push_back({0, nullptr});
            continue;
        }
        QAction* action = AfxEnsureCommandAction(hFrame, id);
        if (!action)
            return FALSE;
        if (image < images.size())
            action->setIcon(CFOPToolBar::CommandIcon(id, images[image++].second));
        const QString tip = TipOf(id);
        if (!tip.isEmpty())
            action->setToolTip(tip);
        bar->addAction(action);
        m_items.push_back({id, action});
    }
    return TRUE;
}

void CFOPToolBar::SetWindowText(LPCWSTR lpszString)
{
    CWnd::SetWindowText(lpszString);
    if (QWidget* w = GetWidget())
        w->setWindowTitle(ToQt(lpszString ? lpszString : L""));
}

void CFOPToolBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (auto* bar = qobject_cast<QToolBar*>(GetWidget()))
        bar->setAllowedAreas(AreasOf(m_dwDockStyle));
}

UINT CFOPToolBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < int(m_items.size()) ? m_items[size_t(nIndex)].nID : 0;
}

int CFOPToolBar::CommandToIndex(UINT nID) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].nID == nID && nID != 0)
            return int(i);
    return -1;
}

QAction* CFOPToolBar::ButtonAt(UINT nID) const
{
    const int i = CommandToIndex(nID);
    return i < 0 ? nullptr : m_items[size_t(i)].pAction;
}

QAction* CFOPToolBar::GetButtonAction(UINT nID) const
{
    return ButtonAt(nID);
}

QToolButton* CFOPToolBar::ButtonWidget(UINT nID) const
{
    auto* bar = qobject_cast<QToolBar*>(GetWidget());
    QAction* action = ButtonAt(nID);
    return bar && action ? qobject_cast<QToolButton*>(bar->widgetForAction(action)) : nullptr;
}

BOOL CFOPToolBar::SetDropHistory(UINT nID, UINT nArrowID, CStringArray* pList, BOOL bUndo, int nMaxShown)
{
    QToolButton* button = ButtonWidget(nID);
    if (!button || !pList)
        return FALSE;
    auto* menu = new QMenu(button);
    auto* holder = new QWidgetAction(menu);
    auto* list = new QListWidget(menu);
    list->setObjectName(QStringLiteral("history"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    holder->setDefaultWidget(list);
    menu->addAction(holder);
    const HWND hFrame = FrameHandle();
    const int shown = std::max(1, nMaxShown);
    QObject::connect(menu, &QMenu::aboutToShow, list,
                     [list, pList, hFrame, nArrowID, shown]
                     {
                         AfxQtEntry entry;
                         if (nArrowID)
                             ::SendMessageW(hFrame, WM_COMMAND, MAKEWPARAM(nArrowID, 0), 0);
                         list->clear();
                         for (INT_PTR i = 0; i < pList->GetSize() && i < shown; ++i)
                             list->addItem(ToQt(pList->GetAt(i)));
                         list->setFixedHeight(
                             std::max(1, list->count()) * (list->fontMetrics().height() + 4) + 4);
                     });
    // Choosing an entry takes back (or forward) that many steps at once.
    QObject::connect(list, &QListWidget::itemClicked, menu,
                     [list, menu, hFrame, bUndo](QListWidgetItem* item)
                     {
                         AfxQtEntry entry;
                         const int steps = list->row(item) + 1;
                         menu->close();
                         ::PostMessageW(hFrame, WM_USER + 500, WPARAM(steps), bUndo ? 5000 : 0);
                     });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    return TRUE;
}

BOOL CFOPToolBar::SetDropMenu(UINT nID, UINT nArrowID)
{
    QToolButton* button = ButtonWidget(nID);
    if (!button)
        return FALSE;
    auto* menu = new QMenu(button);
    const HWND hFrame = FrameHandle();
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, hFrame, nID, nArrowID]
                     {
                         AfxQtEntry entry;
                         menu->clear();
                         CMenu resource;
                         if (resource.LoadMenu(nArrowID))
                         {
                             CMenu* popup = resource.GetSubMenu(0);
                             CMenu* items = popup ? popup : &resource;
                             for (int i = 0; i < int(items->GetMenuItemCount()); ++i)
                             {
                                 const UINT id = items->GetMenuItemID(i);
                                 if (id == 0 || id == UINT(-1))
                                     continue;
                                 CString text;
                                 items->GetMenuString(UINT(i), text, MF_BYPOSITION);
                                 QAction* a = menu->addAction(ToQt(text));
                                 QObject::connect(a, &QAction::triggered, a,
                                                  [hFrame, id]
                                                  {
                                                      AfxQtEntry inner;
                                                      ::PostMessageW(hFrame, WM_COMMAND, MAKEWPARAM(id, 0),
                                                                     0);
                                                  });
                             }
                             return;
                         }
                         QAction* own = AfxFindCommandAction(hFrame, nID);
                         if (own)
                             menu->addAction(own);
                     });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    return TRUE;
}

CComboBox* CFOPToolBar::AddComboBox(UINT nButtonID, UINT nCtrlID, DWORD dwStyle, int cx, int cy,
                                    int nListHeight)
{
    auto* bar = qobject_cast<QToolBar*>(GetWidget());
    const int index = CommandToIndex(nButtonID);
    if (!bar || index < 0)
        return nullptr;
    auto combo = std::make_unique<CComboBox>();
    if (!combo->Create((dwStyle & ~WS_VISIBLE) | WS_CHILD, CRect(0, 0, cx, nListHeight), this, nCtrlID))
        return nullptr;
    QWidget* widget = combo->GetWidget();
    widget->setFixedWidth(cx);
    widget->setMinimumHeight(std::min(cy, 24));
    QAction* old = m_items[size_t(index)].pAction;
    QAction* placed = bar->insertWidget(old, widget);
    bar->removeAction(old);
    widget->show();
    m_items[size_t(index)].pAction = placed;
    CComboBox* result = combo.get();
    m_combos[nCtrlID] = std::move(combo);
    if (CWnd* pFrame = CWnd::FromHandlePermanent(FrameHandle()))
        pFrame->SendMessage(FOPGetToolBarNotifyMessage(), MAKEWPARAM(nCtrlID, FOP_TOOLBAR_COMBO_CREATED),
                            reinterpret_cast<LPARAM>(result->m_hWnd));
    return result;
}

CComboBox* CFOPToolBar::GetComboBox(UINT nCtrlID) const
{
    auto it = m_combos.find(nCtrlID);
    return it == m_combos.end() ? nullptr : it->second.get();
}

BOOL CFOPToolBar::AddWell(CFOPDropWell::WellKind kind, UINT nWellID, UINT nChooserID, int nArrowWidth)
{
    auto* bar = qobject_cast<QToolBar*>(GetWidget());
    const int index = CommandToIndex(nWellID);
    if (!bar || index < 0)
        return FALSE;
    auto well = std::make_unique<CFOPDropWell>(kind, nChooserID, nArrowWidth);
    if (!well->CreateEx(0, L"QyrDropWell", nullptr, WS_CHILD, 0, 0, m_sizeButton.cx + nArrowWidth + 8,
                        m_sizeButton.cy + 8, m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(nWellID))))
        return FALSE;
    QAction* old = m_items[size_t(index)].pAction;
    QAction* placed = bar->insertWidget(old, well->GetWidget());
    bar->removeAction(old);
    well->GetWidget()->show();
    m_items[size_t(index)].pAction = placed;
    // The chooser's own button goes: the well's arrow stands for it.
    if (const int chooser = CommandToIndex(nChooserID); chooser >= 0)
    {
        bar->removeAction(m_items[size_t(chooser)].pAction);
        m_items[size_t(chooser)].pAction = nullptr;
    }
    m_wells[nWellID] = std::move(well);
    return TRUE;
}

BOOL CFOPToolBar::SetColorWells(const UINT* pPairs, int nPairs, int nArrowWidth)
{
    BOOL ok = pPairs != nullptr;
    for (int i = 0; ok && i < nPairs; ++i)
        ok = AddWell(CFOPDropWell::Colour, pPairs[2 * i], pPairs[2 * i + 1], nArrowWidth);
    return ok;
}

BOOL CFOPToolBar::SetLineWidthWell(UINT nWellID, UINT nChooserID, int nArrowWidth)
{
    return AddWell(CFOPDropWell::LineWidth, nWellID, nChooserID, nArrowWidth);
}

BOOL CFOPToolBar::SetLineStyleWell(UINT nWellID, UINT nChooserID, int nArrowWidth)
{
    return AddWell(CFOPDropWell::LineStyle, nWellID, nChooserID, nArrowWidth);
}

CFOPDropWell* CFOPToolBar::GetWell(UINT nWellID) const
{
    auto it = m_wells.find(nWellID);
    return it == m_wells.end() ? nullptr : it->second.get();
}

namespace
{
// The update of one toolbar button: its action.
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
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCWSTR) override {}
};
} // namespace

void CFOPToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_items.size());
    for (size_t i = 0; i < m_items.size() && m_hWnd; ++i)
    {
        const CItem& item = m_items[i];
        // Combos and wells are windows of their own; only command buttons are updated.
        if (item.nID == 0 || !item.pAction || m_combos.count(item.nID) || m_wells.count(item.nID) ||
            item.pAction != AfxFindCommandAction(FrameHandle(), item.nID))
            continue;
        state.m_nIndex = UINT(i);
        state.m_nID = item.nID;
        state.m_pAction = item.pAction;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

BOOL CFOPToolBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The notifications of the combos and wells are the frame's (and its active view's).
    if (CWnd* pFrame = CWnd::FromHandlePermanent(FrameHandle()))
    {
        pFrame->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CControlBar::OnCommand(wParam, lParam);
}

// --- CFOPDropWell ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFOPDropWell, CWnd)

CFOPDropWell::CFOPDropWell(WellKind kind, UINT nChooserID, int nArrowWidth)
    : m_kind(kind), m_nChooserID(nChooserID), m_nArrowWidth(nArrowWidth)
{
    m_dwValue = m_dwShown = kind == Colour ? 0 : (kind == LineWidth ? 1 : 0);
}

std::vector<DWORD> CFOPDropWell::ChooserValues(WellKind kind)
{
    switch (kind)
    {
    case Colour:
        return {RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
                RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
                RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
                RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
                RGB(255, 153, 0),   RGB(255, 204, 153), RGB(153, 204, 255), RGB(204, 255, 204)};
    case LineWidth:
        return {1, 2, 3, 4, 5, 6, 8, 10};
    case LineStyle:
        return {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    }
    return {};
}

QWidget* CFOPDropWell::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* button = new CWndHost<QToolButton>(pParentWidget);
    button->setObjectName(QStringLiteral("well"));
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setIconSize(QSize(std::max(16, cs.cx - m_nArrowWidth - 8), std::max(15, cs.cy - 8)));
    m_pButton = button;
    QObject::connect(button, &QToolButton::clicked, button,
                     [this]
                     {
                         AfxQtEntry entry;
                         Notify(FOP_WELL_APPLY);
                     });
    BuildChooser(button);
    UpdateFace();
    return button;
}

void CFOPDropWell::BuildChooser(QToolButton* button)
{
    auto* menu = new QMenu(button);
    auto* holder = new QWidgetAction(menu);
    auto* panel = new QWidget(menu);
    panel->setObjectName(QStringLiteral("chooser"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    layout->addLayout(grid);
    const std::vector<DWORD> values = ChooserValues(m_kind);
    const int columns = m_kind == Colour ? 5 : 1;
    for (size_t i = 0; i < values.size(); ++i)
    {
        auto* cell = new QToolButton(panel);
        cell->setObjectName(QStringLiteral("value%1").arg(values[i]));
        cell->setAutoRaise(true);
        const DWORD value = values[i];
        QPixmap face(m_kind == Colour ? 16 : 60, m_kind == Colour ? 16 : 12);
        face.fill(Qt::white);
        {
            QPainter p(&face);
            if (m_kind == Colour)
            {
                p.fillRect(face.rect(), ToColor(value));
                p.setPen(Qt::gray);
                p.drawRect(face.rect().adjusted(0, 0, -1, -1));
            }
            else
            {
                QPen pen(Qt::black, m_kind == LineWidth ? int(value) : 1);
                if (m_kind == LineStyle)
                    pen.setStyle(value == PS_DASH         ? Qt::DashLine
                                 : value == PS_DOT        ? Qt::DotLine
                                 : value == PS_DASHDOT    ? Qt::DashDotLine
                                 : value == PS_DASHDOTDOT ? Qt::DashDotDotLine
                                                          : Qt::SolidLine);
                p.setPen(pen);
                p.drawLine(2, face.height() / 2, face.width() - 3, face.height() / 2);
            }
        }
        cell->setIcon(QIcon(face));
        cell->setIconSize(face.size());
        QObject::connect(cell, &QToolButton::clicked, menu,
                         [this, menu, value]
                         {
                             AfxQtEntry entry;
                             menu->close();
                             SelectValue(value);
                         });
        grid->addWidget(cell, int(i) / columns, int(i) % columns);
    }
    auto addSpecial = [&](const QString& text, const QString& name, int code)
    {
        auto* special = new QToolButton(panel);
        special->setObjectName(name);
        special->setText(text);
        special->setAutoRaise(true);
        QObject::connect(special, &QToolButton::clicked, menu,
                         [this, menu, code]
                         {
                             AfxQtEntry entry;
                             menu->close();
                             SelectSpecial(code);
                         });
        layout->addWidget(special);
    };
    if (m_kind == Colour)
        addSpecial(QStringLiteral("Automatic"), QStringLiteral("automatic"), FOP_WELL_AUTOMATIC);
    if (m_kind != LineWidth)
        addSpecial(QStringLiteral("None"), QStringLiteral("none"), FOP_WELL_NONE);
    holder->setDefaultWidget(panel);
    menu->addAction(holder);
    button->setMenu(menu);
}

void CFOPDropWell::UpdateFace()
{
    if (!m_pButton)
        return;
    const QSize size = m_pButton->iconSize();
    QPixmap face(size);
    face.fill(Qt::transparent);
    QPainter p(&face);
    if (m_kind == Colour)
    {
        // A bar in the well's colour under a letter of what it colours.
        p.fillRect(QRect(0, size.height() - 5, size.width(), 5), ToColor(m_dwValue));
        p.setPen(QColor(40, 40, 40));
        QFont f = p.font();
        f.setPixelSize(std::max(6, size.height() - 6));
        f.setBold(true);
        p.setFont(f);
        const UINT id = UINT(GetDlgCtrlID());
        p.drawText(QRect(0, 0, size.width(), size.height() - 5), Qt::AlignCenter,
                   id == 32788   ? QStringLiteral("A")
                   : id == 32807 ? QStringLiteral("/")
                                 : QStringLiteral("\u25A0"));
    }
    else
    {
        QPen pen(Qt::black, m_kind == LineWidth ? int(std::clamp<DWORD>(m_dwValue, 1, 6)) : 1);
        if (m_kind == LineStyle)
            pen.setStyle(m_dwValue == PS_DASH  ? Qt::DashLine
                         : m_dwValue == PS_DOT ? Qt::DotLine
                                               : Qt::SolidLine);
        p.setPen(pen);
        for (int i = 0; i < 3; ++i)
            p.drawLine(1, 3 + i * (size.height() - 4) / 3, size.width() - 2, 3 + i * (size.height() - 4) / 3);
    }
    p.end();
    m_pButton->setIcon(QIcon(face));
}

void CFOPDropWell::Notify(int nCode)
{
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(m_nChooserID, nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

void CFOPDropWell::SelectValue(DWORD dwValue)
{
    m_dwValue = m_dwShown = dwValue;
    UpdateFace();
    Notify(FOP_WELL_APPLY);
}

void CFOPDropWell::SelectSpecial(int nCode)
{
    Notify(nCode);
}

LRESULT CFOPDropWell::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case FOP_BUTTON_SETVALUE:
        m_dwValue = DWORD(wParam);
        UpdateFace();
        return 0;
    case FOP_BUTTON_SETVALUE2:
        m_dwShown = DWORD(wParam);
        return 0;
    case FOP_BUTTON_GETVALUE:
        return LRESULT(m_dwValue);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
