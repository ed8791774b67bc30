// The player running the demo project against the stand-in OPC server: live values, scripts and
// timers, the clock, operator entry, bad quality, a server that drops, screen switches and closing.
#include "PlayerTestSupport.h"
#include "RunningDemo.h"
#include "support/ModalHook.h"

#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "mfc/ModalHook.h"
#include "symbols/ExtGridWndShape.h"
#include "symbols/FOExtGridCtrl.h"
#include "symbols/LinkOpener.h"
#include "mfc/Dialog.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "model/ScriptObject.h"
#include "model/SliderShapes.h"
#include "model/WorkSpaceObj.h"
#include "player/PlexrunApp.h"
#include "opc/InfoMultiServerExplorerDoc.h"
#include "opc/InfoServer.h"
#include "opc/Item.h"
#include "opc/ItemSet.h"
#include "opcsdk/servers/OpcStandIn.h"
#include "player/EntryDlgs.h"
#include "player/ExtDataModel.h"
#include "player/MainFrm.h"
#include "player/QYRViewDoc.h"
#include "player/QYRViewView.h"
#include "player/RunCanvas.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTime>
#include <QWidget>

#include <cfloat>

using namespace player_test;

namespace
{
// Answers the entry dialogs: the keypad buttons pressed in order, or a text typed, then the button.
struct EntryScript
{
    std::vector<UINT> keys;
    CString text;
    int answer = IDOK;
    std::vector<CString> messages;
    std::vector<CString> dialogs;
    CModalHookScope scope{[this](const AfxModalRequest& r)
                          {
                              if (r.kind == AfxModalKind::MessageBox)
                              {
                                  messages.push_back(r.strText);
                                  return IDOK;
                              }
                              if (r.kind != AfxModalKind::Dialog || !r.pDialog)
                                  return IDCANCEL;
                              CString caption;
                              r.pDialog->GetWindowText(caption);
                              dialogs.push_back(caption);
                              for (UINT id : keys)
                                  r.pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
                              if (!text.IsEmpty())
                                  r.pDialog->GetDlgItem(1001)->SetWindowText(text);
                              return answer;
                          }};
};
} // namespace

TEST(PlayerRuntime, DemoShowsLiveValuesRunsItsTimerProcedureAndTheClock)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    EXPECT_EQ(demo.Global(L"#Started"), 1.0) << "the start procedure ran once";
    CFODrawShape* ramp = demo.ByKey3(L"Simulation.Ramp");
    CFODrawShape* text = demo.ByKey3(L"Simulation.Text");
    ASSERT_TRUE(ramp && text);
    EXPECT_NE(dynamic_cast<CItem*>(static_cast<CObject*>(ramp->GetItemData())), nullptr);

    // Within two ticks of the first good read the bound shapes show values.
    ASSERT_TRUE(PumpUntil([&] { return ramp->GetCurrentValue() != DBL_MIN; }));
    demo.Ticks(2);
    EXPECT_FALSE(text->GetCurrentTextValue().IsEmpty());
    const double first = ramp->GetCurrentValue();
    EXPECT_TRUE(PumpUntil([&] { return ramp->GetCurrentValue() != first; })) << "the ramp moves";

    // The timer procedure counts the global variable up and its label follows.
    CFODrawShape* counter = demo.ByKey3(L"#Counter");
    ASSERT_NE(counter, nullptr);
    const double before = demo.Global(L"#Counter");
    ASSERT_TRUE(PumpUntil([&] { return demo.Global(L"#Counter") >= before + 2; }, 6000));
    EXPECT_TRUE(PumpUntil([&] { return counter->GetCurrentValue() == demo.Global(L"#Counter"); }));
    EXPECT_GE(demo.view->GetTimerStep(), 2);

    // The clock's variables run and their labels show them.
    CFODrawShape* second = demo.ByKey3(L"$Second");
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return second->GetCurrentValue() != DBL_MIN; }));
    const int now = QTime::currentTime().second();
    const int shown = int(second->GetCurrentValue());
    EXPECT_TRUE(shown == now || (shown + 1) % 60 == now || (shown + 2) % 60 == now) << shown << " " << now;
    EXPECT_EQ(demo.Global(L"$Hour"), double(QTime::currentTime().hour()));

    // What the operator sees: saved by the test run.
    demo.Ticks(2);
    const QImage image = demo.player.app.m_pMainWnd->GetWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(QYR_DEMO_PNG)));
}

TEST(PlayerRuntime, OperatorEntryWritesTheTagAndRefusedEntriesWriteNothing)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CFODrawShape* setpoint = demo.ByKey3(L"Memory.R8");
    ASSERT_NE(setpoint, nullptr);
    demo.Ticks(2);
    {
        // "4", "2", ".", "5" on the keypad, then Enter.
        EntryScript entry;
        entry.keys = {1196, 1200, 1203, 1197};
        const int writes = demo.Writes();
        demo.Click(setpoint);
        ASSERT_EQ(entry.dialogs, (std::vector<CString>{L"Enter new value"}));
        EXPECT_TRUE(entry.messages.empty());
        EXPECT_EQ(demo.Writes(), writes + 1);
        EXPECT_TRUE(PumpUntil([&] { return setpoint->GetCurrentValue() == 42.5; }, 10000));
    }
    struct Refused
    {
        const wchar_t* text;
        const wchar_t* message;
    };
    const Refused refused[] = {{L"", L"Please enter a number."},
                               {L"  ", L"Please enter a number."},
                               {L"abc", L"Please enter a number."},
                               {L"12x", L"Please enter a number."},
                               {L"1e400", L"Please enter a number."}};
    for (const Refused& r : refused)
    {
        EntryScript entry;
        entry.keys = {1284}; // Clear
        entry.text = r.text;
        const int writes = demo.Writes();
        demo.Click(setpoint);
        EXPECT_EQ(demo.Writes(), writes) << CString(r.text).ToUtf8();
        ASSERT_EQ(entry.messages.size(), 1u) << CString(r.text).ToUtf8();
        EXPECT_EQ(entry.messages[0], CString(r.message));
    }
    demo.Ticks(2);
    EXPECT_EQ(setpoint->GetCurrentValue(), 42.5);

    // The valve: event 21 on a boolean writes the opposite at once, without a dialog.
    CFODrawShape* valve = demo.ByKey3(L"Plant.Area1.Tank1.Valve");
    ASSERT_NE(valve, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return valve->GetCurrentValue() == 0.0; }));
    {
        EntryScript entry;
        demo.Click(valve);
        EXPECT_TRUE(entry.dialogs.empty());
        EXPECT_TRUE(PumpUntil([&] { return valve->GetCurrentValue() == 1.0; }, 10000));
    }
}

TEST(PlayerRuntime, SixteenBitEntriesAreTruncatedAndOutOfRangeOnesRefused)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Details.xdg"));
    CFODrawShape* i2 = demo.ByKey3(L"Memory.I2");
    ASSERT_NE(i2, nullptr);
    demo.Ticks(2);
    struct Case
    {
        const wchar_t* text;
        bool written;
        double shown;
    };
    const Case cases[] = {{L"-3.9", true, -3.0},
                          {L"40000", false, -3.0},
                          {L"32767", true, 32767.0},
                          {L"-32769", false, 32767.0},
                          {L"", false, 32767.0}};
    for (const Case& c : cases)
    {
        EntryScript entry;
        entry.keys = {1284}; // Clear
        entry.text = c.text;
        const int writes = demo.Writes();
        demo.Click(i2);
        EXPECT_EQ(demo.Writes(), writes + (c.written ? 1 : 0)) << CString(c.text).ToUtf8();
        EXPECT_EQ(entry.messages.empty(), c.written) << CString(c.text).ToUtf8();
        EXPECT_TRUE(PumpUntil([&] { return i2->GetCurrentValue() == c.shown; }, 10000))
            << CString(c.text).ToUtf8();
    }
    // A text tag takes the string entry.
    CFODrawShape* text = demo.ByKey3(L"Memory.BSTR");
    ASSERT_NE(text, nullptr);
    EntryScript entry;
    entry.text = L"Batch 7";
    demo.Click(text);
    EXPECT_TRUE(PumpUntil([&] { return text->GetCurrentTextValue() == L"Batch 7"; }, 10000));
}

TEST(PlayerRuntime, BadQualityBlinksAndRecoversAndADroppedServerComesBack)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CFODrawShape* ramp = demo.ByKey3(L"Simulation.Ramp");
    ASSERT_NE(ramp, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ramp->GetCurrentValue() != DBL_MIN; }));
    demo.Ticks(1);
    BOOL blinking = TRUE;
    ASSERT_TRUE(ramp->GetPropBoolValue(blinking, RUN_PROP_BLINKING));
    EXPECT_FALSE(blinking);
    const COLORREF bk = ramp->GetBkColor();

    // A bad quality: the shape blinks between its colours tick by tick.
    OpcStandIn::FailItem(CLSID_QuendrelOpcDaServer, L"Simulation.Ramp", E_FAIL);
    ASSERT_TRUE(PumpUntil([&] { return ramp->GetPropBoolValue(blinking, RUN_PROP_BLINKING) && blinking; }));
    std::set<COLORREF> seen;
    for (int i = 0; i < 4; ++i)
    {
        demo.Ticks(1);
        seen.insert(ramp->GetBkColor());
    }
    EXPECT_EQ(seen.size(), 2u) << "background alternates";
    OpcStandIn::ClearFault(CLSID_QuendrelOpcDaServer, OpcStandIn::FAULT_ITEM);
    ASSERT_TRUE(PumpUntil([&] { return ramp->GetPropBoolValue(blinking, RUN_PROP_BLINKING) && !blinking; }));
    EXPECT_EQ(ramp->GetBkColor(), bk);

    // The server drops: every bound shape blinks; it comes back and values move on, same player.
    OpcStandIn::Disconnect(CLSID_QuendrelOpcDaServer);
    ASSERT_TRUE(PumpUntil([&] { return ramp->GetPropBoolValue(blinking, RUN_PROP_BLINKING) && blinking; }));
    OpcStandIn::Reconnect(CLSID_QuendrelOpcDaServer);
    ASSERT_TRUE(PumpUntil([&] { return ramp->GetPropBoolValue(blinking, RUN_PROP_BLINKING) && !blinking; }));
    const double after = ramp->GetCurrentValue();
    EXPECT_TRUE(PumpUntil([&] { return ramp->GetCurrentValue() != after; }));
}

TEST(PlayerRuntime, ScreenSwitchRebindsRunsTheStartProcedureAndClosingDisconnects)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CInfoMultiServerExplorerDoc* servers = GetExplorerMultiActiveDocument(FALSE);
    ASSERT_NE(servers, nullptr);
    EXPECT_EQ(servers->GetInfoServerCount(), 1);
    const int groups = CQYRViewView::GetGroupCounter();

    // A click on the "Trends" button switches: new group, chart items, start procedure, step 0.
    CFODrawShape* toTrends = demo.ByEvent(5, L"Trends.xdg");
    ASSERT_NE(toTrends, nullptr);
    demo.Click(toTrends);
    EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Trends.xdg"));
    EXPECT_EQ(demo.view->GetDocument()->GetTitle(), CString(L"Trends.xdg"));
    EXPECT_EQ(CQYRViewView::GetGroupCounter(), groups + 1);
    EXPECT_EQ(demo.Global(L"#Screen"), 2.0);
    EXPECT_EQ(demo.view->GetTimerStep(), 0);
    EXPECT_TRUE(demo.view->GetTimerProcedure().IsEmpty());
    CFODrawShape* chart = nullptr;
    for (CFODrawShape* shape : *demo.Model()->GetShapes())
        if (shape->GetType() == 615)
            chart = shape;
    ASSERT_NE(chart, nullptr);
    auto* set = dynamic_cast<CItemSet*>(static_cast<CObject*>(chart->GetItemData()));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetAssocItemCount(), 3);
    EXPECT_EQ(servers->GetInfoServerCount(), 1) << "the server stays connected across screens";
    // The chart fills from its tags on the chart timer.
    demo.Ticks(10);
    EXPECT_TRUE(
        demo.player.app.m_pMainWnd->GetWidget()->grab().toImage().save(QStringLiteral(QYR_TRENDS_PNG)));

    // The screen shown already, or one that does not exist, changes nothing; a missing one says so.
    {
        MessageLog messages;
        EXPECT_FALSE(demo.view->SwitchScreen(L"Trends.xdg"));
        EXPECT_TRUE(messages.texts.empty());
        EXPECT_FALSE(demo.view->LoadScreen(L"Missing.xdg"));
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_NE(messages.texts[0].Find(L"Missing.xdg"), -1);
    }
    EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Trends.xdg"));

    // Back to the main screen, then close: its close procedure runs and the servers go.
    demo.Click(demo.ByEvent(5, L"Main.xdg"));
    EXPECT_EQ(demo.Global(L"#Started"), 2.0);
    demo.player.app.m_pMainWnd->SendMessage(WM_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return demo.player.app.m_pMainWnd == nullptr; }));
    EXPECT_EQ(demo.Global(L"#Closed"), 1.0);
    EXPECT_EQ(OpcStandIn::LiveServerCount(CLSID_QuendrelOpcDaServer), 0);
}

TEST(PlayerRuntime, ServerKeysDecideWhatBinds)
{
    struct NameCase
    {
        const wchar_t* key;
        const wchar_t* name;
    };
    const NameCase names[] = {{L"'Quendrel.OpcDaServer.1'", L"Quendrel.OpcDaServer.1"},
                              {L"'Vendor.Server.2 on the hill'", L"Vendor.Server.2"},
                              {L"Vendor.Server.2 extra", L"Vendor.Server.2"},
                              {L"''", L""},
                              {L"", L""}};
    for (const NameCase& c : names)
        EXPECT_EQ(CQYRViewView::ServerNameFromKey(c.key), CString(c.name)) << CString(c.key).ToUtf8();

    struct BindCase
    {
        const wchar_t* key2;
        const wchar_t* key3;
        BOOL bound;
    };
    const BindCase binds[] = {
        {L"Quendrel.OpcDaServer.1", L"Simulation.Ramp", FALSE}, // the own server, unquoted
        {L"'Quendrel.OpcDaServer.1'", L"Simulation.Ramp", TRUE},
        {L"this", L"Simulation.Ramp", FALSE},
        {L"Server", L"Tag", FALSE},  // no '.'
        {L".Server", L"Tag", FALSE}, // '.' at the start
        {L"Vendor.Server", L"Tag", TRUE},
        {L"Vendor.Server", L"", FALSE},
        {L"", L"#Level", FALSE},
    };
    for (const BindCase& c : binds)
    {
        CFODrawShape shape;
        shape.SetKeyId2(c.key2);
        shape.SetKeyId3(c.key3);
        EXPECT_EQ(CQYRViewView::IsTagBound(&shape), c.bound) << CString(c.key2).ToUtf8();
    }
    EXPECT_TRUE(CQYRViewView::IsOwnServer(L"this"));
    EXPECT_TRUE(CQYRViewView::IsOwnServer(L"Quendrel.OpcDaServer.7"));
    EXPECT_FALSE(CQYRViewView::IsOwnServer(L"'Quendrel.OpcDaServer.1'"));
}

TEST(PlayerRuntime, KeypadRules)
{
    struct Case
    {
        const wchar_t* text;
        int selStart, selEnd;
        const wchar_t* insert;
        const wchar_t* result;
    };
    const Case inserts[] = {
        {L"0", 0, 0, L"5", L"5"},   {L"0", 0, 0, L".", L"0."},     {L"12", 2, 2, L"3", L"123"},
        {L"12", 0, 1, L"9", L"92"}, {L"1.5", 3, 3, L"7", L"1.57"}, {L"", 0, 0, L"4", L"4"},
    };
    for (const Case& c : inserts)
        EXPECT_EQ(CAnalogEntryDlg::InsertText(c.text, c.selStart, c.selEnd, c.insert), CString(c.result))
            << CString(c.text).ToUtf8();
    EXPECT_EQ(CAnalogEntryDlg::ToggleSign(L"12"), CString(L"-12"));
    EXPECT_EQ(CAnalogEntryDlg::ToggleSign(L"-12"), CString(L"+12"));
    EXPECT_EQ(CAnalogEntryDlg::ToggleSign(L"+12"), CString(L"-12"));
    EXPECT_EQ(CAnalogEntryDlg::ToggleSign(L""), CString(L"-"));
    EXPECT_EQ(CAnalogEntryDlg::BackSpace(L"7"), CString(L"0"));
    EXPECT_EQ(CAnalogEntryDlg::BackSpace(L"75"), CString(L"7"));

    // Driven through the dialog: the '.' button does not add a second point, "&Back" and "+/-".
    AfxEnsureApplication();
    CString shown;
    CModalHookScope scope(
        [&shown](const AfxModalRequest& r)
        {
            for (UINT id : {1199u, 1203u, 1197u, 1203u, 1204u, 1194u, 1283u})
                r.pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            r.pDialog->GetDlgItem(1001)->GetWindowText(shown);
            return IDOK;
        });
    CAnalogEntryDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, CString(L"-1.5"));
    EXPECT_EQ(dlg.m_dValue, -1.5);
}

TEST(PlayerRuntime, ShapeEventsHideShowRunProceduresAndOpenLinks)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    std::vector<CString> opened;
    const LinkOpenerFn previous = SetLinkOpener(
        [&opened](const CString& address)
        {
            opened.push_back(address);
            return TRUE;
        });
    CFODrawShape* any = demo.ByKey3(L"Simulation.Ramp");
    demo.view->DoEventAtAllGeometryUp(any, 1, L"ops@plant.example");
    demo.view->DoEventAtAllGeometryUp(any, 2, L"https://plant.example/help");
    demo.view->DoEventAtAllGeometryUp(any, 3, L"/nowhere/manual.pdf");
    EXPECT_EQ(opened, (std::vector<CString>{L"mailto:ops@plant.example", L"https://plant.example/help"}));
    SetLinkOpener(previous);

    // Kind 18 runs the shape's procedure, unless its text names another screen.
    // The timer procedure goes on counting while the click is handled, so the reset is seen as the
    // count falling back below where it stood.
    ASSERT_TRUE(PumpUntil([&] { return demo.Global(L"#Counter") >= 3; }, 10000));
    CFODrawShape* reset = demo.ByEvent(18, L"reset");
    ASSERT_NE(reset, nullptr);
    demo.view->DoEventAtAllGeometryUp(reset, 18, L"Details.xdg");
    EXPECT_GE(demo.Global(L"#Counter"), 3.0);
    demo.Click(reset);
    EXPECT_LT(demo.Global(L"#Counter"), 3.0);

    // Hiding and showing a shape by name.
    ASSERT_TRUE(demo.view->SwitchScreen(L"Details.xdg"));
    CFODrawShape* lamp = demo.Model()->FindCompWithName(L"Lamp");
    ASSERT_NE(lamp, nullptr);
    demo.Click(demo.ByEvent(12, L"Lamp"));
    EXPECT_FALSE(lamp->IsVisible());
    demo.Click(demo.ByEvent(13, L"Lamp"));
    EXPECT_TRUE(lamp->IsVisible());
    demo.view->DoEventAtAllGeometryUp(any, 12, L"NoSuchShape");

    // Kind 6 prints the shown screen (to a PDF file without a desktop).
    QTemporaryDir dir;
    const CString pdf = CString::FromUtf8((dir.path() + "/screen.pdf").toStdString());
    {
        CModalHookScope hook(
            [&pdf](const AfxModalRequest& r)
            {
                EXPECT_EQ(AfxModalKind::FileDialog, r.kind);
                r.paths.push_back(pdf);
                return IDOK;
            });
        demo.view->DoEventAtAllGeometryUp(any, 6, CString());
    }
    QFile file(QString::fromStdString(pdf.ToUtf8()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_GT(file.size(), 1000);

    // Kind 16 exports the page as a picture; a file that cannot be written says so.
    const CString png = CString::FromUtf8((dir.path() + "/screen.png").toStdString());
    std::vector<CString> messages;
    {
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind == AfxModalKind::MessageBox)
                {
                    messages.push_back(r.strText);
                    return IDOK;
                }
                r.paths.push_back(messages.empty() && !QFile::exists(dir.path() + "/screen.png")
                                      ? png
                                      : CString(L"/nonexistent-folder/screen.png"));
                return IDOK;
            });
        demo.view->DoEventAtAllGeometryUp(any, 16, CString());
        EXPECT_TRUE(messages.empty());
        demo.view->DoEventAtAllGeometryUp(any, 16, CString());
    }
    const QImage picture(dir.path() + "/screen.png");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), demo.Model()->GetPagePosition().Width());
    int drawn = 0; // the screen's shapes are in it, not a blank page
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            drawn += picture.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(drawn, 500);
    ASSERT_EQ(messages.size(), 1u);
}

TEST(PlayerRuntime, PathAndScaleDriversMoveTheirTarget)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CExtDataModel* model = demo.Model();
    CRect rc(300, 100, 340, 140);
    CFODrawShape* target = model->DoCreateShapeByType(601, rc, CString());
    target->SetKeyId1(L"Target");
    model->InsertShape(target);
    target->Release();

    struct ScaleCase
    {
        int direction, anchor;
        double value;
        CRect expected;
    };
    // Reference rectangle (0, 0, 100, 200), range 0 to 100.
    const ScaleCase scales[] = {
        {0, 1, 50.0, CRect(300, 100, 340, 200)}, {0, 1, 1.0, CRect(300, 196, 340, 200)},
        {0, 0, 50.0, CRect(300, 0, 340, 100)},   {1, 0, 50.0, CRect(0, 100, 50, 140)},
        {2, 2, 50.0, CRect(25, 50, 75, 150)},
    };
    for (const ScaleCase& c : scales)
    {
        target->PositionShape(CRect(300, 100, 340, 140));
        CRect ref(0, 0, 100, 200);
        auto* scale =
            dynamic_cast<CFOPScaleRefShape*>(model->DoCreateShapeByType(FO_COMP_SCALEREF, ref, CString()));
        ASSERT_NE(scale, nullptr);
        scale->SetLinkPathShape(L"Target");
        scale->PutPropIntValue(FO_PROP_SCALE_DIRECTION, c.direction);
        scale->PutPropIntValue(FO_PROP_SCALE_ANCHOR, c.anchor);
        demo.view->DoCurrentValueChange(scale, c.value);
        EXPECT_EQ(target->GetSnapRect(), c.expected) << c.direction << "/" << c.anchor << " " << c.value;
        delete scale;
    }

    struct PathCase
    {
        double value;
        CPoint centre;
        const wchar_t* key3;
    };
    const PathCase paths[] = {
        {5.0, CPoint(50, 0), L""}, {25.0, CPoint(100, 0), L"#none"}, {0.0, CPoint(0, 0), L""}};
    for (const PathCase& c : paths)
    {
        target->PositionShape(CRect(300, 100, 340, 140));
        const POINT line[] = {{0, 0}, {100, 0}};
        auto* path = new CFOPMovePathShape;
        path->Create(line, 2);
        path->SetMinValue(0);
        path->SetMaxValue(10);
        path->SetLinkPathShape(L"Target");
        path->SetKeyId3(c.key3);
        path->SetModel(model);
        demo.view->DoCurrentValueChange(path, c.value);
        EXPECT_EQ(target->GetSnapRect().CenterPoint(), c.centre) << c.value;
        EXPECT_EQ(target->GetSnapRect().Width(), 40);
        path->SetModel(nullptr);
        delete path;
    }

    // A driver bound to a global variable sets it (exact name only); with no range nothing moves.
    CRect ref(0, 0, 100, 200);
    auto* scale =
        dynamic_cast<CFOPScaleRefShape*>(model->DoCreateShapeByType(FO_COMP_SCALEREF, ref, CString()));
    scale->SetLinkPathShape(L"Target");
    scale->SetKeyId3(L" #Setpoint ");
    demo.view->DoCurrentValueChange(scale, 30.0);
    EXPECT_EQ(demo.Global(L"#Setpoint"), 30.0);
    scale->SetKeyId3(L"#setpoint");
    demo.view->DoCurrentValueChange(scale, 40.0);
    EXPECT_EQ(demo.Global(L"#Setpoint"), 30.0);
    const CRect before = target->GetSnapRect();
    scale->SetMaxValue(0);
    demo.view->DoCurrentValueChange(scale, 10.0);
    EXPECT_EQ(target->GetSnapRect(), before);
    delete scale;

    // On the demo's details screen the ramp drives the marker along its path.
    ASSERT_TRUE(demo.view->SwitchScreen(L"Details.xdg"));
    CFODrawShape* marker = demo.Model()->FindShapeWithKey1(L"Marker");
    ASSERT_NE(marker, nullptr);
    const CPoint start = marker->GetSnapRect().CenterPoint();
    EXPECT_TRUE(PumpUntil([&] { return marker->GetSnapRect().CenterPoint() != start; }));
    EXPECT_EQ(marker->GetSnapRect().CenterPoint().y, 70);
}

TEST(PlayerRuntime, SliderDragSetsTheGlobalVariableAndItsOtherShapes)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CExtDataModel* model = demo.Model();
    CFODrawShape* shapes[2] = {};
    for (CFODrawShape*& shape : shapes)
    {
        CRect rc(400, 300, 440, 320);
        shape = model->DoCreateShapeByType(601, rc, CString());
        shape->SetKeyId3(L"#Setpoint");
        model->InsertShape(shape);
        shape->Release();
    }
    demo.view->DoEventDragSlider(shapes[0], 12.0);
    EXPECT_EQ(demo.Global(L"#Setpoint"), 12.0);
    EXPECT_EQ(shapes[1]->GetCurrentValue(), 12.0);
    shapes[0]->SetKeyId3(L"#SETPOINT");
    demo.view->DoEventDragSlider(shapes[0], 13.0);
    EXPECT_EQ(demo.Global(L"#Setpoint"), 12.0) << "the name must match exactly";
}

TEST(PlayerRuntime, AScreenWithoutShapesKeepsTheViewIdle)
{
    RunningDemo demo(
        [](const InstallRoot& root)
        {
            // A screen saved without shapes (a file of no bytes is a damaged one).
            CExtDataModel empty;
            ASSERT_TRUE(empty.SaveDocument(ToCString(root.root + "/Demo/demo/XdgFiles/Empty.xdg")));
        });
    ASSERT_NE(demo.view, nullptr);
    EXPECT_FALSE(demo.view->IsBusy());
    ASSERT_TRUE(demo.view->SwitchScreen(L"Empty.xdg"));
    // Without even the maker's mark that every loaded screen gets, bound as a load binds.
    demo.Model()->ResetContent();
    demo.view->GetCanvas()->BindLoadedModel();
    ASSERT_TRUE(demo.Model()->GetShapes()->IsEmpty());
    {
        EXPECT_TRUE(demo.view->IsBusy());
        const int ticks = demo.view->GetTickCount();
        QElapsedTimer wait;
        wait.start();
        PumpUntil([] { return false; }, 700);
        EXPECT_EQ(demo.view->GetTickCount(), ticks);
    }
}

TEST(PlayerRuntime, OneFailingServerDoesNotTakeTheHealthyOnesDown)
{
    for (const CLSID* failing : {&CLSID_QuendrelOpcDaServer, &CLSID_QuendrelOpcTestDa10})
    {
        RunningDemo demo(
            [](const InstallRoot& root)
            {
                root.AddUserProject("two", [](CWorkSpaceObj&) {});
                CExtDataModel model;
                const wchar_t* const servers[][2] = {{L"'Quendrel.OpcDaServer.1'", L"Simulation.Ramp"},
                                                     {L"Quendrel.OpcTestDa10.1", L"Ramp"}};
                int y = 10;
                for (const auto& s : servers)
                {
                    CRect rc(10, y, 110, y + 20);
                    CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_SIMPLELABEL, rc, CString());
                    shape->SetKeyId2(s[0]);
                    shape->SetKeyId3(s[1]);
                    model.InsertShape(shape);
                    shape->Release();
                    y += 30;
                }
                model.SaveDocument(ToCString(root.root + "/User/two/XdgFiles/Main.xdg"));
            },
            {"two"});
        ASSERT_NE(demo.view, nullptr);
        CInfoMultiServerExplorerDoc* doc = GetExplorerMultiActiveDocument(FALSE);
        ASSERT_NE(doc, nullptr);
        ASSERT_EQ(doc->GetInfoServerCount(), 2);
        OpcStandIn::Disconnect(*failing);
        demo.view->DisconnectTagServers(FALSE);
        EXPECT_EQ(doc->GetInfoServerCount(), 1);
        const bool daFailed = failing == &CLSID_QuendrelOpcDaServer;
        EXPECT_EQ(doc->GetInfoServer(L"Quendrel.OpcDaServer.1") != nullptr, !daFailed);
        EXPECT_EQ(doc->GetInfoServer(L"Quendrel.OpcTestDa10.1") != nullptr, daFailed);
        OpcStandIn::Reconnect(*failing);
    }
}

TEST(PlayerRuntime, AFailingTimerProcedureShowsItsErrorAndStillCountsSteps)
{
    struct Case
    {
        const char* script;
        bool loaded;
    };
    const Case cases[] = {
        {"function OnStart(t, n) {}\nfunction OnTimer(t, n) { throw new Error('valve stuck'); }\n", true},
        {"", false},
        {"function OnTimer(t, n) {", false},
    };
    for (const Case& c : cases)
    {
        MessageLog messages;
        RunningDemo demo(
            [&c](const InstallRoot& root)
            {
                root.AddUserProject("scripted", [](CWorkSpaceObj&) {});
                QDir().mkpath(root.root + "/User/scripted/ScriptFiles");
                QFile file(root.root + "/User/scripted/ScriptFiles/system.uscp");
                file.open(QIODevice::WriteOnly);
                // Script files are UTF-16 with their mark.
                const QString text = QString::fromUtf8(c.script);
                file.write("\xFF\xFE", 2);
                file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
            },
            {"scripted"});
        ASSERT_NE(demo.view, nullptr);
        EXPECT_EQ(demo.view->IsScriptLoaded(), c.loaded) << "[" << c.script << "]";
        EXPECT_EQ(demo.view->GetTimerProcedure(), CString(L"OnTimer")) << "the timer is armed either way";
        if (!c.loaded)
        {
            PumpUntil([] { return false; }, 1200);
            EXPECT_TRUE(messages.texts.empty()) << c.script;
            continue;
        }
        ASSERT_TRUE(PumpUntil([&] { return demo.view->GetTimerStep() >= 2; }, 6000));
        ASSERT_GE(messages.texts.size(), 2u);
        EXPECT_EQ(messages.texts[0].Find(L"Error: "), 0) << messages.texts[0].ToUtf8();
        EXPECT_GE(messages.texts[0].Find(L"valve stuck"), 0) << messages.texts[0].ToUtf8();
    }
}

TEST(PlayerRuntime, AScreenWithAGridShowsTheSampleGridDisabledOnTheRunCanvas)
{
    RunningDemo demo(
        [](const InstallRoot& root)
        {
            // The demo generator's way to a grid: the player model's factory for type 606.
            CExtDataModel screen;
            CRect rc(40, 40, 640, 340);
            CFODrawShape* grid = screen.DoCreateShapeByType(606, rc, CString());
            ASSERT_NE(grid, nullptr);
            screen.InsertShape(grid);
            grid->Release(); // the factory's reference: the model keeps its own
            ASSERT_TRUE(screen.SaveDocument(ToCString(root.root + "/Demo/demo/XdgFiles/Grid.xdg")));
        });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Grid.xdg"));
    CExtGridWndShape* shape = nullptr;
    for (CFODrawShape* s : *demo.Model()->GetShapes())
        if (auto* g = dynamic_cast<CExtGridWndShape*>(s))
            shape = g;
    ASSERT_NE(shape, nullptr);
    CCrGridCtrl* grid = shape->GetGridCtrl();
    ASSERT_NE(grid, nullptr);
    EXPECT_FALSE(grid->IsWindowEnabled()) << "on a screen the grid starts disabled";
    EXPECT_TRUE(grid->IsWindowVisible());
    EXPECT_EQ(CString(L"1866"), grid->GetCellText(0, 0).strText);
    PumpUntil([] { return false; }, 200);
    const QImage shot = demo.view->GetCanvas()->GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_GRID_RUN_PNG)));
    int frame = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            frame += shot.pixelColor(x, y) == QColor(0, 100, 200);
    EXPECT_GT(frame, 40) << "the focus frame of the grid's current cell";
}

namespace
{
// A left-button event on the canvas window at a canvas point, as the mouse gives it.
void CanvasMouse(CRunCanvas* canvas, QEvent::Type type, CPoint ptCanvas)
{
    QWidget* w = canvas->GetClientWidget();
    const CPoint client = canvas->CanvasToClient(ptCanvas);
    const QPointF p(client.x, client.y);
    QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

CFODrawShape* AddRunShape(CExtDataModel* model, UINT type, CRect rc, const wchar_t* key3 = L"")
{
    CFODrawShape* shape = model->DoCreateShapeByType(type, rc, CString());
    shape->SetKeyId3(key3);
    model->InsertShape(shape);
    shape->Release();
    return shape;
}
} // namespace

TEST(PlayerRuntime, AMenuButtonListsItsEntriesAndTheChosenOneSwitchesTheScreen)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CFODrawShape* button = AddRunShape(demo.Model(), FO_COMP_MENUBUTTON, CRect(500, 20, 600, 44));
    button->SetStateString(L"Stay$0#None@Go to trends$5#Trends.xdg@Nowhere$5#Missing.xdg");
    struct Case
    {
        int choice;
        const wchar_t* screen;
    } cases[] = {{0, L"Main.xdg"}, {1, L"Main.xdg"}, {3, L"Main.xdg"}, {2, L"Trends.xdg"}};
    for (const Case& c : cases)
    {
        std::vector<CString> entries;
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::PopupMenu)
                    return IDOK;
                CMenu* menu = CMenu::FromHandle(r.hMenu);
                for (UINT i = 0; i < menu->GetMenuItemCount(); ++i)
                {
                    CString text;
                    menu->GetMenuString(i, text, MF_BYPOSITION);
                    entries.push_back(text);
                }
                // The menu's command ids, 0 for none chosen.
                return c.choice;
            });
        const CPoint centre = button->GetSnapRect().CenterPoint();
        CanvasMouse(demo.view->GetCanvas(), QEvent::MouseButtonPress, centre);
        CanvasMouse(demo.view->GetCanvas(), QEvent::MouseButtonRelease, centre);
        EXPECT_EQ(entries, (std::vector<CString>{L"Stay", L"Go to trends", L"Nowhere"})) << c.choice;
        EXPECT_EQ(demo.view->GetCurrentScreen(), CString(c.screen)) << c.choice;
    }
}

TEST(PlayerRuntime, ASliderDraggedByTheMouseWritesItsVariableAndALabelShowsIt)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CExtDataModel* model = demo.Model();
    // The slider's groove runs from x 108 to 308 over 0 to 100.
    auto* slider =
        static_cast<CMyHorzSliderShape*>(AddRunShape(model, 624, CRect(100, 300, 316, 340), L"#Setpoint"));
    slider->SetMinValue(0);
    slider->SetMaxValue(100);
    auto* label = static_cast<CFOPSimpleLabelShape*>(
        AddRunShape(model, FO_COMP_SIMPLELABEL, CRect(340, 300, 460, 330), L"#Setpoint"));
    ASSERT_TRUE(PumpUntil([&] { return slider->GetCurValue() == 50 && label->GetDisplayText() == L"50"; }));
    QWidget* w = demo.view->GetCanvas()->GetClientWidget();
    const CRect labelRect = demo.view->GetCanvas()->CanvasToClient(label->GetSnapRect());
    const auto labelLook = [&]
    {
        AfxPumpMessages();
        return w->grab().toImage().copy(labelRect.left, labelRect.top, labelRect.Width(), labelRect.Height());
    };
    const QImage before = labelLook();

    const CPoint thumb = slider->GetThumbRect().CenterPoint();
    CanvasMouse(demo.view->GetCanvas(), QEvent::MouseButtonPress, thumb);
    CanvasMouse(demo.view->GetCanvas(), QEvent::MouseMove, CPoint(188, thumb.y));
    EXPECT_EQ(demo.Global(L"#Setpoint"), 40.0) << "a move writes the variable";
    CanvasMouse(demo.view->GetCanvas(), QEvent::MouseMove, CPoint(258, thumb.y));
    CanvasMouse(demo.view->GetCanvas(), QEvent::MouseButtonRelease, CPoint(258, thumb.y));
    EXPECT_EQ(demo.Global(L"#Setpoint"), 75.0);
    EXPECT_EQ(slider->GetCurValue(), 75);
    EXPECT_EQ(label->GetDisplayText(), CString(L"75"));
    // The label shows it on the screen too.
    EXPECT_NE(labelLook(), before);
}

// Every template the build writes, copied into a project as the new-project wizard copies it, loads its
// script in the player and runs each of the script's procedures without a script error.
TEST(PlayerRuntime, AProjectFromEachTemplateRunsItsScriptsWithoutAnError)
{
    QStringList templates;
    {
        InstallRoot probe;
        templates = QDir(probe.root + "/Template").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
    ASSERT_FALSE(templates.isEmpty());
    for (const QString& name : templates)
    {
        const QString project = "from" + name.toLower();
        RunningDemo demo(
            [&](const InstallRoot& root)
            {
                const QString source = root.root + "/Template/" + name;
                const QString target = root.root + "/User/" + project;
                for (const QString& sub : {QString("XdgFiles"), QString("ScriptFiles")})
                {
                    QDir().mkpath(target + "/" + sub);
                    for (const QString& file : QDir(source + "/" + sub).entryList(QDir::Files))
                        QFile::copy(source + "/" + sub + "/" + file, target + "/" + sub + "/" + file);
                }
                QFile::copy(source + "/" + name + ".dcp", target + "/" + project + ".dcp");
            },
            {project.toStdString()});
        ASSERT_NE(demo.view, nullptr) << name.toStdString();
        ASSERT_TRUE(demo.view->IsScriptLoaded()) << name.toStdString();
        CScriptObject* script = AfxGetPlexrunApp()->m_pScriptObject;
        ASSERT_NE(script, nullptr);
        ASSERT_GT(script->GetMethodsCount(), 0) << name.toStdString();
        MessageLog messages;
        for (int i = 0; i < script->GetMethodsCount(); ++i)
            demo.view->RunScriptProcedure(script->GetNameAt(i), L"Tank1", 0);
        EXPECT_TRUE(messages.texts.empty())
            << name.toStdString() << ": " << (messages.texts.empty() ? "" : messages.texts[0].ToUtf8());
    }
}
