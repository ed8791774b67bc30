// The design view's commands that open the event, key-value, visibility, screen and test dialogs:
// what they write on OK, in how many undo steps, and that Cancel writes nothing.
#include "EventsTestSupport.h"

#include "behaviour/EventSetDlgs.h"
#include "behaviour/KeyValueDlg.h"
#include "behaviour/ScreenSetDlg.h"
#include "behaviour/ShapeChooserDlgs.h"
#include "behaviour/VisibleExpertDlg.h"
#include "editor/MethodChooseDlg.h"
#include "figkit/FOAction.h"
#include "opc/AddItemDlg.h"
#include "opc/ConnectDlg.h"
#include "opc/OPCDialogs.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/TagBrowseDlg.h"
#include "opcsdk/servers/OpcStandIn.h"

#include <QImage>

using namespace eventstest;

namespace
{
const UINT ID_KEY_VALUE = 41300;
const UINT ID_VISIBLE_SET = 30089;
const UINT ID_SCREEN_SETTING = 30048;
const UINT ID_VALUE_TEST = 32858;

struct EventProps
{
    int type = 0;
    CString text;
    int cursor = 0;
    CString tip;
    CString method;
    bool operator==(const EventProps&) const = default;
};

EventProps Props(CFODrawShape* shape)
{
    EventProps p;
    shape->GetPropIntValue(p.type, FO_PROP_EVENT_TYPE);
    shape->GetPropStringValue(p.text, FO_PROP_EVENT_STRING);
    shape->GetPropIntValue(p.cursor, FO_PROP_CURSOR_TYPE);
    shape->GetPropStringValue(p.tip, FO_PROP_TOOLTIP);
    shape->GetPropStringValue(p.method, 15008);
    return p;
}

struct ScreenProps
{
    CString s15001, s15002, s15003;
    int n15004 = 0;
    CString s15005, s15006, s15007;
    bool operator==(const ScreenProps&) const = default;
};

ScreenProps Screen(CFODataModel* model)
{
    ScreenProps p;
    p.n15004 = -1;
    model->GetPropStringValue(p.s15001, 15001);
    model->GetPropStringValue(p.s15002, 15002);
    model->GetPropStringValue(p.s15003, 15003);
    model->GetPropIntValue(p.n15004, 15004);
    model->GetPropStringValue(p.s15005, 15005);
    model->GetPropStringValue(p.s15006, 15006);
    model->GetPropStringValue(p.s15007, 15007);
    return p;
}
} // namespace

TEST_F(CEventsTest, EventSettingsWriteTheSelectionInOneStepAndCancelWritesNothing)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    CFODrawShape* a = AddShape(view, L"A", L"KA");
    CFODrawShape* b = AddShape(view, L"B", L"KB");
    CFOTypedShapeObList both;
    both.AddTail(a);
    both.AddTail(b);
    view->SelectShapes(both);
    model->SetModifiedFlag(FALSE);
    const int steps = model->GetUndoHistory()->GetUndoCount();
    const EventProps before = Props(a);

    // Cancel, after changing everything.
    {
        CModalScript modal;
        modal.Then(
            [](CDialog& d)
            {
                Choose(d, IDC_EVENT_ACTIONS, L"Send Email...");
                Type(d, IDC_EVENT_PARAM, L"ops@plant.example");
                return IDCANCEL;
            });
        view->DoWhenClickAddi(ID_ADDI_EVENTS);
        EXPECT_EQ(1, modal.opened);
    }
    EXPECT_EQ(before, Props(a));
    EXPECT_FALSE(model->IsModified());
    EXPECT_EQ(steps, model->GetUndoHistory()->GetUndoCount());

    // OK: hide shape B on a click, a tooltip and a custom cursor, for both shapes at once.
    {
        CModalScript modal;
        modal
            .Then(
                [](CDialog& d)
                {
                    Choose(d, IDC_EVENT_ACTIONS, L"Hide object...");
                    Press(d, IDC_EVENT_BROWSE);
                    Type(d, IDC_EVENT_TOOLTIP, L"Hides B");
                    Press(d, IDC_EVENT_CUSTOM_CURSOR);
                    Widget<QComboBox>(d, IDC_EVENT_CURSORS)->setCurrentIndex(3);
                    return IDOK;
                })
            .Then(
                [](CDialog& d)
                {
                    Choose(d, IDC_CHOOSER_LIST, L"B");
                    return IDOK;
                });
        view->DoWhenClickAddi(ID_ADDI_EVENTS);
    }
    EventProps hide;
    hide.type = 12;
    hide.text = L"B";
    hide.cursor = 4;
    hide.tip = L"Hides B";
    EXPECT_EQ(hide, Props(a));
    EXPECT_EQ(hide, Props(b));
    EXPECT_TRUE(model->IsModified());
    EXPECT_EQ(steps + 1, model->GetUndoHistory()->GetUndoCount());
    model->GetUndoHistory()->Undo();
    EXPECT_EQ(before, Props(a));
    EXPECT_EQ(before, Props(b));
}

TEST_F(CEventsTest, VisibleSetWritesConditionAndSwitchOnOkOnly)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODrawShape* shape = AddShape(view, L"A", L"KA");
    shape->PutPropStringValue(FO_PROP_VISIBLE_COND, L"1,10");
    view->SelectShape(shape);
    view->GetEditModel()->SetModifiedFlag(FALSE);
    for (int answer : {IDCANCEL, IDOK})
    {
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(Widget<QComboBox>(d, IDC_VISIBLE_OPERATOR)->currentIndex(), 1);
                Widget<QComboBox>(d, IDC_VISIBLE_OPERATOR)->setCurrentIndex(5);
                Type(d, IDC_VISIBLE_VALUE, L"5");
                Press(d, IDC_VISIBLE_ENABLE);
                return answer;
            });
        Command(view, ID_VISIBLE_SET);
        ASSERT_EQ(1, modal.opened);
        CString condition;
        BOOL on = FALSE;
        shape->GetPropStringValue(condition, FO_PROP_VISIBLE_COND);
        shape->GetPropBoolValue(on, FO_PROP_VISIBLE_COND_ON);
        EXPECT_EQ(CString(answer == IDOK ? L"5,5" : L"1,10"), condition);
        EXPECT_EQ(answer == IDOK, bool(on));
        EXPECT_EQ(answer == IDOK, bool(view->GetEditModel()->IsModified()));
    }
}

TEST_F(CEventsTest, ScreenSettingsWrittenSavedAndReadBack)
{
    WriteBytes("ScriptFiles/screen.uscp",
               "function OnOpen() {}\nfunction OnTick() {}\nfunction OnShut() {}\n");
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();
    model->SetModifiedFlag(FALSE);
    const ScreenProps untouched = Screen(model);

    // Cancel writes nothing.
    {
        CModalScript modal;
        modal.Then(
            [](CDialog& d)
            {
                EXPECT_EQ(Text(d, IDC_SCREEN_PERIOD), CString(L"1000"));
                Type(d, IDC_SCREEN_PERIOD, L"250");
                return IDCANCEL;
            });
        Command(view, ID_SCREEN_SETTING);
        ASSERT_EQ(1, modal.opened);
    }
    EXPECT_EQ(untouched, Screen(model));
    EXPECT_FALSE(model->IsModified());

    // A script and procedure for start and timer, the timer's period; refused periods first.
    const auto method = [](const wchar_t* name)
    {
        return [name](CDialog& d)
        {
            QComboBox* combo = Widget<QComboBox>(d, IDC_METHOD_COMBO);
            combo->setCurrentIndex(combo->findText(QString::fromWCharArray(name)));
            return IDOK;
        };
    };
    const auto script = [](CDialog& d)
    {
        Choose(d, IDC_CHOOSER_LIST, L"screen.uscp");
        return IDOK;
    };
    std::vector<CString> refusals;
    CModalScript modal;
    modal
        .Then(
            [&](CDialog& d)
            {
                Press(d, IDC_SCREEN_START_BUTTON);
                Press(d, IDC_SCREEN_TIMER_BUTTON);
                EXPECT_EQ(Text(d, IDC_SCREEN_START_METHOD), CString(L"Method:  OnOpen"));
                EXPECT_EQ(Text(d, IDC_SCREEN_TIMER_SCRIPT), CString(L"screen.uscp"));
                for (const wchar_t* period : {L"1", L"5001"})
                {
                    Type(d, IDC_SCREEN_PERIOD, period);
                    d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                }
                refusals = modal.messages;
                Type(d, IDC_SCREEN_PERIOD, L"5000");
                EXPECT_TRUE(d.GetWidget()->grab().toImage().save(QStringLiteral(QYR_SCREEN_SET_PNG)));
                return IDOK;
            })
        .Then(script)
        .Then(method(L"OnOpen"))
        .Then(script)
        .Then(method(L"OnTick"));
    Command(view, ID_SCREEN_SETTING);
    EXPECT_EQ(refusals, std::vector<CString>(2, L"Please enter an integer between 2 and 5000."));
    ScreenProps expected;
    expected.s15001 = L"screen.uscp";
    expected.s15003 = L"screen.uscp";
    expected.n15004 = 5000;
    expected.s15005 = L"OnOpen";
    expected.s15007 = L"OnTick";
    EXPECT_EQ(expected, Screen(model));
    EXPECT_TRUE(model->IsModified());

    // Saved and reopened: the same seven.
    const CString path = CString::FromUtf8(m_project + "XdgFiles/Main.xdg");
    ASSERT_TRUE(view->GetDocument()->DoSave(path));
    view->GetDocument()->OnCloseDocument();
    AfxPumpMessages();
    CQYRDrawView* again = Open(&path);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(expected, Screen(again->GetEditModel()));

    // OK without changes still writes all seven and marks the screen modified; a cancelled
    // procedure choice keeps the new script and the old procedure.
    again->GetEditModel()->SetModifiedFlag(FALSE);
    WriteBytes("ScriptFiles/other.uscp", "function Other() {}\n");
    CModalScript keep;
    keep.Then(
            [](CDialog& d)
            {
                Press(d, IDC_SCREEN_CLOSE_BUTTON);
                return IDOK;
            })
        .Then(
            [](CDialog& d)
            {
                Choose(d, IDC_CHOOSER_LIST, L"other.uscp");
                return IDOK;
            });
    Command(again, ID_SCREEN_SETTING);
    expected.s15002 = L"other.uscp";
    EXPECT_EQ(expected, Screen(again->GetEditModel()));
    EXPECT_TRUE(again->GetEditModel()->IsModified());
}

TEST_F(CEventsTest, ValueChangeTestSetsTheChosenShapesValue)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODrawShape* pump = AddShape(view, L"P", L"Pump1");
    view->GetEditModel()->SetModifiedFlag(FALSE);
    std::vector<CString> refused;
    CModalScript modal;
    modal.Then(
        [&](CDialog& d)
        {
            d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            refused = modal.messages;
            Widget<QComboBox>(d, IDC_SHAPE_COMBO)
                ->setCurrentIndex(Widget<QComboBox>(d, IDC_SHAPE_COMBO)->findText(QStringLiteral("Pump1")));
            Type(d, IDC_TEST_VALUE, L"42.5");
            return IDOK;
        });
    Command(view, ID_VALUE_TEST);
    EXPECT_EQ(refused, std::vector<CString>{L"Please select one shape for changing!"});
    EXPECT_EQ(2u, modal.messages.size()) << "the shape's value-change script is shown";
    EXPECT_DOUBLE_EQ(42.5, pump->GetCurrentValue());
    EXPECT_TRUE(view->GetEditModel()->IsModified());
}

TEST_F(CEventsTest, KeyValuesBrowseTheServersTagsAndSetKey3OfAllSelectedInOneStep)
{
    OpcStandInServers_Register();
    OpcStandIn::Reset();
    CInfoServer::SetStatusWaitStep(5);
    struct Case
    {
        const wchar_t* server;
        const char* browser;
        int itemEdit;
        const wchar_t* item;
    };
    const Case cases[] = {
        {QUENDREL_OPCDASERVER_PROGID, "CTagBrowseDlg", 11011, L"Plant.Area1.Tank1.Level"},
        {QUENDREL_OPCTESTDA10_PROGID, "CAddItemDlg", 12500, L"Ramp"},
    };
    for (const Case& c : cases)
    {
        CQYRDrawView* view = Open();
        ASSERT_NE(view, nullptr);
        CMyExtDataModel* model = view->GetEditModel();
        CFODrawShape* a = AddShape(view, L"A", L"");
        CFODrawShape* b = AddShape(view, L"B", L"");
        a->SetKeyId2(c.server);
        CFOTypedShapeObList both;
        both.AddTail(a);
        both.AddTail(b);
        view->SelectShapes(both);
        const int steps = model->GetUndoHistory()->GetUndoCount();
        if (c.browser == std::string("CAddItemDlg"))
        {
            // The flat server is not listed among DA 2.0 servers, so its name does not resolve:
            // it is reached through a connection the explorer's server already holds.
            CInfoServer* server = GetExplorerActiveDocument(FALSE)->GetInfoServer();
            server->SetServer(L"", c.server);
            server->SetOPCServerCLSID(CLSID_QuendrelOpcTestDa10);
            ASSERT_TRUE(server->Connect());
        }
        CString browser;
        CModalScript modal;
        modal
            .Then(
                [&](CDialog& d)
                {
                    EXPECT_EQ(Text(d, IDC_KEY_SERVER), CString(c.server));
                    EXPECT_FALSE(d.GetDlgItem(IDC_KEY_PROPERTY)->IsWindowVisible());
                    Press(d, IDC_KEY_BROWSE_ITEM);
                    EXPECT_EQ(Text(d, IDC_KEY_ITEM), CString(c.item));
                    return IDOK;
                })
            .Then(
                [&](CDialog& d)
                {
                    browser = dynamic_cast<CTagBrowseDlg*>(&d) ? L"CTagBrowseDlg"
                              : dynamic_cast<CAddItemDlg*>(&d) ? L"CAddItemDlg"
                                                               : L"?";
                    Type(d, c.itemEdit, c.item);
                    return IDOK;
                });
        Command(view, ID_KEY_VALUE);
        EXPECT_EQ(2, modal.opened) << c.browser;
        EXPECT_EQ(CString::FromUtf8(c.browser), browser);
        EXPECT_TRUE(modal.messages.empty()) << c.browser;
        EXPECT_EQ(CString(c.item), a->GetKeyId3()) << c.browser;
        EXPECT_EQ(CString(c.item), b->GetKeyId3()) << c.browser;
        // Only what changed is written: B keeps its own key 2.
        EXPECT_EQ(CString(L""), b->GetKeyId2()) << c.browser;
        EXPECT_EQ(steps + 1, model->GetUndoHistory()->GetUndoCount()) << c.browser;
        view->GetDocument()->OnCloseDocument();
        AfxPumpMessages();
    }
    OpcStandIn::Reset();
    CInfoServer::SetStatusWaitStep(1000);
}

// The server "..." lists the stand-in servers in the real chooser; a server chosen there, or typed over
// the keys, is the one the item "..." browses, after the server connected before is dropped.
TEST_F(CEventsTest, KeyValuesChooseAServerAndTheItemBrowseGoesToThatServer)
{
    OpcStandInServers_Register();
    OpcStandIn::Reset();
    OpcStandIn::ListDa10AsDa20(TRUE);
    CInfoServer::SetStatusWaitStep(5);
    COPCDialogs::RegisterDialogs();
    for (const bool choose : {true, false})
    {
        SCOPED_TRACE(choose ? "chosen" : "typed");
        CQYRDrawView* view = Open();
        ASSERT_NE(view, nullptr);
        CFODrawShape* a = AddShape(view, L"A", L"");
        a->SetKeyId2(QUENDREL_OPCDASERVER_PROGID);
        view->SelectShape(a);
        // Connected to the hierarchical server first.
        CInfoServer* server = GetExplorerActiveDocument(FALSE)->GetInfoServer();
        server->SetServer(L"", QUENDREL_OPCDASERVER_PROGID);
        ASSERT_TRUE(server->Connect());
        std::vector<CString> listed;
        // A line of the chooser keeps its description; the server's own lookup strips it.
        CString expectedKey2 = QUENDREL_OPCTESTDA10_PROGID;
        CString browsedServer;
        bool picker = false;
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                if (choose)
                    Press(d, IDC_KEY_BROWSE_SERVER);
                else
                    Type(d, IDC_KEY_SERVER, QUENDREL_OPCTESTDA10_PROGID);
                EXPECT_EQ(Text(d, IDC_KEY_SERVER), expectedKey2);
                EXPECT_TRUE(d.GetDlgItem(IDC_KEY_BROWSE_ITEM)->IsWindowEnabled());
                Press(d, IDC_KEY_BROWSE_ITEM);
                EXPECT_EQ(Text(d, IDC_KEY_ITEM), CString(L"Ramp"));
                return IDOK;
            });
        if (choose)
            modal.Then(
                [&](CDialog& d)
                {
                    auto* chooser = dynamic_cast<CConnectDlg*>(&d);
                    if (!chooser)
                        return IDCANCEL;
                    listed = Rows(chooser->m_listServers);
                    for (int i = 0; i < int(listed.size()); ++i)
                        if (listed[size_t(i)].Find(QUENDREL_OPCTESTDA10_PROGID) == 0)
                        {
                            expectedKey2 = listed[size_t(i)];
                            chooser->m_listServers.SetCurSel(i);
                            chooser->OnSelchangeServerList();
                        }
                    return IDOK;
                });
        modal.Then(
            [&](CDialog& d)
            {
                picker = dynamic_cast<CAddItemDlg*>(&d) != nullptr;
                browsedServer = server->GetOPCServerNameOnly();
                EXPECT_TRUE(server->IsConnected());
                EXPECT_TRUE(IsEqualGUID(server->GetOPCServerCLSID(), CLSID_QuendrelOpcTestDa10));
                Type(d, 12500, L"Ramp");
                return IDOK;
            });
        Command(view, ID_KEY_VALUE);
        if (choose)
        {
            ASSERT_EQ(listed.size(), 2u);
            EXPECT_EQ(listed[0].Find(QUENDREL_OPCDASERVER_PROGID L"  ("), 0) << listed[0].ToUtf8();
            EXPECT_EQ(listed[1].Find(QUENDREL_OPCTESTDA10_PROGID L"  ("), 0) << listed[1].ToUtf8();
        }
        EXPECT_TRUE(picker) << "the flat server opens the item picker";
        EXPECT_EQ(browsedServer, expectedKey2);
        EXPECT_TRUE(modal.messages.empty());
        EXPECT_EQ(a->GetKeyId2(), expectedKey2);
        EXPECT_EQ(a->GetKeyId3(), CString(L"Ramp"));
        view->GetDocument()->OnCloseDocument();
        AfxPumpMessages();
    }
    COPCDialogs::SetConnectDialog({});
    OpcStandIn::Reset();
    CInfoServer::SetStatusWaitStep(1000);
}
