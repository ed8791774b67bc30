// The click-event dialogs: which controls are live for each code, the browse step, what OK keeps
// and refuses, and the design view writing back only what changed.
#include "EventsTestSupport.h"

#include "behaviour/EventSetDlgs.h"
#include "behaviour/ShapeChooserDlgs.h"
#include "editor/ProjectDialogs.h"
#include "editor/MethodChooseDlg.h"

#include <QImage>

using namespace eventstest;

namespace
{
const char* const kScript =
    "function OnReset(strShapeKey1, shape)\r\n{\r\n}\r\nfunction OnStart()\r\n{\r\n}\r\n";
}

TEST_F(CEventsTest, LiveControlRuleByCode)
{
    struct Case
    {
        int code;
        BOOL param, browse, listMode;
    };
    // Codes 20 and above 22 have no rule for the parameter: it stays as the code before left it.
    const Case cases[] = {
        {0, FALSE, FALSE, TRUE},   {6, FALSE, FALSE, TRUE},  {8, FALSE, FALSE, TRUE},
        {11, FALSE, FALSE, TRUE},  {14, FALSE, FALSE, TRUE}, {16, FALSE, FALSE, TRUE},
        {17, FALSE, FALSE, TRUE},  {19, FALSE, FALSE, TRUE}, {1, TRUE, FALSE, TRUE},
        {2, TRUE, FALSE, TRUE},    {3, FALSE, TRUE, TRUE},   {4, FALSE, TRUE, TRUE},
        {5, FALSE, TRUE, TRUE},    {7, FALSE, TRUE, TRUE},   {12, FALSE, TRUE, TRUE},
        {13, FALSE, TRUE, TRUE},   {18, FALSE, TRUE, TRUE},  {21, FALSE, FALSE, FALSE},
        {22, FALSE, FALSE, FALSE},
    };
    CEFEventSetDlg dlg;
    CModalScript modal;
    modal.Then(
        [&](CDialog&)
        {
            for (const Case& c : cases)
            {
                dlg.ApplyLiveRule(c.code);
                EXPECT_EQ(c.param, Enabled(dlg, IDC_EVENT_PARAM)) << c.code;
                EXPECT_EQ(c.browse, Enabled(dlg, IDC_EVENT_BROWSE)) << c.code;
                EXPECT_EQ(c.listMode, dlg.IsDlgButtonChecked(IDC_EVENT_LIST_MODE) != 0) << c.code;
                EXPECT_EQ(c.listMode, Enabled(dlg, IDC_EVENT_ACTIONS)) << c.code;
                EXPECT_EQ(!c.listMode, Enabled(dlg, IDC_EVENT_COMMAND_NO)) << c.code;
                if (!c.listMode)
                {
                    EXPECT_EQ(Text(dlg, IDC_EVENT_COMMAND_NO), CString(std::to_wstring(c.code).c_str()));
                }
            }
            // The command number's spin runs from 20 to 100.
            int low = 0, high = 0;
            dlg.GetDlgItem(IDC_EVENT_COMMAND_SPIN)->SendMessage(UDM_GETRANGE32, WPARAM(&low), LPARAM(&high));
            EXPECT_EQ(20, low);
            EXPECT_EQ(100, high);
            // 20 and 40: command mode, the parameter left as it was.
            dlg.ApplyLiveRule(1);
            dlg.ApplyLiveRule(40);
            EXPECT_TRUE(Enabled(dlg, IDC_EVENT_PARAM));
            EXPECT_EQ(Text(dlg, IDC_EVENT_COMMAND_NO), CString(L"40"));
            dlg.ApplyLiveRule(0);
            dlg.ApplyLiveRule(20);
            EXPECT_FALSE(Enabled(dlg, IDC_EVENT_PARAM));
            EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_EVENT_COMMAND_MODE));
            return IDCANCEL;
        });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    for (const Case& c : cases)
        EXPECT_EQ(!c.param && !c.browse, IsCodeWithoutParam(c.code)) << c.code;
}

TEST_F(CEventsTest, OpeningShowsTheStoredEventAndOkKeepsWhatIsNotChosen)
{
    // A shape holding the older procedure code 7 opens on "Run procedure...", with its method.
    {
        CQYREventSetDlg dlg;
        dlg.m_nEventType = 7;
        dlg.m_strEventString = L"system.uscp";
        dlg.m_strMethod = L"OnReset";
        dlg.m_nCursorType = 2;
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(Text(d, IDC_EVENT_METHOD), CString(L"Method:OnReset"));
                EXPECT_TRUE(Enabled(d, IDC_EVENT_BROWSE));
                EXPECT_FALSE(Enabled(d, IDC_EVENT_PARAM));
                QListWidget* actions = Widget<QListWidget>(d, IDC_EVENT_ACTIONS);
                EXPECT_EQ(actions->currentItem()->text(), QStringLiteral("Run procedure..."));
                EXPECT_EQ(Widget<QComboBox>(d, IDC_EVENT_CURSORS)->currentText(), QStringLiteral("CROSS"));
                EXPECT_TRUE(d.IsDlgButtonChecked(IDC_EVENT_CUSTOM_CURSOR));
                return IDOK;
            });
        ASSERT_EQ(IDOK, dlg.DoModal());
        // The players run procedures for 18.
        EXPECT_EQ(18, dlg.m_nEventType);
        EXPECT_EQ(2, dlg.m_nCursorType);
        EXPECT_TRUE(dlg.m_bModified);
    }
    // A code no list offers opens with nothing selected, and OK keeps it.
    {
        CQYREventSetDlg dlg;
        dlg.m_nEventType = 9;
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(Widget<QListWidget>(d, IDC_EVENT_ACTIONS)->currentRow(), -1);
                return IDOK;
            });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(9, dlg.m_nEventType);
        EXPECT_FALSE(dlg.m_bModified);
    }
    // A command opens in command mode with its entry selected.
    {
        CQYREventSetDlg dlg;
        dlg.m_nEventType = 22;
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                EXPECT_TRUE(d.IsDlgButtonChecked(IDC_EVENT_COMMAND_MODE));
                EXPECT_FALSE(Enabled(d, IDC_EVENT_ACTIONS));
                EXPECT_EQ(Widget<QListWidget>(d, IDC_EVENT_COMMANDS)->currentItem()->text(),
                          QStringLiteral("Manual Command..."));
                return IDOK;
            });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(22, dlg.m_nEventType);
        EXPECT_FALSE(dlg.m_bModified);
    }
}

TEST_F(CEventsTest, ChoosingActionsClearsTheParameterAndTheTwinsStoreNone)
{
    struct Case
    {
        BOOL twin;
        const wchar_t* action;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {FALSE, L"Print Document", L""},
        {TRUE, L"Print Document", L"None"},
        {TRUE, L"Exit Application.", L"None"},
    };
    for (const Case& c : cases)
    {
        CQYREventSetDlg shape;
        CEFEventSetDlg twin;
        CEventSetBaseDlg& dlg = c.twin ? static_cast<CEventSetBaseDlg&>(twin) : shape;
        dlg.m_nEventType = 2;
        dlg.m_strEventString = L"https://plant.example";
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                Choose(d, IDC_EVENT_ACTIONS, c.action);
                EXPECT_EQ(Text(d, IDC_EVENT_PARAM), CString());
                EXPECT_FALSE(Enabled(d, IDC_EVENT_PARAM));
                return IDOK;
            });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(CString(c.expected), dlg.m_strEventString) << c.action;
        EXPECT_TRUE(dlg.m_bModified);
    }

    // A file chosen for "Open file..." goes when the action becomes "Open URL...".
    CQYREventSetDlg dlg;
    CModalScript modal;
    modal.files.push_back(L"/plant/manual.pdf");
    modal.Then(
        [&](CDialog& d)
        {
            Choose(d, IDC_EVENT_ACTIONS, L"Open file...");
            Press(d, IDC_EVENT_BROWSE);
            EXPECT_EQ(Text(d, IDC_EVENT_PARAM), CString(L"/plant/manual.pdf"));
            Choose(d, IDC_EVENT_ACTIONS, L"Open URL...");
            EXPECT_EQ(Text(d, IDC_EVENT_PARAM), CString());
            EXPECT_TRUE(Enabled(d, IDC_EVENT_PARAM));
            Type(d, IDC_EVENT_PARAM, L"https://plant.example/help");
            return IDOK;
        });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(modal.filters, std::vector<CString>{L"Open Files(*.*)|*.*||"});
    EXPECT_EQ(2, dlg.m_nEventType);
    EXPECT_EQ(CString(L"https://plant.example/help"), dlg.m_strEventString);
}

TEST_F(CEventsTest, RunProcedureBrowsesAScriptThenItsProcedure)
{
    WriteBytes("ScriptFiles/pumps.uscp", kScript);
    WriteBytes("XdgFiles/Main.xdg", "x");
    CQYREventSetDlg dlg;
    dlg.m_strMethod = L"Old";
    CModalScript modal;
    std::vector<CString> scripts;
    std::vector<CString> methods;
    modal
        .Then(
            [&](CDialog& d)
            {
                Choose(d, IDC_EVENT_ACTIONS, L"Run procedure...");
                Press(d, IDC_EVENT_BROWSE);
                EXPECT_EQ(Text(d, IDC_EVENT_PARAM), CString(L"pumps.uscp"));
                EXPECT_EQ(Text(d, IDC_EVENT_METHOD), CString(L"Method:OnReset"));
                return IDOK;
            })
        .Then(
            [&](CDialog& d)
            {
                auto& chooser = static_cast<MBScriptChooseDlg&>(d);
                scripts = Rows(chooser.m_List);
                Choose(d, 1090, L"pumps.uscp");
                return IDOK;
            })
        .Then(
            [&](CDialog& d)
            {
                auto& chooser = static_cast<CMethodChooseDlg&>(d);
                for (int i = 0; i < chooser.GetListedMethods().GetSize(); ++i)
                    methods.push_back(chooser.GetListedMethods()[i]);
                Widget<QComboBox>(d, IDC_METHOD_COMBO)->setCurrentIndex(0);
                return IDOK;
            });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(scripts, (std::vector<CString>{L"Main.xdg", L"pumps.uscp"}));
    EXPECT_EQ(methods, (std::vector<CString>{L"OnReset", L"OnStart"}));
    EXPECT_EQ(18, dlg.m_nEventType);
    EXPECT_EQ(CString(L"pumps.uscp"), dlg.m_strEventString);
    EXPECT_EQ(CString(L"OnReset"), dlg.m_strMethod);

    // Cancelling the script chooser leaves event string and method as they were.
    CQYREventSetDlg again;
    again.m_nEventType = 18;
    again.m_strEventString = L"pumps.uscp";
    again.m_strMethod = L"OnStart";
    CModalScript cancel;
    cancel.Then(
        [&](CDialog& d)
        {
            Press(d, IDC_EVENT_BROWSE);
            return IDOK;
        });
    ASSERT_EQ(IDOK, again.DoModal());
    EXPECT_EQ(2, cancel.opened);
    EXPECT_EQ(CString(L"pumps.uscp"), again.m_strEventString);
    EXPECT_EQ(CString(L"OnStart"), again.m_strMethod);
    EXPECT_FALSE(again.m_bModified);
}

TEST_F(CEventsTest, RefusalsShowTheirMessageFocusTheControlAndReturnNothing)
{
    struct Case
    {
        const char* what;
        std::function<std::unique_ptr<CEventSetBaseDlg>()> make;
        std::function<void(CDialog&)> work;
        const wchar_t* message;
        int focus;
    };
    const auto shape = [] { return std::make_unique<CQYREventSetDlg>(); };
    const auto twin = [] { return std::make_unique<CEFEventSetDlg>(); };
    const auto menu = [] { return std::make_unique<CEFSubMenuSetDlg>(); };
    const wchar_t* const empty = L"Sorry! Event string cann't be empty!";
    const Case cases[] = {
        {"typed parameter left empty", shape,
         [](CDialog& d) { Choose(d, IDC_EVENT_ACTIONS, L"Open URL..."); }, empty, IDC_EVENT_PARAM},
        {"command None without parameter", shape,
         [](CDialog& d)
         {
             Press(d, IDC_EVENT_COMMAND_MODE);
             Choose(d, IDC_EVENT_COMMANDS, L"None");
         },
         empty, IDC_EVENT_PARAM},
        {"twin command 20 without parameter", twin,
         [](CDialog& d)
         {
             Press(d, IDC_EVENT_COMMAND_MODE);
             Type(d, IDC_EVENT_COMMAND_NO, L"20");
         },
         empty, IDC_EVENT_PARAM},
        {"twin command number above 100", twin,
         [](CDialog& d)
         {
             Press(d, IDC_EVENT_COMMAND_MODE);
             Type(d, IDC_EVENT_COMMAND_NO, L"101");
         },
         L"Please enter an integer between 20 and 100.", IDC_EVENT_COMMAND_NO},
        {"menu state id empty", menu, [](CDialog& d) { Type(d, IDC_EVENT_STATE_ID, L""); },
         L"This state index value already been used, please enter a new one and try again!",
         IDC_EVENT_STATE_ID},
        {"menu state id with @", menu, [](CDialog& d) { Type(d, IDC_EVENT_STATE_ID, L"A@B"); },
         L"A state id cann't hold \"@\" or \"$\", please enter another one.", IDC_EVENT_STATE_ID},
        {"menu state id with $", menu, [](CDialog& d) { Type(d, IDC_EVENT_STATE_ID, L"$A"); },
         L"A state id cann't hold \"@\" or \"$\", please enter another one.", IDC_EVENT_STATE_ID},
        {"menu event string with #", menu,
         [](CDialog& d)
         {
             Choose(d, IDC_EVENT_ACTIONS, L"Open URL...");
             Type(d, IDC_EVENT_PARAM, L"a#b");
         },
         L"A menu event string cann't hold \"@\" or \"#\", please enter another one.", IDC_EVENT_PARAM},
        {"menu event string with @", menu,
         [](CDialog& d)
         {
             Choose(d, IDC_EVENT_ACTIONS, L"Send Email...");
             Type(d, IDC_EVENT_PARAM, L"ops@plant");
         },
         L"A menu event string cann't hold \"@\" or \"#\", please enter another one.", IDC_EVENT_PARAM},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CEventSetBaseDlg> dlg = c.make();
        std::vector<CString> seen;
        BOOL focused = FALSE;
        BOOL stayed = FALSE;
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                c.work(d);
                d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                seen = modal.messages;
                focused = HasFocus(d, c.focus);
                stayed = ::IsWindow(d.m_hWnd);
                return IDCANCEL;
            });
        EXPECT_EQ(IDCANCEL, dlg->DoModal()) << c.what;
        EXPECT_EQ(seen, std::vector<CString>{c.message}) << c.what;
        EXPECT_TRUE(focused) << c.what;
        EXPECT_TRUE(stayed) << c.what;
    }
}

TEST_F(CEventsTest, SubMenuItemTextAndSavedScreenshot)
{
    struct Case
    {
        const wchar_t* action;
        const wchar_t* param;
        int command;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"Print Document", L"", 0, L"6#None"},
        {L"Open URL...", L"  https://plant.example  ", 0, L"2#https://plant.example"},
        {nullptr, L"", 21, L"21#None"},
        {nullptr, L"x", 35, L"35#x"},
    };
    for (const Case& c : cases)
    {
        CEFSubMenuSetDlg dlg;
        dlg.m_strStateId = L"STATE_3";
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(Text(d, IDC_EVENT_STATE_ID), CString(L"STATE_3"));
                if (c.action)
                {
                    Choose(d, IDC_EVENT_ACTIONS, c.action);
                }
                else
                {
                    Press(d, IDC_EVENT_COMMAND_MODE);
                    Type(d, IDC_EVENT_COMMAND_NO, CString(std::to_wstring(c.command).c_str()));
                }
                Type(d, IDC_EVENT_PARAM, c.param);
                return IDOK;
            });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(CString(c.text), dlg.GetItemText());
        EXPECT_EQ(CString(L"STATE_3"), dlg.m_strStateId);
    }

    // The event dialog as the engineer sees it, kept for a person to look at.
    CQYREventSetDlg dlg;
    dlg.m_nEventType = 2;
    dlg.m_strEventString = L"https://plant.example/help";
    dlg.m_strToolTip = L"Open the help";
    dlg.m_nCursorType = 1;
    CModalScript modal;
    modal.Then(
        [&](CDialog& d)
        {
            const QImage shot = d.GetWidget()->grab().toImage();
            EXPECT_TRUE(shot.save(QStringLiteral(QYR_EVENT_DIALOG_PNG)));
            return IDCANCEL;
        });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}
