// What an operator meets on a running station: a switch to a screen file that cannot be read keeps
// the shown screen going and says why, file links open the file they name, and a screen larger than
// the window scrolls with its hosted controls.
#include "PlayerTestSupport.h"
#include "RunningDemo.h"
#include "support/ModalHook.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "mfc/ButtonCtl.h"
#include "mfc/Dialog.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "symbols/ExtGridWndShape.h"
#include "symbols/FOExtGridCtrl.h"
#include "symbols/LinkOpener.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <cfloat>
#include <cwchar>
#include <utility>
#include <vector>

using namespace player_test;

namespace
{
QString ScreensFolder(const InstallRoot& root)
{
    return root.root + "/Demo/demo/XdgFiles/";
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Records the message boxes and answers OK.
struct Messages
{
    std::vector<CString> texts;
    CModalHookScope scope{[this](const AfxModalRequest& r)
                          {
                              texts.push_back(r.strText);
                              return IDOK;
                          }};
};
} // namespace

TEST(PlayerOperator, ASwitchToAScreenThatCannotBeReadKeepsTheShownOneRunningAndSaysWhy)
{
    RunningDemo demo(
        [](const InstallRoot& root)
        {
            const QString folder = ScreensFolder(root);
            const QByteArray main = ReadBytes(folder + "Main.xdg");
            ASSERT_GT(main.size(), 100);
            WriteBytes(folder + "Cut.xdg", main.left(main.size() / 2));
            WriteBytes(folder + "Zero.xdg", QByteArray());
            // A project file where a screen should be: a record of another kind.
            WriteBytes(folder + "Foreign.xdg", ReadBytes(root.root + "/Demo/demo/demo.dcp"));
            WriteBytes(folder + "Noise.xdg", QByteArray(4000, '\x7f'));
            QDir().mkpath(folder + "Folder.xdg");
        });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_NE(demo.LiveRamp(), nullptr);
    CFODrawShape* any = demo.ByKey3(L"Simulation.Ramp");

    struct Case
    {
        const wchar_t* name;
        const wchar_t* reason; // a part of the message
        bool byClick;          // as a shape's event, else as a script's switch
    };
    const Case cases[] = {
        {L"Cut.xdg", L"Unexpected end of file", true},
        {L"Zero.xdg", L"Unexpected end of file", true},
        {L"Foreign.xdg", L"", true},
        {L"Noise.xdg", L"", true},
        {L"Folder.xdg", L"", true},
        {L"Gone.xdg", L"was not found", true},
        {L"Cut.xdg", L"Unexpected end of file", false},
        {L"Gone.xdg", L"was not found", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        const int groups = ServerGroupCount();
        Messages messages;
        if (c.byClick)
            demo.view->DoEventAtAllGeometryUp(any, 5, c.name);
        else
            EXPECT_FALSE(demo.view->LoadScreen(c.name));
        ASSERT_EQ(messages.texts.size(), 1u);
        const CString& text = messages.texts[0];
        EXPECT_NE(text.Find(L"Cannot show screen file ("), -1) << text.ToUtf8();
        EXPECT_NE(text.Find(c.name), -1) << text.ToUtf8();
        EXPECT_NE(text.Find(c.reason), -1) << text.ToUtf8();
        // The shown screen stays: its shapes, its binding and its values moving.
        EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Main.xdg"));
        EXPECT_EQ(demo.view->GetCurrentScreen(), CString(L"Main.xdg"));
        EXPECT_EQ(ServerGroupCount(), groups);
        EXPECT_TRUE(demo.MainScreenRuns());
    }

    // Names that are no screen file, and the screen shown, still change nothing and say nothing.
    Messages quiet;
    demo.view->DoEventAtAllGeometryUp(any, 5, L"Main.xdg");
    demo.view->DoEventAtAllGeometryUp(any, 5, L"Notes.txt");
    demo.view->DoEventAtAllGeometryUp(any, 5, CString());
    EXPECT_TRUE(quiet.texts.empty());
    // A screen whose extension is in capitals is a screen.
    ASSERT_TRUE(
        QFile::copy(ScreensFolder(demo.root) + "Details.xdg", ScreensFolder(demo.root) + "Upper.XDG"));
    demo.view->DoEventAtAllGeometryUp(any, 5, L"Upper.XDG");
    EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Upper.XDG"));
    EXPECT_TRUE(quiet.texts.empty());
}

TEST(PlayerOperator, FileLinksOpenTheFileTheyNameAsALocalFileUrl)
{
    RunningDemo demo(
        [](const InstallRoot& root)
        {
            const QString project = root.root + "/Demo/demo/";
            QDir().mkpath(project + "Docs/Sub Folder");
            for (const char* name : {"Docs/Manual One.pdf", "Docs/a#b.txt", "Docs/why?.txt",
                                     "Docs/50% off.txt", "Docs/Sub Folder/x.txt"})
                WriteBytes(project + name, "x");
            WriteBytes(root.root + "/Demo/Outside.txt", "x");
        });
    ASSERT_NE(demo.view, nullptr);
    std::vector<CString> opened;
    const LinkOpenerFn previous = SetLinkOpener(
        [&opened](const CString& address)
        {
            opened.push_back(address);
            return TRUE;
        });
    const QString project = demo.root.root + "/Demo/demo/";
    auto url = [](const QString& path)
    { return ToCString(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)); };
    struct Case
    {
        QString target;
        CString url; // empty: nothing opens
    };
    const Case cases[] = {
        {"Docs/Manual One.pdf", url(project + "Docs/Manual One.pdf")},
        {"docs\\manual one.pdf", url(project + "Docs/Manual One.pdf")},
        {"Docs/a#b.txt", url(project + "Docs/a#b.txt")},
        {"Docs/why?.txt", url(project + "Docs/why?.txt")},
        {"Docs/50% off.txt", url(project + "Docs/50% off.txt")},
        {"Docs/Sub Folder/../a#b.txt", url(project + "Docs/a#b.txt")},
        {"../Outside.txt", url(demo.root.root + "/Demo/Outside.txt")},
        {project + "Docs/a#b.txt", url(project + "Docs/a#b.txt")},
        {"Docs/Sub Folder", url(project + "Docs/Sub Folder")},
        {"Docs/Missing.pdf", CString()},
        {"", CString()},
    };
    CFODrawShape* any = demo.ByKey3(L"Simulation.Ramp");
    for (int kind : {3, 4})
        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.target.toStdString());
            opened.clear();
            demo.view->DoEventAtAllGeometryUp(any, kind, ToCString(c.target));
            if (c.url.IsEmpty())
                EXPECT_TRUE(opened.empty());
            else
            {
                ASSERT_EQ(opened.size(), 1u);
                EXPECT_EQ(opened[0], c.url) << opened[0].ToUtf8();
            }
        }
    SetLinkOpener(previous);
    // The encoded forms themselves.
    EXPECT_EQ(url(project + "Docs/a#b.txt").Right(15), CString(L"/Docs/a%23b.txt"));
    EXPECT_EQ(url(project + "Docs/why?.txt").Right(16), CString(L"/Docs/why%3F.txt"));
    EXPECT_EQ(url(project + "Docs/Manual One.pdf").Right(22), CString(L"/Docs/Manual%20One.pdf"));
}

TEST(PlayerOperator, ALargeScreenScrollsByBarWheelAndKeysAndItsHostedControlsMoveWithIt)
{
    RunningDemo demo(
        [](const InstallRoot& root)
        {
            CExtDataModel screen;
            screen.SetCanvasSize(CSize(3000, 2000));
            auto add = [&screen](UINT type, CRect rc, COLORREF colour)
            {
                CFODrawShape* shape = screen.DoCreateShapeByType(type, rc, CString());
                ASSERT_NE(shape, nullptr);
                screen.InsertShape(shape);
                shape->Release();
                shape->SetBrushType(FO_BRUSH_SOLID);
                shape->SetBkColor(colour);
                shape->SetObjectCaption(L"Corner");
            };
            add(FO_COMP_SIMPLELABEL, CRect(0, 0, 200, 60), RGB(0, 160, 0));
            add(FO_COMP_SIMPLELABEL, CRect(2800, 1940, 3000, 2000), RGB(200, 0, 0));
            CRect rc(2300, 1500, 2900, 1900);
            CFODrawShape* grid = screen.DoCreateShapeByType(606, rc, CString());
            ASSERT_NE(grid, nullptr);
            screen.InsertShape(grid);
            grid->Release();
            ASSERT_TRUE(screen.SaveDocument(ToCString(ScreensFolder(root) + "Large.xdg")));
        });
    ASSERT_NE(demo.view, nullptr);
    CQYRViewView* view = demo.view;
    demo.player.app.m_pMainWnd->MoveWindow(0, 0, 800, 600);
    ASSERT_TRUE(view->SwitchScreen(L"Large.xdg"));
    EXPECT_EQ(view->GetTotalSize(), CSize(3000, 2000));
    EXPECT_EQ(view->GetDeviceScrollPosition(), CPoint(0, 0));
    CRect client;
    view->GetClientRect(&client);
    ASSERT_LT(client.Width(), 3000);
    ASSERT_LT(client.Height(), 2000);
    CExtGridWndShape* gridShape = nullptr;
    for (CFODrawShape* s : *demo.Model()->GetShapes())
        if (auto* g = dynamic_cast<CExtGridWndShape*>(s))
            gridShape = g;
    ASSERT_NE(gridShape, nullptr);
    ASSERT_NE(gridShape->GetGridCtrl(), nullptr);
    QWidget* gridWidget = gridShape->GetGridCtrl()->GetWidget();
    QWidget* viewWidget = view->GetWidget();
    const QPoint gridAtStart = gridWidget->mapTo(viewWidget->window(), QPoint(0, 0));
    auto scrolled = [&] { return view->GetDeviceScrollPosition(); };

    // Page down and the wheel go down the screen; Home goes back.
    CRunCanvas* canvas = view->GetCanvas();
    canvas->SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    const int page = scrolled().y;
    EXPECT_GT(page, client.Height() / 2);
    EXPECT_LE(page, client.Height());
    canvas->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-WHEEL_DELTA))), 0);
    EXPECT_GT(scrolled().y, page);
    canvas->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_GT(scrolled().x, 0);
    canvas->SendMessage(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(scrolled().y, 0);

    // The bars to the end: the bottom right corner shows.
    view->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    view->SendMessage(WM_HSCROLL, SB_BOTTOM, 0);
    view->GetClientRect(&client);
    const CPoint end(3000 - client.Width(), 2000 - client.Height());
    EXPECT_EQ(scrolled(), end);
    // The hosted control moved with the screen, by as much as it scrolled.
    const QPoint gridAtEnd = gridWidget->mapTo(viewWidget->window(), QPoint(0, 0));
    EXPECT_EQ(gridAtStart - gridAtEnd, QPoint(end.x, end.y));
    EXPECT_TRUE(gridWidget->isVisible());

    PumpUntil([] { return false; }, 200);
    const QImage shot = demo.player.app.m_pMainWnd->GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_SCROLLED_PNG)));
    // The red corner label is drawn at the view's bottom right.
    const QImage inView = viewWidget->grab().toImage();
    const QColor corner = inView.pixelColor(client.Width() - 20, client.Height() - 10);
    EXPECT_EQ(corner, QColor(200, 0, 0));

    // Another screen starts at its top left.
    ASSERT_TRUE(view->SwitchScreen(L"Main.xdg"));
    EXPECT_EQ(scrolled(), CPoint(0, 0));
}

// Scroll bars show only in the direction where the screen is larger than the view's client; a
// screen that fits, even exactly, shows none.
TEST(PlayerOperator, ScrollBarsShowOnlyWhereTheScreenIsLargerThanTheView)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    CQYRViewView* view = demo.view;
    demo.player.app.m_pMainWnd->MoveWindow(0, 0, 800, 600);
    auto write = [&](const wchar_t* name, CSize size)
    {
        CExtDataModel screen;
        screen.SetCanvasSize(size);
        ASSERT_TRUE(screen.SaveDocument(ToCString(ScreensFolder(demo.root)) + name));
    };
    write(L"Tiny.xdg", CSize(100, 100));
    ASSERT_TRUE(view->SwitchScreen(L"Tiny.xdg"));
    AfxPumpMessages();
    CRect whole;
    view->GetClientRect(&whole);
    auto bars = [&]
    {
        std::pair<bool, bool> shown{false, false};
        for (const QScrollBar* bar : view->GetWidget()->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
            if (bar->isVisible())
                (bar->orientation() == Qt::Horizontal ? shown.first : shown.second) = true;
        return shown;
    };
    ASSERT_EQ(bars(), std::make_pair(false, false));
    const int w = whole.Width(), h = whole.Height();
    const struct
    {
        const wchar_t* name;
        CSize size;
        bool hbar, vbar;
    } cases[] = {
        {L"Fits.xdg", CSize(w - 60, h - 60), false, false},
        {L"Exact.xdg", CSize(w, h), false, false},
        {L"Wider.xdg", CSize(w + 1, h - 60), true, false},
        {L"Taller.xdg", CSize(w - 60, h + 1), false, true},
        {L"Both.xdg", CSize(w + 300, h + 300), true, true},
        {L"Tiny.xdg", CSize(100, 100), false, false},
    };
    for (const auto& c : cases)
    {
        const std::string name = CString(c.name).ToUtf8();
        write(c.name, c.size);
        ASSERT_TRUE(view->SwitchScreen(c.name)) << name;
        AfxPumpMessages();
        EXPECT_EQ(bars(), std::make_pair(c.hbar, c.vbar)) << name;
        CRect client;
        view->GetClientRect(&client);
        // A shown bar leaves the client smaller than the screen in its direction; none, the whole.
        if (!c.hbar && !c.vbar)
            EXPECT_EQ(client, whole) << name;
        if (c.hbar)
            EXPECT_LT(client.Width(), c.size.cx) << name;
    }
}

namespace
{
// Answers the entry dialogs: buttons clicked in order (keypad keys, "OFF" 1614, "ON" 1615) or a
// text typed, then the answer.
struct Entry
{
    explicit Entry(std::vector<UINT> clickIds, const CString& entered = CString(), int result = IDOK)
        : clicks(std::move(clickIds)), text(entered), answer(result)
    {
    }

    std::vector<UINT> clicks;
    CString text;
    int answer;
    std::vector<CString> captions;
    CModalHookScope scope{[this](const AfxModalRequest& r)
                          {
                              if (r.kind != AfxModalKind::Dialog || !r.pDialog)
                                  return IDOK;
                              CString caption;
                              r.pDialog->GetWindowText(caption);
                              captions.push_back(caption);
                              // As the mouse clicks them.
                              for (UINT id : clicks)
                                  if (CWnd* button = r.pDialog->GetDlgItem(int(id)))
                                      button->SendMessage(BM_CLICK);
                              if (!text.IsEmpty())
                                  r.pDialog->GetDlgItem(1001)->SetWindowText(text);
                              return answer;
                          }};
};

CFODrawShape* AddBound(CExtDataModel& screen, UINT type, CRect rc, const wchar_t* tag, int event,
                       const wchar_t* name)
{
    CFODrawShape* shape = screen.DoCreateShapeByType(type, rc, CString());
    if (!shape)
        return nullptr;
    screen.InsertShape(shape);
    shape->Release();
    shape->SetObjectName(name);
    if (tag[0] != L'#')
        shape->SetKeyId2(L"'Quendrel.OpcDaServer.1'");
    shape->SetKeyId3(tag);
    shape->SetEventType(event);
    return shape;
}
} // namespace

TEST(PlayerOperator, EntryAndRefreshPathsOfBoundShapes)
{
    RunningDemo demo(
        [](const InstallRoot& root)
        {
            CExtDataModel screen;
            auto label = [&](int row, const wchar_t* tag, int event, const wchar_t* name)
            {
                CFODrawShape* s = AddBound(screen, FO_COMP_SIMPLELABEL,
                                           CRect(20, 20 + 30 * row, 200, 44 + 30 * row), tag, event, name);
                if (s)
                {
                    s->SetBrushType(FO_BRUSH_SOLID);
                    s->SetBkColor(RGB(10, 20, 30));
                    s->SetPatternColor(RGB(200, 210, 220));
                }
            };
            label(0, L"Memory.BOOL", 22, L"Bool");
            label(1, L"Memory.BSTR", 22, L"Text");
            label(2, L"Memory.R8", 22, L"Number");
            label(3, L"#Setpoint", 22, L"Global");
            label(4, L"#Setpoint", 0, L"GlobalToo");
            AddBound(screen, 611, CRect(260, 20, 320, 80), L"Memory.BOOL", 22, L"Switch");
            const UINT ranges[] = {281, 284, 699};
            for (int i = 0; i < 3; ++i)
                if (CFODrawShape* s = AddBound(screen, ranges[i], CRect(260 + 70 * i, 120, 320 + 70 * i, 220),
                                               L"Memory.BOOL", 0, L"Range"))
                {
                    s->SetMinValue(10.0);
                    s->SetMaxValue(90.0);
                }
            ASSERT_TRUE(screen.SaveDocument(ToCString(ScreensFolder(root) + "Ops.xdg")));
        });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Ops.xdg"));
    auto named = [&](const wchar_t* name)
    {
        for (CFODrawShape* s : *demo.Model()->GetShapes())
            if (s->GetObjectName() == name)
                return s;
        return static_cast<CFODrawShape*>(nullptr);
    };
    std::vector<CFODrawShape*> rangeShapes;
    for (CFODrawShape* s : *demo.Model()->GetShapes())
        if (s->GetObjectName() == L"Range")
            rangeShapes.push_back(s);
    ASSERT_EQ(rangeShapes.size(), 3u);
    CFODrawShape* boolLabel = named(L"Bool");
    CFODrawShape* text = named(L"Text");
    CFODrawShape* number = named(L"Number");
    CFODrawShape* global = named(L"Global");
    CFODrawShape* globalToo = named(L"GlobalToo");
    CFODrawShape* sw = named(L"Switch");
    for (CFODrawShape* s : {boolLabel, text, number, global, globalToo, sw})
        ASSERT_NE(s, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return boolLabel->GetCurrentValue() != DBL_MIN; }));
    auto rangesShow = [&](double v)
    {
        for (CFODrawShape* s : rangeShapes)
            if (s->GetCurrentValue() != v)
                return false;
        return true;
    };

    // Event 22 on a boolean: the OFF/ON dialog; the boolean-range shapes show their maximum for
    // TRUE and their minimum for FALSE.
    {
        Entry on{{1615}};
        demo.view->DoEventAtAllGeometryUp(boolLabel, 22, CString());
        ASSERT_EQ(on.captions, std::vector<CString>{L"Enter new value"});
    }
    EXPECT_TRUE(PumpUntil([&] { return boolLabel->GetCurrentValue() != 0.0 && rangesShow(90.0); }));
    {
        Entry off{{1614}};
        demo.view->DoEventAtAllGeometryUp(boolLabel, 22, CString());
    }
    EXPECT_TRUE(PumpUntil([&] { return boolLabel->GetCurrentValue() == 0.0 && rangesShow(10.0); }));

    // Cancel gives the switch back the look of what its item holds.
    sw->SetCurrentValue(1.0);
    {
        Entry cancel{{1615}, CString(), IDCANCEL};
        demo.view->DoEventAtAllGeometryUp(sw, 22, CString());
        EXPECT_EQ(cancel.captions.size(), 1u);
    }
    EXPECT_EQ(sw->GetCurrentValue(), 0.0);

    // A text from "ab" to "Ab" is a change.
    {
        Entry ab{{}, L"ab"};
        demo.view->DoEventAtAllGeometryUp(text, 22, CString());
    }
    EXPECT_TRUE(PumpUntil([&] { return text->GetCurrentTextValue() == L"ab"; }));
    {
        Entry upper{{}, L"Ab"};
        demo.view->DoEventAtAllGeometryUp(text, 22, CString());
    }
    EXPECT_TRUE(PumpUntil([&] { return text->GetCurrentTextValue() == L"Ab"; }));

    // A value going to 0 shows the exchanged colours; back above 0 the designed ones.
    for (const wchar_t* entered : {L"5", L"0", L"3"})
    {
        Entry e{{}, entered};
        demo.view->DoEventAtAllGeometryUp(number, 22, CString());
        const double want = std::wcstod(entered, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return number->GetCurrentValue() == want; })) << want;
        const bool zero = want == 0.0;
        EXPECT_EQ(number->GetBkColor(), zero ? RGB(200, 210, 220) : RGB(10, 20, 30)) << want;
        EXPECT_EQ(number->GetPatternColor(), zero ? RGB(10, 20, 30) : RGB(200, 210, 220)) << want;
    }

    // A click on a shape bound to a global variable edits the variable, and every shape bound to it
    // shows the new value at once.
    {
        Entry e{{}, L"75"};
        demo.view->DoEventAtAllGeometryUp(global, 22, CString());
    }
    EXPECT_EQ(demo.Global(L"#Setpoint"), 75.0);
    EXPECT_EQ(global->GetCurrentValue(), 75.0);
    EXPECT_EQ(globalToo->GetCurrentValue(), 75.0);
}
