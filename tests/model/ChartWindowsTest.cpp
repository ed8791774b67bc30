#include "ModelTestSupport.h"

#include "figkit/FOGlobalData.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Dc.h"
#include "mfc/SysColor.h"
#include "model/ColorListCtrl.h"
#include "model/FOCpuUsageShape.h"
#include "model/FORealTimeWnd.h"
#include "model/MyListCtrlShape.h"
#include "model/MyPushChartShape.h"
#include "model/MyRealTimeChartShape.h"
#include "model/XVKDataModel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

using namespace model_test;

namespace
{
const wchar_t kPens[] = L"Level$FF0000,0,100,u,#level@Flow$0000FF,0,100,u,#flow";

COLORREF Pixel(const QImage& image, int x, int y)
{
    return AfxRefFromColor(image.pixelColor(x, y));
}

template <class T> T* Insert(CXVKDataModel& model, T* shape, CRect rc)
{
    shape->Create(rc);
    model.InsertShape(shape);
    return shape;
}

void Pump()
{
    for (int i = 0; i < 5; ++i)
        AfxPumpMessages();
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

class ChartWindows : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(ChartWindows, GalleryOnARealCanvasRendersToPng)
{
    CXVKDataModel model;
    model.SetPageBkColor(RGB(255, 255, 255));
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 860, 560)));
    canvas.SetCurrentModel(&model);
    canvas.SetDesignMode(FALSE);

    auto* push = Insert(model, new CMyPushChartShape, CRect(10, 10, 410, 250));
    push->SetBkColor(RGB(0, 0, 0));
    push->SetFontColor(RGB(255, 255, 255));
    push->SetPeekRange(-50, 150);
    push->AddLine(0, RGB(0, 255, 0), 2);
    push->AddLine(1, RGB(255, 128, 0), 1);
    push->ShowAsBar(1, TRUE);
    push->SetInterval(20);
    auto* cpu = Insert(model, new CFOCpuUsageShape, CRect(430, 10, 850, 250));
    cpu->SetBkColor(RGB(0, 0, 64));
    cpu->PutPropBoolValue(XVK_PROP_ANIMATION, FALSE); // steps come from the test, not the clock
    auto* trend = new CMyRealTimeChartShape;
    trend->DoAddCustProp();
    trend->PutPropStringValue(15009, kPens);
    trend->SetMinValue(0);
    trend->SetMaxValue(100);
    trend->SetBkColor(RGB(255, 255, 224));
    Insert(model, trend, CRect(10, 270, 500, 550));
    auto* list = Insert(model, new CMyListCtrlShape, CRect(520, 270, 850, 550));
    ASSERT_NE(trend->GetChartWnd(), nullptr);
    ASSERT_NE(list->GetListCtrl(), nullptr);
    // The rows take the library's shared small images and font.
    EXPECT_EQ(list->GetListCtrl()->GetImageList(LVSIL_SMALL), &gfxData.m_imageList);
    EXPECT_EQ(list->GetListCtrl()->GetFont(), &gfxData.m_fontRegular);
    canvas.ShowWindow(SW_SHOW);

    const int steps[2] = {1, 12};
    for (int shot = 0; shot < 2; ++shot)
    {
        for (int i = 0; i < steps[shot]; ++i)
        {
            const int k = shot * 20 + i;
            push->Push(-50 + (k * 37) % 200, 0);
            push->Push(k * 9 % 100, 1);
            cpu->DoAnimate();
            trend->UpdateLineData(L"#level", 50 + 40 * ((k % 4) - 1.5) / 1.5);
            trend->UpdateLineData(L"#flow", 10.0 + k * 3);
        }
        push->Update();
        cpu->Update();
        Pump();
        const QImage image = canvas.GetWidget()->grab().toImage();
        ASSERT_FALSE(image.isNull());
        image.save(QDir::homePath() + QString("/chart_gallery_%1.png").arg(shot));

        // The push chart's black face, the list's black cells with red text, the trend's face.
        EXPECT_EQ(Pixel(image, 400, 20), RGB(0, 0, 0));
        EXPECT_EQ(Pixel(image, 840, 20), RGB(0, 0, 64));
        CRect cell;
        ASSERT_TRUE(list->GetListCtrl()->GetCellRect(0, 2, cell, FALSE));
        EXPECT_EQ(Pixel(image, 520 + cell.right - 4, 270 + cell.top + 2), RGB(0, 0, 0));
        EXPECT_EQ(Pixel(image, 20, 280), RGB(255, 255, 224));
    }
    EXPECT_TRUE(list->GetListCtrl()->IsPainted());
    // Kept beside the pictures: a screen with every chart, a seed for the screen file fuzzer.
    EXPECT_TRUE(
        model.SaveDocument(CString::FromUtf8((QDir::homePath() + "/chart_gallery.xdg").toStdString())));
    // Twelve more steps: the trend cursor follows the newest sample while the span fills.
    EXPECT_EQ(trend->GetChartWnd()->GetSliderPos(), 26);
    EXPECT_TRUE(trend->GetChartWnd()->IsFilling());
    model.RemoveAllShapes();
}

TEST_F(ChartWindows, TrackbarMovesTheTrendCursorByMouse)
{
    CFOPDrawWnd parent;
    ASSERT_TRUE(parent.CreateCanvas(nullptr, CRect(0, 0, 600, 400)));
    CFORealTimeWnd wnd;
    ASSERT_EQ(wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), &parent, 7, kPens, 0, 100,
                         RGB(255, 255, 255)),
              1);
    CRTSlider& slider = wnd.GetSlider();
    EXPECT_EQ(slider.GetDlgCtrlID(), 12001);
    EXPECT_EQ(slider.GetRangeMax(), 30);
    EXPECT_FALSE(slider.IsWindowEnabled());
    parent.ShowWindow(SW_SHOW);
    for (int i = 0; i < 40; ++i)
    {
        const double v[2] = {double(i), 100.0 - i};
        wnd.UpdateMultiLine(2, v);
    }
    EXPECT_FALSE(wnd.IsFilling());
    EXPECT_TRUE(slider.IsWindowEnabled());
    EXPECT_EQ(wnd.GetSliderPos(), 30);
    EXPECT_EQ(wnd.GetClock(), 40000u);
    EXPECT_EQ(wnd.GetCursorClock(), 39000u);
    EXPECT_EQ(wnd.GetValueTexts()[0], L"39.0000");
    Pump();

    QWidget* w = slider.GetWidget();
    ASSERT_NE(w, nullptr);
    const int y = w->height() / 2;
    SendMouse(w, QEvent::MouseButtonPress, QPoint(w->width() - 4, y), Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, QPoint(w->width() / 3, y), Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(w->width() / 3, y), Qt::NoButton);
    const int pos = slider.GetPos();
    EXPECT_LT(pos, 20);
    EXPECT_GT(pos, 0);
    EXPECT_EQ(wnd.GetSliderPos(), pos);
    EXPECT_EQ(wnd.GetCursorClock(), DWORD(9000 + pos * 1000)); // the shown span is 9 s to 39 s
    CString expected;
    expected.Format(L"%.4f", double(9 + pos));
    EXPECT_EQ(wnd.GetValueTexts()[0], expected);
}

TEST_F(ChartWindows, FeedTimerDrawsEachLineFromTheGenerator)
{
    CFOPDrawWnd parent;
    ASSERT_TRUE(parent.CreateCanvas(nullptr, CRect(0, 0, 300, 200)));
    CFORealTimeWnd wnd;
    ASSERT_EQ(wnd.Create(WS_CHILD, CRect(0, 0, 300, 200), &parent, 7,
                         L"A$FF0000,0,200,u,#a@B$00FF00,-10,10,u,#b", 0, 100, 0),
              1);
    wnd.SendMessage(WM_TIMER, CFORealTimeWnd::FEED_TIMER);
    EXPECT_EQ(wnd.GetClock(), 1000u);
    // The generator seeded with 0.1 gives 0.50907171 and then 0.36592841.
    const CRealTime& engine = wnd.GetEngine();
    EXPECT_FLOAT_EQ(float(engine.SampleAt(0, 0)->dValue), 200.0f * 0x1.04a50cp-1f);
    EXPECT_FLOAT_EQ(float(engine.SampleAt(1, 0)->dValue), -10.0f + 20.0f * 0x1.76b5fp-2f);
    EXPECT_EQ(wnd.GetValueTexts()[0], L"50.9072"); // on the display range 0 to 100
}

TEST_F(ChartWindows, RefusedRangeShowsOneMessageAndStaysBlank)
{
    CFOPDrawWnd parent;
    ASSERT_TRUE(parent.CreateCanvas(nullptr, CRect(0, 0, 300, 200)));
    ModalRecorder boxes;
    CFORealTimeWnd wnd;
    EXPECT_EQ(wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7, kPens, 5, 5, 0), 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], L"Setting Range failed");
    EXPECT_TRUE(wnd.IsSetupFailed());
    wnd.Step();
    parent.ShowWindow(SW_SHOW);
    Pump();
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(ChartWindows, WindowFollowsItsShapeOnTheCanvas)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    canvas.SetCurrentModel(&model);
    auto* shape = Insert(model, new CMyListCtrlShape, CRect(10, 10, 330, 200));
    CColorListCtrl* list = shape->GetListCtrl();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetColumnWidth(0), 120);
    EXPECT_EQ(list->GetColumnWidth(1), 90);
    EXPECT_EQ(list->GetItemCount(), 10);
    EXPECT_EQ(list->GetItemText(3, 2), L"SubLine 3-2");
    EXPECT_FALSE(list->IsWindowEnabled());
    EXPECT_EQ(list->GetExtendedStyle(), DWORD(LVS_EX_FULLROWSELECT));
    shape->PositionShape(CRect(50, 60, 250, 160));
    CRect rc;
    list->GetWindowRect(&rc);
    canvas.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(50, 60, 250, 160));
    shape->SetVisible(FALSE);
    EXPECT_FALSE(list->IsWindowVisible());
    shape->SetParentWnd(nullptr);
    EXPECT_EQ(shape->GetWnd(), nullptr);
    model.RemoveAllShapes();

    // The canvas may go first: the windows go with it, the shapes stay.
    CXVKDataModel second;
    auto* other = new CFOPDrawWnd;
    ASSERT_TRUE(other->CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    other->SetCurrentModel(&second);
    auto* trend = Insert(second, new CMyRealTimeChartShape, CRect(0, 0, 300, 200));
    auto* again = Insert(second, new CMyListCtrlShape, CRect(0, 0, 300, 200));
    ASSERT_NE(trend->GetChartWnd(), nullptr);
    delete other;
    EXPECT_EQ(trend->GetWnd(), nullptr);
    EXPECT_EQ(again->GetWnd(), nullptr);
}

TEST_F(ChartWindows, ColorListRowsColumnsAndModes)
{
    CFOPDrawWnd parent;
    ASSERT_TRUE(parent.CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    CColorListCtrl list(3);
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 320, 200),
                            &parent, 5));
    CStringArray names;
    names.Add(L"a");
    names.Add(L"b");
    CByteArray widths;
    widths.Add(40);
    widths.Add(30);
    widths.Add(29);
    EXPECT_EQ(list.SetColumns(nullptr, &widths), 1);
    EXPECT_EQ(list.SetColumns(&names, &widths), 2);
    names.Add(L"c");
    CByteArray two;
    two.Add(50);
    two.Add(50);
    EXPECT_EQ(list.SetColumns(&names, &two), 3);
    EXPECT_EQ(list.SetColumns(&names, &widths), 4);
    EXPECT_EQ(list.GetColumnCount(), 0);
    widths[2] = 30;
    EXPECT_EQ(list.SetColumns(&names, &widths), 0);
    EXPECT_EQ(list.GetColumnWidth(2), 90);

    CStringArray texts;
    texts.Add(L"x");
    texts.Add(L"y");
    EXPECT_EQ(list.InsertRow(&texts, 0), -1);
    texts.Add(L"z");
    EXPECT_EQ(list.InsertRow(&texts, 0), 0);
    EXPECT_EQ(list.InsertRow(&texts, -1), 1); // appended
    EXPECT_FALSE(list.SetCellBackColor(7, 0, 3));
    EXPECT_TRUE(list.SetCellBackColor(7, 0, 2));
    EXPECT_EQ(list.GetRowParam(0)->m_aBack[2], 7);
    EXPECT_EQ(list.GetRowParam(0)->m_aText[0], 1);
    EXPECT_FALSE(list.SetCellTextColor(1, 9, 0));
    CRect cell;
    ASSERT_TRUE(list.GetCellRect(1, 1, cell, TRUE));
    CRect row;
    ASSERT_TRUE(list.GetRowRect(1, row, FALSE));
    EXPECT_EQ(cell, CRect(121, row.top + 1, 209, row.bottom - 1));
    list.DeleteAllRows();
    EXPECT_EQ(list.GetItemCount(), 0);

    const int system[] = {COLOR_WINDOW,        COLOR_WINDOWTEXT,      COLOR_ACTIVECAPTION,
                          COLOR_HIGHLIGHTTEXT, COLOR_INACTIVECAPTION, COLOR_INACTIVECAPTIONTEXT};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CColorListCtrl::ColorFromIndex(i), COLORREF(GetSysColor(system[i]))) << i;
    EXPECT_EQ(CColorListCtrl::ColorFromIndex(6), RGB(0, 0, 0));
    EXPECT_EQ(CColorListCtrl::ColorFromIndex(24), RGB(160, 160, 164));
    EXPECT_EQ(CColorListCtrl::ColorFromIndex(25), RGB(0, 128, 0));
    EXPECT_EQ(CColorListCtrl::ColorFromIndex(-1), RGB(0, 128, 0));
    struct Mode
    {
        BOOL disabled, grayed, listFocus, rowFocus, highlighted;
        int mode;
    };
    const Mode modes[] = {
        {1, 0, 1, 1, 0, 1}, {1, 0, 1, 0, 1, 2}, {1, 0, 1, 0, 0, 3}, {1, 0, 0, 1, 1, 4},
        {0, 1, 1, 1, 0, 3}, {0, 1, 1, 0, 1, 2}, {0, 1, 0, 0, 1, 4}, {0, 0, 1, 1, 1, 1},
        {0, 0, 1, 0, 1, 2}, {0, 0, 1, 0, 0, 3}, {0, 0, 0, 1, 1, 4}, {0, 0, 0, 1, 0, 3},
    };
    for (const Mode& m : modes)
        EXPECT_EQ(CColorListCtrl::DrawMode(m.disabled, m.grayed, m.listFocus, m.rowFocus, m.highlighted),
                  m.mode);
}

TEST_F(ChartWindows, CpuTimerRunsOnlyWhenPaintedAtRunTimeWithAnimationOn)
{
    struct Case
    {
        const char* name;
        BOOL design;
        int animation; // -1: no property 1924
        CRect rc;
        bool running;
    };
    const Case cases[] = {
        {"run, switch absent", FALSE, -1, CRect(0, 0, 200, 120), true},
        {"run, switch on", FALSE, 1, CRect(0, 0, 200, 120), true},
        {"run, switch off", FALSE, 0, CRect(0, 0, 200, 120), false},
        {"design mode", TRUE, 1, CRect(0, 0, 200, 120), false},
        {"21 x 21 is too small", FALSE, 1, CRect(0, 0, 21, 21), false},
        {"22 x 22 runs", FALSE, 1, CRect(0, 0, 22, 22), true},
    };
    for (const Case& c : cases)
    {
        CXVKDataModel model;
        CFOPDrawWnd canvas;
        ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 300, 200)));
        canvas.SetCurrentModel(&model);
        canvas.SetDesignMode(c.design);
        auto* cpu = new CFOCpuUsageShape;
        if (c.animation >= 0)
        {
            cpu->DoAddCustProp();
            cpu->PutPropBoolValue(XVK_PROP_ANIMATION, c.animation);
        }
        Insert(model, cpu, c.rc);
        QImage image(300, 200, QImage::Format_RGB32);
        {
            CImageDC dc(image);
            canvas.OnDraw(&dc);
        }
        EXPECT_EQ(cpu->GetTimerId() != -1, c.running) << c.name;
        EXPECT_EQ(canvas.GetShapeTimerCount(), c.running ? 1 : 0) << c.name;
        if (!c.running)
            continue;
        const int id = cpu->GetTimerId();
        CFOPDrawWnd::DispatchShapeTimer(id);
        EXPECT_EQ(cpu->GetLineAt(0)->samples.size(), 1u) << c.name;
        canvas.SetDesignMode(TRUE);
        {
            CImageDC dc(image);
            canvas.OnDraw(&dc);
        }
        EXPECT_EQ(cpu->GetTimerId(), -1) << c.name;
        canvas.SetDesignMode(FALSE);
        {
            CImageDC dc(image);
            canvas.OnDraw(&dc);
        }
        ASSERT_NE(cpu->GetTimerId(), -1);
        cpu->SetParentWnd(nullptr); // off its canvas
        EXPECT_EQ(cpu->GetTimerId(), -1) << c.name;
        cpu->SetParentWnd(&canvas);
        {
            CImageDC dc(image);
            canvas.OnDraw(&dc);
        }
        const int again = cpu->GetTimerId();
        ASSERT_NE(again, -1);
        model.RemoveAllShapes(); // destruction
        EXPECT_FALSE(CFOPDrawWnd::IsShapeTimerRunning(again)) << c.name;
    }
}

TEST_F(ChartWindows, ShapesRoundTripByClassNameAndTruncationFailsTheLoad)
{
    auto* push = new CMyPushChartShape;
    CRect rc(5, 6, 300, 200);
    push->Create(rc);
    push->ShowLabels(FALSE);
    push->SetPeekRange(-20, 80);
    push->SetGridSize(7);
    push->SetIncreaseValue(12.5);
    push->SetTimerRate(9);
    push->SetInterval(33);             // not stored
    push->SetLabelForMax(L"999");      // not stored
    push->AddLine(0, RGB(1, 2, 3), 1); // not stored
    auto* cpu = new CFOCpuUsageShape;
    cpu->Create(rc);
    auto* trend = new CMyRealTimeChartShape;
    trend->Create(rc);
    trend->DoAddCustProp();
    trend->PutPropStringValue(15009, kPens);
    auto* list = new CMyListCtrlShape;
    list->Create(rc);
    for (CFODrawShape* shape : std::initializer_list<CFODrawShape*>{push, cpu, trend, list})
    {
        shape->AddRef();
        const std::vector<BYTE> first = StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(shape); });
        CObject* loaded = nullptr;
        LoadBytes(first, [&](CArchive& ar) { ar >> loaded; });
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->GetRuntimeClass(), shape->GetRuntimeClass());
        const std::vector<BYTE> second = StoreBytes([&](CArchive& ar) { ar << loaded; });
        EXPECT_EQ(first, second) << shape->GetRuntimeClass()->m_lpszClassName;
        auto* back = static_cast<CFODrawShape*>(loaded);
        back->AddRef();
        if (auto* chart = dynamic_cast<CMyPushChartShape*>(back);
            chart && !dynamic_cast<CFOCpuUsageShape*>(back))
        {
            EXPECT_EQ(chart->GetMinPeek(), -20);
            EXPECT_EQ(chart->GetOffset(), 20);
            EXPECT_EQ(chart->GetGridSize(), 7);
            EXPECT_EQ(chart->GetIncreaseValue(), 12.5);
            EXPECT_EQ(chart->GetTimerRate(), 9);
            EXPECT_FALSE(chart->AreLabelsShown());
            EXPECT_EQ(chart->GetInterval(), 80);
            EXPECT_EQ(chart->GetLabelForMax(), L"100");
            EXPECT_EQ(chart->GetLineCount(), 0);
        }
        back->Release();
        for (size_t cut : {first.size() - 1, first.size() - 5, first.size() / 2})
        {
            const std::vector<BYTE> part(first.begin(), first.begin() + std::ptrdiff_t(cut));
            CObject* partial = nullptr;
            EXPECT_NE(ArchiveCause([&] { LoadBytes(part, [&](CArchive& ar) { ar >> partial; }); }), -2)
                << shape->GetRuntimeClass()->m_lpszClassName << " cut at " << cut;
        }
        shape->Release();
    }
}
