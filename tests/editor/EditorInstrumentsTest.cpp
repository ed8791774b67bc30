// Instruments through the editor's frame: the toolbox's Instruments page, an instrument dragged onto
// a screen, its property pages on a double-click (one undo step, saved with the screen), a state
// that no longer loads, and the extra handles with the proxy's icons and tooltips.
#include "EditorAppSupport.h"

#include "activex/InstrumentPropPage.h"
#include "activex/OleControlWnd.h"
#include "editor/MyToolBoxWnd.h"
#include "editor/ToolBoxDefaults.h"
#include "figkit/FOAction.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOToolBoxPage.h"
#include "figkit/FOToolBoxWnd.h"
#include "instruments/FOiControlShape.h"
#include "mfc/OleDragDrop.h"
#include "support/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "symbols/NewVisualProxy.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

using namespace edapp_test;

namespace
{
void SendMouse(QWidget* w, QEvent::Type type, CPoint pt, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPointF local(pt.x, pt.y);
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A double-click as the window system gives it, to the window under the client point of the view
// (in design mode the instrument's own window, which takes no input and hands it on).
void DoubleClick(CView* view, CPoint pt)
{
    QWidget* canvas = view->GetClientWidget();
    QWidget* target = canvas->childAt(pt.x, pt.y);
    if (!target)
        target = canvas;
    const QPoint local = target->mapFrom(canvas, QPoint(pt.x, pt.y));
    const CPoint at(local.x(), local.y());
    SendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    SendMouse(target, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    AfxPumpMessages();
}

// The editor on User/Plant with an empty screen Main.xdg and the installed toolbox pages.
struct InstrumentEditor
{
    InstallRoot root;
    std::unique_ptr<DrawApp> draw;
    InstrumentEditor()
    {
        root.AddProject("Plant", {"Main.xdg"});
        EXPECT_TRUE(WriteDefaultToolBoxPages(ToCString(root.root + "/Shapes/")));
        {
            DrawApp maker(root, {});
            EXPECT_TRUE(maker.Start());
            EXPECT_TRUE(WriteScreen(maker.app, Screen(), 0));
        }
        draw = std::make_unique<DrawApp>(root,
                                         std::vector<std::string>{root.ProjectFile("Plant").toStdString()});
        EXPECT_TRUE(draw->Start());
        draw->Frame()->MoveWindow(0, 0, 1280, 860);
        AfxPumpMessages();
    }
    QString Screen() const { return root.ProjectFolder("Plant") + "/XdgFiles/Main.xdg"; }
    CQYRDrawApp& App() { return draw->app; }
    CQYRDrawView* Open()
    {
        auto* doc = dynamic_cast<CQYRDrawDoc*>(App().OpenDocumentFile(ToCString(Screen())));
        AfxPumpMessages();
        return doc ? dynamic_cast<CQYRDrawView*>(DrawApp::FirstView(doc)) : nullptr;
    }
    void Command(UINT nID) { draw->Frame()->SendMessage(WM_COMMAND, nID, 0); }
};

std::vector<CFOiControlShape*> Instruments(CFODataModel* model)
{
    std::vector<CFOiControlShape*> found;
    for (CFODrawShape* shape : *model->GetShapes())
        if (auto* instrument = dynamic_cast<CFOiControlShape*>(shape))
            found.push_back(instrument);
    return found;
}

// The settings the running control has.
CInstrumentSettings SettingsOf(CFOiControlShape* shape)
{
    IUnknown* unk = shape ? shape->GetOleIDispatch(TRUE) : nullptr;
    IDispatch* disp = nullptr;
    if (!unk || FAILED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))))
        return CInstrumentSettings();
    disp->Release();
    return static_cast<CInstrumentControl*>(disp)->Settings();
}

std::vector<BYTE> StateOf(const CFOiControlShape* shape)
{
    const CExtOcx& blob = shape->GetOcxData();
    return blob.GetData() ? std::vector<BYTE>(blob.GetData(), blob.GetData() + blob.GetLength())
                          : std::vector<BYTE>();
}
} // namespace

TEST(EditorInstruments, AnInstrumentFromItsPageIsSetOnItsPagesAndSavedWithTheScreen)
{
    InstrumentEditor ed;
    MessageLog log;
    CQYRDrawView* view = ed.Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();

    // The Instruments page, opened by its caption button: the 63 instruments under their names.
    CMyToolBoxWnd& box = ed.draw->Frame()->GetToolBox();
    int page = -1;
    for (int i = 0; i < box.GetPageCount(); ++i)
        if (box.GetPage(i)->GetObjectCaption() == L"Instruments")
            page = i;
    ASSERT_GE(page, 0);
    SendMouse(box.GetClientWidget(), QEvent::MouseButtonPress, box.GetCaptionRect(page).CenterPoint(),
              Qt::LeftButton, Qt::LeftButton);
    SendMouse(box.GetClientWidget(), QEvent::MouseButtonRelease, box.GetCaptionRect(page).CenterPoint(),
              Qt::LeftButton, Qt::NoButton);
    AfxPumpMessages();
    ASSERT_EQ(box.GetActiveIndex(), page);
    CFOToolBoxPage* instruments = box.GetCurrentPage();
    int count = 0;
    const INSTRUMENT_SHAPE_ROW* rows = InstrumentShapeRows(&count);
    ASSERT_EQ(instruments->GetItemCount(), 63);
    for (int i = 0; i < count; ++i)
    {
        EXPECT_EQ(instruments->GetItem(i)->GetType(), UINT(633 + i));
        EXPECT_EQ(instruments->GetItem(i)->GetCaption(), CString(rows[i].lpszCtrlName));
        EXPECT_GT(instruments->GetItem(i)->GetDefaultSize().cx, 0);
    }
    EXPECT_TRUE(box.GetWidget()->grab().toImage().save(QStringLiteral(QYR_INSTRUMENTS_PAGE_PNG)));

    // The angular gauge dragged onto the screen: a live control on its rectangle.
    const int gauge = 642 - 633;
    CFOToolBoxPageWnd* pageWnd = box.GetToolBoxWnd();
    // Scrolled down to it, a row at a time.
    const CRect shown(CPoint(0, 0), CSize(pageWnd->GetWidget()->width(), pageWnd->GetWidget()->height()));
    for (int row = 0; row < 63 && !shown.PtInRect(pageWnd->GetItemRect(gauge).BottomRight()); ++row)
        pageWnd->SetTopRow(row);
    const CPoint from = pageWnd->GetItemRect(gauge).CenterPoint();
    ASSERT_TRUE(shown.PtInRect(from));
    const CPoint dropAt = view->CanvasToClient(CPoint(300, 220));
    DWORD effect = DROPEFFECT_NONE;
    AfxDragDropHookFn old = AfxSetDragDropHook(
        [&](COleDataSource& source, DWORD allowed)
        {
            effect = AfxDragOverWindow(view, dropAt, source, allowed, 0, TRUE);
            return effect;
        });
    SendMouse(pageWnd->GetClientWidget(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(pageWnd->GetClientWidget(), QEvent::MouseMove, CPoint(from.x + 12, from.y + 12), Qt::NoButton,
              Qt::LeftButton);
    AfxSetDragDropHook(old);
    AfxPumpMessages();
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    std::vector<CFOiControlShape*> placed = Instruments(model);
    ASSERT_EQ(placed.size(), 1u);
    CFOiControlShape* shape = placed[0];
    EXPECT_EQ(shape->GetType(), 642u);
    EXPECT_EQ(shape->GetDrawRect(), CRect(220, 140, 380, 300));
    ASSERT_TRUE(shape->HasControl());
    EXPECT_FALSE(shape->GetCtrl()->IsWindowEnabled());
    const CInstrumentSettings defaults = SettingsOf(shape);

    // A double-click opens its pages; Cancel changes nothing and records nothing.
    const int undoBefore = model->GetUndoHistory()->GetUndoCount();
    int pages = 0;
    log.answer = [&](const AfxModalRequest& r)
    {
        if (dynamic_cast<CInstrumentPropPage*>(r.pDialog))
            ++pages;
        return int(IDCANCEL);
    };
    const CPoint centre = view->CanvasToClient(shape->GetDrawRect().CenterPoint());
    DoubleClick(view, centre);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(model->GetUndoHistory()->GetUndoCount(), undoBefore);
    EXPECT_EQ(shape->GetOcxData().GetLength(), 0u);

    // OK with a caption and a range: the control takes them as one undo step.
    log.answer = [&](const AfxModalRequest& r)
    {
        if (!dynamic_cast<CInstrumentPropPage*>(r.pDialog))
            return r.kind == AfxModalKind::MessageBox ? int(IDOK) : int(IDCANCEL);
        ++pages;
        r.pDialog->SetDlgItemText(IDC_INSTR_CAPTION, L"Reactor");
        r.pDialog->SetDlgItemText(IDC_INSTR_MAX, L"450");
        AfxPumpMessages();
        r.pDialog->GetWidget()->grab().toImage().save(QStringLiteral(QYR_INSTRUMENT_PROPS_PNG));
        return int(IDOK);
    };
    DoubleClick(view, centre);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(SettingsOf(shape).strCaption, CString(L"Reactor"));
    EXPECT_EQ(SettingsOf(shape).dMax, 450);
    EXPECT_EQ(model->GetUndoHistory()->GetUndoCount(), undoBefore + 1);
    EXPECT_TRUE(model->IsModified());
    const std::vector<BYTE> edited = StateOf(shape);
    EXPECT_FALSE(edited.empty());

    // Undo and Redo from the Edit menu take the control back and forth.
    ed.Command(ID_EDIT_UNDO);
    EXPECT_EQ(SettingsOf(shape).strCaption, defaults.strCaption);
    EXPECT_EQ(SettingsOf(shape).dMax, defaults.dMax);
    EXPECT_EQ(shape->GetOcxData().GetLength(), 0u);
    ed.Command(ID_EDIT_REDO);
    EXPECT_EQ(SettingsOf(shape).strCaption, CString(L"Reactor"));
    EXPECT_EQ(StateOf(shape), edited);

    // Saved from the File menu, closed and opened again: the control comes back as it was set.
    ed.Command(ID_FILE_SAVE);
    CDocument* doc = view->GetDocument();
    EXPECT_FALSE(doc->IsModified());
    doc->OnCloseDocument();
    AfxPumpMessages();
    view = ed.Open();
    ASSERT_NE(view, nullptr);
    placed = Instruments(view->GetCurrentModel());
    ASSERT_EQ(placed.size(), 1u);
    ASSERT_TRUE(placed[0]->HasControl());
    EXPECT_EQ(StateOf(placed[0]), edited);
    EXPECT_EQ(SettingsOf(placed[0]).strCaption, CString(L"Reactor"));
    EXPECT_EQ(SettingsOf(placed[0]).dMax, 450);
    EXPECT_TRUE(log.texts.empty());

    // The player's half of the test takes the screen from here.
    if (const QByteArray to = qgetenv("QYR_INSTRUMENT_SCREEN"); !to.isEmpty())
    {
        QFile::remove(QString::fromLocal8Bit(to));
        EXPECT_TRUE(QFile::copy(ed.Screen(), QString::fromLocal8Bit(to)));
    }
}

TEST(EditorInstruments, AStateThatNoLongerLoadsOpensThePagesOnDefaultsAndCancelKeepsIt)
{
    InstrumentEditor ed;
    MessageLog log;
    const std::vector<std::vector<BYTE>> states = {
        {'Q', 'I', 'S'},                    // a truncated stream of ours
        std::vector<BYTE>(700, BYTE(0xA5)), // another control's stream
    };
    for (const std::vector<BYTE>& state : states)
    {
        CQYRDrawView* view = ed.Open();
        ASSERT_NE(view, nullptr);
        CFODataModel* model = view->GetCurrentModel();
        for (CFOiControlShape* old : Instruments(model))
            model->RemoveShape(old);
        CRect rc(40, 40, 200, 200);
        CFOShapePtr<CFODrawShape> made =
            CFOShapePtr<CFODrawShape>::Adopt(model->DoCreateShapeByType(651, rc, CString()));
        auto* knob = dynamic_cast<CFOiControlShape*>(made.Get());
        ASSERT_NE(knob, nullptr);
        CExtOcx blob;
        blob.SetData(state.data(), DWORD(state.size()));
        knob->SetOcxData(blob);
        model->InsertShape(knob);
        ed.Command(ID_FILE_SAVE);
        view->GetDocument()->OnCloseDocument();
        AfxPumpMessages();

        view = ed.Open();
        ASSERT_NE(view, nullptr);
        model = view->GetCurrentModel();
        ASSERT_EQ(Instruments(model).size(), 1u);
        knob = Instruments(model)[0];
        ASSERT_TRUE(knob->HasControl());
        CString caption = L"?";
        log.answer = [&](const AfxModalRequest& r)
        {
            if (r.pDialog)
                r.pDialog->GetDlgItemText(IDC_INSTR_CAPTION, caption);
            return int(IDCANCEL);
        };
        DoubleClick(view, view->CanvasToClient(knob->GetDrawRect().CenterPoint()));
        EXPECT_EQ(caption, InstrumentDefaultSettings(EInstrumentRenderer::Dial, 11).strCaption);
        EXPECT_EQ(StateOf(knob), state);
        EXPECT_FALSE(view->GetDocument()->IsModified());
        view->GetDocument()->OnCloseDocument();
        AfxPumpMessages();
    }
    EXPECT_TRUE(log.texts.empty());
}

TEST(EditorInstruments, TheExtraHandlesShowTheProxysIconsAndTooltips)
{
    InstrumentEditor ed;
    CQYRDrawView* view = ed.Open();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(dynamic_cast<CNewVisualProxy*>(CFOPVisualProxy::GetInstance()), nullptr);
    CFODrawShape* shape = view->DoDropToolBoxItem(601, CPoint(200, 160));
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(view->GetSelectCount(), 1);
    // The library's key-value and connect handles and the view's event handle.
    const auto& items = view->GetSelectHandleItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].GetId(), UINT(FO_ADDI_KEY_VALUE));
    EXPECT_EQ(items[2].GetId(), UINT(ID_ADDI_EVENTS));
    view->Invalidate();
    AfxPumpMessages();
    QWidget* canvas = view->GetClientWidget();
    const QImage shot = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_INSTRUMENT_HANDLES_PNG)));

    // Each handle shows its icon where it is, pixel for pixel where the icon is opaque.
    const std::pair<int, UINT> icons[] = {{0, CNewVisualProxy::IDI_KEY_SETTING},
                                          {2, CNewVisualProxy::IDI_EVENT_SETTING}};
    for (const auto& [index, id] : icons)
    {
        const AFX_RESOURCE_DATA* data = AfxFindIconData(id);
        ASSERT_NE(data, nullptr);
        QImage icon;
        ASSERT_TRUE(icon.loadFromData(data->pData, int(data->nSize)));
        icon = icon.convertToFormat(QImage::Format_ARGB32);
        const CRect rc = view->GetSelectHandleItemRect(index);
        int opaque = 0, same = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(icon.pixel(x, y)) == 255)
                {
                    ++opaque;
                    same += QColor(shot.pixel(rc.left + x, rc.top + y)) == QColor(icon.pixel(x, y));
                }
        EXPECT_GT(opaque, 64) << id;
        EXPECT_EQ(same, opaque) << id;
    }

    // Their tooltips are the proxy's texts; the connect handle has none.
    const std::pair<int, QString> tips[] = {
        {0, QStringLiteral("Key Setting...")}, {1, QString()}, {2, QStringLiteral("Event Setting...")}};
    for (const auto& [index, text] : tips)
    {
        SendMouse(canvas, QEvent::MouseMove, view->GetSelectHandleItemRect(index).CenterPoint(), Qt::NoButton,
                  Qt::NoButton);
        EXPECT_EQ(canvas->toolTip(), text) << index;
    }
    // The option "Not allow any default port" is the application's, on at start: the library's
    // rectangles get no default ports until it is turned off.
    EXPECT_TRUE(ed.App().IsNoDefaultPorts());
    for (BOOL on : {FALSE, TRUE})
    {
        int shown = -1;
        CModalHookScope options(
            [&](const AfxModalRequest& r)
            {
                if (!r.pDialog)
                    return int(IDCANCEL);
                shown = int(r.pDialog->IsDlgButtonChecked(1001));
                r.pDialog->CheckDlgButton(1001, on ? BST_CHECKED : BST_UNCHECKED);
                return int(IDOK);
            });
        ed.Command(32830);
        EXPECT_EQ(shown, on ? 0 : 1);
        EXPECT_EQ(ed.App().IsNoDefaultPorts(), on);
        CFODrawShape* next = view->DoDropToolBoxItem(FO_COMP_RECTANGLE, CPoint(400, on ? 300 : 160));
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->GetPortCount(), on ? 0 : 4);
    }
}
