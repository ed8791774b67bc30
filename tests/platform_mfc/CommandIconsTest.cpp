// Commands' icons and checked states on the bars: a command with a standard icon name shows the
// desktop theme's icon on its toolbar button and menu item where the theme has one, the drawn
// picture otherwise; a toggling command's button looks pressed while its update handler checks it.
#include "WndTestSupport.h"

#include "mfc/CommandActions.h"
#include "mfc/CommandIcons.h"
#include "mfc/FrameWndEx.h"
#include "mfc/Menu.h"
#include "mfc/ToolBarEx.h"
#include "mfc/WinApp.h"
#include "support/IconTheme.h"
#include "support/LeftClick.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

using namespace wndtest;

namespace
{
const UINT ID_PROBE_TOGGLE = 33003;
const UINT IDR_ICON_BAR = 743;
const UINT IDR_ICON_MENU = 744;

const QColor kThemeNew(255, 0, 0);
const QColor kThemeAbout(0, 160, 0);
const QColor kStripFirst(230, 180, 30);
const QColor kStripSecond(40, 90, 200);

class CToggleFrame : public CMDIFrameWndEx
{
public:
    BOOL m_bOn = FALSE;
    BOOL m_bRefuse = FALSE;
    int m_nToggles = 0;
    void OnToggle()
    {
        ++m_nToggles;
        if (!m_bRefuse)
            m_bOn = !m_bOn;
    }
    void OnUpdateToggle(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bOn); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CToggleFrame, CMDIFrameWndEx)
ON_COMMAND(ID_PROBE_TOGGLE, &CToggleFrame::OnToggle)
ON_UPDATE_COMMAND_UI(ID_PROBE_TOGGLE, &CToggleFrame::OnUpdateToggle)
END_MESSAGE_MAP()

class CommandIconsTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        m_frame = new CToggleFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, L"Icons"));
        m_frame->MoveWindow(0, 0, 480, 300);
        m_frame->ShowWindow(SW_SHOW);
        m_app.m_pMainWnd = m_frame;
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        AfxPumpMessages();
        AfxWinTerm();
        CWndTestBase::TearDown();
    }
    // The actions of the icon menu's popup as a menu shows them.
    QAction* MenuAction(QMenu& shown, UINT nID)
    {
        CMenu menu;
        if (!menu.LoadMenu(IDR_ICON_MENU))
            return nullptr;
        // As a menu opens: the owner updates the items, then the menu shows them.
        const HMENU hPopup = menu.GetSubMenu(0)->m_hMenu;
        m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
        AfxFillPopupMenu(&shown, hPopup, m_frame->m_hWnd);
        for (QAction* action : shown.actions())
            if (action->data().toUInt() == nID)
                return action;
        return nullptr;
    }

    CWinAppEx m_app;
    CToggleFrame* m_frame = nullptr;
};
} // namespace

TEST_F(CommandIconsTest, StandardCommandsShowTheThemesIconWhereItHasOneAndTheirDrawnPictureOtherwise)
{
    struct Case
    {
        const char* what;
        bool bTheme;
        bool bMenu;
        UINT nID;
        QColor expected; // invalid: no icon at all
    };
    const Case cases[] = {
        {"menu item of a command the theme has", true, true, ID_APP_ABOUT, kThemeAbout},
        {"the same without a theme", false, true, ID_APP_ABOUT, QColor()},
        {"menu item of a command with no standard name", true, true, ID_PROBE_TOGGLE, QColor()},
        {"button of a command the theme has", true, false, ID_FILE_NEW, kThemeNew},
        {"button of a command the theme lacks", true, false, ID_EDIT_CUT, kStripSecond},
        {"the first button without a theme", false, false, ID_FILE_NEW, kStripFirst},
        {"the second button without a theme", false, false, ID_EDIT_CUT, kStripSecond},
        {"button of a command with no name and no picture", true, false, ID_PROBE_TOGGLE, QColor()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::initializer_list<CTestIconTheme::Icon> icons = {{"document-new", kThemeNew},
                                                             {"help-about", kThemeAbout}};
        CTestIconTheme theme(c.bTheme ? icons : std::initializer_list<CTestIconTheme::Icon>{});
        QMenu shown;
        QAction* action = nullptr;
        CMFCToolBar bar;
        if (c.bMenu)
            action = MenuAction(shown, c.nID);
        else
        {
            ASSERT_TRUE(bar.CreateEx(m_frame));
            ASSERT_TRUE(bar.LoadToolBar(IDR_ICON_BAR));
            action = AfxFindCommandAction(m_frame->m_hWnd, c.nID);
        }
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(CTestIconTheme::Centre(action->icon()), c.expected);
    }

    // A command's names are tried in order: the first the theme has wins.
    CTestIconTheme theme({{"document-new", kThemeNew}});
    AfxSetCommandIconNames(ID_PROBE_TOGGLE, L"qyr-not-in-any-theme document-new");
    EXPECT_EQ(CTestIconTheme::Centre(AfxThemeCommandIcon(ID_PROBE_TOGGLE)), kThemeNew);
    AfxSetCommandIconNames(ID_PROBE_TOGGLE, nullptr);
    EXPECT_TRUE(AfxThemeCommandIcon(ID_PROBE_TOGGLE).isNull());
}

TEST_F(CommandIconsTest, TheInstalledThemeBacksTheDesktopsThemeAndStandsInWhereItNamesNone)
{
    const CString installed = AfxInstalledIconTheme();
    if (installed.IsEmpty())
        GTEST_SKIP() << "no icon theme installed (scripts/setup-deps.sh installs one)";
    const QString theme = QString::fromWCharArray(installed.GetString(), installed.GetLength());
    const QString desktop = QIcon::themeName();
    // A desktop theme that is not there, and none at all (what this platform names, if anything).
    for (const QString& named : {QStringLiteral("qyr-no-theme"), QString()})
    {
        SCOPED_TRACE(named.toStdString());
        QIcon::setThemeName(named);
        QIcon::setFallbackThemeName(QString());
        const QString asked = QIcon::themeName();
        AfxInitIconTheme();
        EXPECT_EQ(QIcon::fallbackThemeName(), theme);
        EXPECT_EQ(QIcon::themeName(), asked.isEmpty() ? theme : asked) << "the desktop's own theme is kept";
        EXPECT_FALSE(AfxThemeCommandIcon(ID_FILE_OPEN).isNull()) << "document-open of the installed theme";
    }
    QIcon::setThemeName(desktop);
}

TEST_F(CommandIconsTest, AToggleButtonLooksPressedWhileItsUpdateHandlerChecksIt)
{
    CMFCToolBar bar;
    ASSERT_TRUE(bar.CreateEx(m_frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_ICON_BAR));
    auto* qbar = qobject_cast<QToolBar*>(bar.GetWidget());
    QAction* action = AfxFindCommandAction(m_frame->m_hWnd, ID_PROBE_TOGGLE);
    ASSERT_TRUE(qbar && action);
    auto* button = qobject_cast<QToolButton*>(qbar->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    const int index = bar.CommandToIndex(ID_PROBE_TOGGLE);

    m_app.OnIdle(0);
    EXPECT_FALSE(button->isChecked());
    const QImage off = button->grab().toImage();

    // Each click runs the command; the next idle update shows the state the handler set.
    const bool states[] = {true, false, true};
    for (bool on : states)
    {
        const int before = m_frame->m_nToggles;
        LeftClick(button);
        ASSERT_TRUE(PumpUntil([&] { return m_frame->m_nToggles == before + 1; }));
        m_app.OnIdle(0);
        EXPECT_EQ(button->isChecked(), on);
        EXPECT_EQ(bar.IsButtonChecked(index) != FALSE, on);
        EXPECT_EQ(button->grab().toImage() != off, on) << "a checked button is drawn pressed";
    }
    QImage shot = qbar->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_SHOT_DIR "/toolbar-checked.png")));

    // The menu item shows the same check.
    QMenu shown;
    QAction* item = MenuAction(shown, ID_PROBE_TOGGLE);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());

    // A command that leaves its state as it was leaves the button as it was, whatever the click did.
    m_frame->m_bRefuse = TRUE;
    LeftClick(button);
    ASSERT_TRUE(PumpUntil([&] { return m_frame->m_nToggles == 4; }));
    m_app.OnIdle(0);
    EXPECT_TRUE(button->isChecked());
}
