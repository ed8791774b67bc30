// The editor frame's look: commands with a standard icon name show the desktop theme's icons on
// the bars and in the menus, the font box starts on the desktop's interface font, and the buttons
// of the grid, snap and rulers look pressed while they are on.
#include "MainFrameTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawView.h"
#include "mfc/CommandActions.h"
#include "mfc/Menu.h"
#include "support/IconTheme.h"
#include "support/LeftClick.h"

#include <QAction>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <functional>

using namespace frametest;

namespace
{
constexpr UINT ID_TEST_RUN = 32813;
constexpr UINT ID_BOLD = 32804;
constexpr UINT ID_RULER = 32771;
const QColor kThemeCut(255, 0, 0);
const QColor kThemeBold(0, 160, 0);
const QColor kThemeAbout(0, 0, 255);

// The action of a command in the frame's menu as the menu shows it, or null.
QAction* ShownMenuAction(CMainFrame* f, QMenu& shown, int nPopup, UINT nID)
{
    CMenu* popup = f->GetMenu() ? f->GetMenu()->GetSubMenu(nPopup) : nullptr;
    if (!popup)
        return nullptr;
    AfxFillPopupMenu(&shown, popup->m_hMenu, f->m_hWnd);
    for (QAction* action : shown.actions())
        if (action->data().toUInt() == nID)
            return action;
    return nullptr;
}

// The index of the Help popup in the frame's menu.
int HelpPopup(CMainFrame* f)
{
    CMenu* menu = f->GetMenu();
    for (int i = 0; menu && i < int(menu->GetMenuItemCount()); ++i)
    {
        CString text;
        menu->GetMenuString(UINT(i), text, MF_BYPOSITION);
        if (text == L"&Help")
            return i;
    }
    return -1;
}
} // namespace

TEST_F(CMainFrameTest, StandardCommandsShowTheThemesIconsAndTheRestTheirDrawnImages)
{
    const QColor drawnPaste = CTestIconTheme::Centre(
        QIcon(QPixmap::fromImage(CFOPToolBar::DrawCommandImage(ID_EDIT_PASTE, 16, 15))));
    const QColor drawnCut =
        CTestIconTheme::Centre(QIcon(QPixmap::fromImage(CFOPToolBar::DrawCommandImage(ID_EDIT_CUT, 16, 15))));
    const QColor drawnRun =
        CTestIconTheme::Centre(QIcon(QPixmap::fromImage(CFOPToolBar::DrawCommandImage(ID_TEST_RUN, 16, 15))));
    struct Case
    {
        const char* what;
        bool bTheme;
        int nBar;
        UINT nID;
        QColor expected;
    };
    const Case cases[] = {
        {"cut, in the theme", true, 0, ID_EDIT_CUT, kThemeCut},
        {"bold, the editor's own command, in the theme", true, 1, ID_BOLD, kThemeBold},
        {"paste, missing from the theme", true, 0, ID_EDIT_PASTE, drawnPaste},
        {"test run, no standard name", true, 0, ID_TEST_RUN, drawnRun},
        {"cut without a theme", false, 0, ID_EDIT_CUT, drawnCut},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::initializer_list<CTestIconTheme::Icon> icons = {
            {"edit-cut", kThemeCut}, {"format-text-bold", kThemeBold}, {"help-about", kThemeAbout}};
        CTestIconTheme theme(c.bTheme ? icons : std::initializer_list<CTestIconTheme::Icon>{});
        CMainFrame* f = MakeFrame();
        ASSERT_NE(f, nullptr);
        QAction* action = f->GetToolBar(c.nBar)->GetButtonAction(c.nID);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(CTestIconTheme::Centre(action->icon()), c.expected);

        // The Help menu's About, on no toolbar, has the theme's icon or none.
        QMenu shown;
        QAction* about = ShownMenuAction(f, shown, HelpPopup(f), ID_APP_ABOUT);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(CTestIconTheme::Centre(about->icon()), c.bTheme ? kThemeAbout : QColor());
        if (!c.bTheme)
        {
            auto* main = qobject_cast<QMainWindow*>(f->GetWidget());
            EXPECT_TRUE(main->grab(QRect(0, 0, 700, 80)).save(QStringLiteral(QYR_NO_THEME_PNG)));
        }
        f->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        AfxPumpMessages();
    }
}

TEST_F(CMainFrameTest, TheFontBoxStartsOnTheDesktopsInterfaceFont)
{
    const QFont desktop = QGuiApplication::font();
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    CComboBox* box = f->GetFontNameBox();
    ASSERT_NE(box, nullptr);
    CString text;
    ASSERT_GE(box->GetCurSel(), 0);
    box->GetLBText(box->GetCurSel(), text);
    const QString shown = QString::fromStdWString(text.GetString());
    EXPECT_TRUE(shown == desktop.family() || shown == QFontInfo(desktop).family()) << shown.toStdString();
    f->DestroyWindow();
    m_app.m_pMainWnd = nullptr;
    AfxPumpMessages();

    // Another interface font, not the list's first, is the one the box starts on.
    const QStringList families = QFontDatabase::families();
    if (families.size() < 2)
        GTEST_SKIP() << "one font family only";
    const QString other = families.last();
    QGuiApplication::setFont(QFont(other));
    f = MakeFrame();
    QGuiApplication::setFont(desktop);
    ASSERT_NE(f, nullptr);
    box = f->GetFontNameBox();
    ASSERT_NE(box, nullptr);
    EXPECT_GT(box->GetCurSel(), 0);
    box->GetLBText(box->GetCurSel(), text);
    EXPECT_EQ(QString::fromStdWString(text.GetString()), other);
}

TEST_F(CMainFrameTest, GridSnapAndRulerButtonsLookPressedWhileTheyAreOn)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    AfxPumpMessages();
    auto* view = dynamic_cast<CFODrawView*>(f->GetActiveFrame()->GetActiveView());
    ASSERT_NE(view, nullptr);
    m_app.OnIdle(0);

    CFOPToolBar* format = f->GetToolBar(3);
    auto* bar = qobject_cast<QToolBar*>(format->GetWidget());
    ASSERT_NE(bar, nullptr);
    struct Case
    {
        const char* what;
        UINT nID;
        std::function<bool()> isOn;
    };
    const Case cases[] = {
        {"grid", ID_FOP_SHOW_GRID, [&] { return view->IsGridShow() != FALSE; }},
        {"snap", ID_FOP_SNAP_GRID,
         [&] { return view->GetCurrentModel() && view->GetCurrentModel()->IsSnapOn(FO_SNAP_GRID); }},
        {"rulers", ID_RULER, [&] { return view->IsRulersShow() != FALSE; }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        QAction* action = format->GetButtonAction(c.nID);
        ASSERT_NE(action, nullptr);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        const bool was = c.isOn();
        EXPECT_EQ(button->isChecked(), was);
        for (bool on : {!was, was})
        {
            LeftClick(button);
            AfxPumpMessages();
            EXPECT_EQ(c.isOn(), on);
            m_app.OnIdle(0);
            EXPECT_EQ(button->isChecked(), on);
        }
    }
    // Everything on, for a person to look at.
    for (const Case& c : cases)
        if (!c.isOn())
            LeftClick(qobject_cast<QToolButton*>(bar->widgetForAction(format->GetButtonAction(c.nID))));
    AfxPumpMessages();
    m_app.OnIdle(0);
    EXPECT_TRUE(bar->grab().toImage().save(QStringLiteral(QYR_TOGGLED_PNG)));
}
