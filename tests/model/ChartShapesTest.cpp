#include "ModelTestSupport.h"

#include "figkit/FOTimeChartShape.h"
#include "mfc/Dc.h"
#include "model/ChartPointList.h"
#include "model/FOCpuUsageShape.h"
#include "model/FORealTimeWnd.h"
#include "model/MyPushChartShape.h"
#include "model/RndGen.h"
#include "model/XVKDataModel.h"
#include "model/XVKValueSet.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <random>

#include <vector>

using namespace model_test;

namespace
{
std::vector<int> Samples(const CMyPushChartShape& chart, UINT id)
{
    const FOP_PUSHLINE* line = chart.internal_LineFromID(id);
    return line ? std::vector<int>(line->samples.begin(), line->samples.end()) : std::vector<int>();
}

void Paint(CMyPushChartShape& chart, int w = 200, int h = 120)
{
    AfxEnsureApplication();
    QImage image(w, h, QImage::Format_RGB32);
    CImageDC dc(image);
    chart.OnDrawFlat(&dc);
}

class FixedSet : public CXVKValueSet
{
public:
    explicit FixedSet(std::vector<double> v) : m_values(std::move(v)) {}
    int FetchValues(double*& values, const wchar_t**& names) override
    {
        if (m_values.empty())
            return 0;
        values = new double[m_values.size()];
        names = new const wchar_t*[m_values.size()];
        for (size_t i = 0; i < m_values.size(); ++i)
            values[i] = m_values[i], names[i] = nullptr;
        return int(m_values.size());
    }
    std::vector<double> m_values;
};
} // namespace

TEST(PushChart, PushQueuesTheClampedValueCountedFromTheMinimum)
{
    struct Case
    {
        int minPeek, maxPeek, value, stored, offset;
    };
    const Case cases[] = {
        {-50, 50, 0, 50, 50}, {-50, 50, -80, 0, 50}, {-50, 50, 70, 100, 50},
        {0, 100, 10, 10, 0},  {0, 100, -5, 0, 0},    {0, 100, 150, 100, 0},
        {10, 100, 10, 0, 0},  {10, 100, 55, 45, 0},  {10, 100, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        CMyPushChartShape chart;
        chart.SetPeekRange(c.minPeek, c.maxPeek);
        chart.AddLine(3, RGB(1, 2, 3), 1);
        EXPECT_TRUE(chart.Push(c.value, 3));
        EXPECT_FALSE(chart.Push(c.value, 4));
        EXPECT_EQ(Samples(chart, 3), std::vector<int>{c.stored}) << c.minPeek << " " << c.value;
        EXPECT_EQ(chart.GetOffset(), c.offset);
    }
}

TEST(PushChart, LinesByIdAndTheTrimmingAtPaint)
{
    CMyPushChartShape chart;
    chart.AddLine(1, RGB(1, 0, 0), 1);
    chart.AddLine(1, RGB(2, 0, 0), 1);
    EXPECT_TRUE(chart.SetLineColor(RGB(9, 9, 9), 1));
    EXPECT_EQ(chart.GetLineAt(0)->crColor, RGB(1, 0, 0));
    EXPECT_EQ(chart.GetLineAt(1)->crColor, RGB(9, 9, 9));
    EXPECT_EQ(chart.GetLineColor(7), COLORREF(0));
    chart.RemoveLine(1);
    EXPECT_EQ(chart.GetLineCount(), 0);

    chart.SetGridSize(1);
    EXPECT_EQ(chart.GetGridSize(), 3);
    chart.SetGridSize(20);
    CRect rc(0, 0, 200, 120);
    chart.Create(rc);
    chart.AddLine(0, RGB(255, 0, 0), 1);
    chart.AddLine(1, RGB(0, 255, 0), 1);
    chart.ShowLabels(FALSE);
    chart.SetInterval(10);
    for (int i = 0; i < 40; ++i)
        chart.Push(i, 0);
    chart.Push(5, 1);
    EXPECT_EQ(chart.GetCapacity(), -1);
    Paint(chart);
    // (200 - 20) / 10 rounded up, plus 1; a line keeps one sample fewer.
    EXPECT_EQ(chart.GetCapacity(), 19);
    EXPECT_EQ(Samples(chart, 0).size(), 18u);
    EXPECT_EQ(Samples(chart, 0).back(), 39);
    EXPECT_EQ(Samples(chart, 1), std::vector<int>(18, 5)); // padded with its newest sample
    chart.Push(40, 0);
    chart.Push(41, 0);
    chart.Update(); // 20 samples, capacity 19: (0 - 2 x 10) mod 20
    EXPECT_EQ(chart.GetGridOffset(), 0);
    chart.Push(42, 0);
    chart.Update(); // 21 samples: (0 - 3 x 10) mod 20
    EXPECT_EQ(chart.GetGridOffset(), -10);
    chart.GeometryUpdated(nullptr);
    EXPECT_EQ(chart.GetCapacity(), -1);
}

TEST(PushChart, UnsafeStoredValuesDrawWithoutHanging)
{
    CMyPushChartShape chart;
    CRect rc(0, 0, 200, 120);
    chart.Create(rc);
    chart.AddLine(0, RGB(255, 0, 0), 1);
    chart.Push(50, 0);
    chart.SetInterval(0);
    chart.SetIncreaseValue(0.0);
    Paint(chart);
    EXPECT_EQ(chart.GetInterval(), 0);
    EXPECT_GT(chart.GetCapacity(), 0);
    chart.SetIncreaseValue(std::numeric_limits<double>::quiet_NaN());
    chart.SetTimerRate(-7);
    Paint(chart);
    EXPECT_TRUE(std::isnan(chart.GetIncreaseValue()));
    chart.SetIncreaseValue(1e-300);
    chart.SetGridSize(65535);
    chart.Push(100, 0);
    Paint(chart);
    EXPECT_EQ(chart.GetGridSize(), 65535);
}

TEST(PushChart, TimeLabelsStepWithTheColumns)
{
    CMyPushChartShape chart;
    const long long now = 1700000000;
    chart.SetTimerRate(10);
    chart.SetInterval(4); // below 40: (a - b - 1) x rate / 100, rounded
    EXPECT_EQ(chart.GenXAxisTextAt(now, 11, 0), chart.GenXAxisTextAt(now - 1, 1, 0));
    chart.SetInterval(80);
    chart.SetTimerRate(2);
    EXPECT_EQ(chart.GenXAxisTextAt(now, 4, 0), chart.GenXAxisTextAt(now - 4, 2, 0));
    chart.SetTimerRate(2000000000);
    EXPECT_EQ(chart.GenXAxisTextAt(now, 1000000, 0), L"Invalid DateTime");
    EXPECT_NE(chart.GenXAxisTextAt(now, 2, 0), L"Invalid DateTime");
}

TEST(PushChart, FeedsFromAValueSetOrTheBoundTag)
{
    CMyPushChartShape chart;
    chart.AddLine(0, 0, 1);
    chart.AddLine(1, 0, 1);
    EXPECT_FALSE(chart.UpdateChartData()); // no set, no tag
    chart.SetKeyId3(L"#level");
    chart.SetCurrentValue(42.9);
    EXPECT_TRUE(chart.UpdateChartData());
    EXPECT_EQ(Samples(chart, 0), std::vector<int>{42});
    FixedSet set({7.8, -3.2, 99});
    chart.SetItemData(static_cast<CObject*>(&set));
    EXPECT_TRUE(chart.UpdateChartData());
    EXPECT_EQ(Samples(chart, 0), (std::vector<int>{42, 7}));
    EXPECT_EQ(Samples(chart, 1), std::vector<int>{0}); // -3 clamped to the minimum
    FixedSet empty({});
    chart.SetItemData(static_cast<CObject*>(&empty));
    EXPECT_TRUE(chart.UpdateChartData());
    chart.SetItemData(nullptr);
}

TEST(CpuUsageChart, DemoLinesComeBackOnCreateAndLoadNotOnCopy)
{
    CFOCpuUsageShape cpu;
    EXPECT_EQ(cpu.GetType(), 623u);
    ASSERT_EQ(cpu.GetLineCount(), 2);
    EXPECT_EQ(cpu.GetLineColor(0), RGB(0, 255, 0));
    EXPECT_EQ(cpu.GetLineColor(1), RGB(255, 255, 0));
    std::unique_ptr<CFODrawShape> copy(cpu.Copy());
    EXPECT_EQ(static_cast<CFOCpuUsageShape*>(copy.get())->GetLineCount(), 0);
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { cpu.Serialize(ar); });
    CFOCpuUsageShape loaded;
    loaded.RemoveLine(0);
    loaded.RemoveLine(1);
    LoadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetLineCount(), 2);
    EXPECT_TRUE(cpu.DoAnimate());
    EXPECT_EQ(Samples(cpu, 0).size(), 1u);
    EXPECT_GE(Samples(cpu, 0)[0], 10);
}

// --- Point lists ---------------------------------------------------------------------------------

TEST(ChartPointList, MalformedTextsAreSkippedAndTheRestKeepTheirIds)
{
    struct Case
    {
        const wchar_t* text;
        bool result;
        // Push chart line ids with their colours.
        std::vector<std::pair<UINT, COLORREF>> lines;
        int minPeek, maxPeek;
    };
    const Case cases[] = {
        {L"", false, {}, 0, 100},
        {L"A$FF0000,-10,50,u,#a@B$00FF00,0,200,u,#b",
         true,
         {{0, RGB(255, 0, 0)}, {1, RGB(0, 255, 0)}},
         -10,
         200},
        // A short entry and an empty definition in the middle: skipped, the third stays line 2.
        {L"A$FF0000,0,10@B$@C$0000FF,0,30,u,#c", true, {{2, RGB(0, 0, 255)}}, 0, 30},
        {L"A$0000FF,0,10,u,#a@B$@C$00FF00,0,30,u,#c",
         true,
         {{0, RGB(0, 0, 255)}, {2, RGB(0, 255, 0)}},
         0,
         30},
        // Bad hex stops at the first non-digit; the rest of the colour stays 0.
        {L"X$12GG34,0,10,u,#x", true, {{0, RGB(0x12, 0, 0)}}, 0, 10},
        {L"X$ZZ0000,0,10,u,#x", true, {{0, RGB(0, 0, 0)}}, 0, 10},
        // No "$": the whole entry is the definition.
        {L"0A0B0C,5,9,u,#x", true, {{0, RGB(10, 11, 12)}}, 0, 9},
        // Equal bounds leave the peek range alone.
        {L"A$FFFFFF,0,0,u,#a", true, {{0, RGB(255, 255, 255)}}, 0, 100},
        {L"@@", true, {}, 0, 100},
    };
    for (const Case& c : cases)
    {
        CMyPushChartShape chart;
        EXPECT_EQ(chart.InitChart(c.text), c.result) << CString(c.text).ToUtf8();
        ASSERT_EQ(chart.GetLineCount(), int(c.lines.size())) << CString(c.text).ToUtf8();
        for (size_t i = 0; i < c.lines.size(); ++i)
        {
            EXPECT_EQ(chart.GetLineAt(int(i))->nLineId, c.lines[i].first);
            EXPECT_EQ(chart.GetLineAt(int(i))->crColor, c.lines[i].second);
            EXPECT_EQ(chart.GetLineAt(int(i))->nPenWidth, 2);
        }
        EXPECT_EQ(chart.GetMinPeek(), c.minPeek);
        EXPECT_EQ(chart.GetMaxPeek(), c.maxPeek);
        if (c.result)
        {
            EXPECT_EQ(chart.GetTimerRate(), 10);
            EXPECT_EQ(chart.GetInterval(), 4);
        }

        CFORealTimeWnd wnd;
        ASSERT_TRUE(wnd.GetEngine().InitialSetting(1.0, 0, 30, 120, 6, true));
        EXPECT_EQ(wnd.InitChart(c.text), c.result);
        for (const auto& [id, colour] : c.lines)
        {
            ASSERT_NE(wnd.GetEngine().GetLine(int(id)), nullptr);
            EXPECT_EQ(wnd.GetEngine().GetLine(int(id))->crColor, colour);
        }
        wnd.UpdateByName(L"#c", 12.5, c.text);
    }

    CMyPushChartShape white;
    EXPECT_TRUE(white.InitChart(nullptr));
    ASSERT_EQ(white.GetLineCount(), 1);
    EXPECT_EQ(white.GetLineColor(0), RGB(255, 255, 255));
    CArray<XVK_CHART_ENTRY> list;
    XVKGetChartPointList(list, L"n1$d1$x@d2");
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list[0].strName, L"n1");
    EXPECT_EQ(list[0].strDef, L"d1$x");
    EXPECT_EQ(list[1].strName, L"");
    EXPECT_EQ(list[1].strDef, L"d2");
}

// --- Trend engine --------------------------------------------------------------------------------

TEST(RndGen, GivesItsExactSequence)
{
    RndGen gen(0.1f);
    std::vector<float> got;
    for (int i = 0; i < 60; ++i)
        got.push_back(gen.randm());
    EXPECT_EQ(got[0], 0x1.04a50cp-1f);
    EXPECT_EQ(got[1], 0x1.76b5fp-2f);
    EXPECT_EQ(got[2], 0x1.64c4ap-2f);
    EXPECT_EQ(got[54], 0x1.4c8d1p-3f);
    EXPECT_EQ(got[59], 0x1.136324p-1f);
}

TEST(TrendEngine, RingOf121TicksShows31)
{
    CRealTime rt;
    ASSERT_TRUE(rt.InitialSetting(1.0, 0, 30, 120, 6, true));
    EXPECT_EQ(rt.GetCapacity(), 121);
    EXPECT_EQ(rt.GetVisiblePoints(), 31);
    EXPECT_EQ(rt.GetPages(), 4);
    ASSERT_TRUE(rt.AddLine(RGB(255, 0, 0), 0, 100, L"a", L"N/A", L"N/A", 0, 100, 5, 1));
    EXPECT_EQ(rt.GetLine(0)->nStyle, 2);
    ASSERT_TRUE(rt.InsertLine(0, 0, 0, 100, L"b", L"", L"", 0, 100, -1, 1));
    EXPECT_EQ(rt.GetLine(0)->nStyle, 0);
    EXPECT_FALSE(rt.InsertLine(5, 0, 0, 1, L"", L"", L"", 0, 1, 0, 1));
    rt.SetLineData(0, 7.0); // before any tick: the first tick's slot
    rt.SetLineData(9, 1.0); // unknown: ignored
    for (int i = 0; i < 200; ++i)
    {
        rt.AddTimeTick(DWORD(i * 1000));
        rt.SetLineData(0, i + 1);
    }
    EXPECT_TRUE(rt.IsFull());
    EXPECT_EQ(rt.GetTickCount(), 121);
    // The newest tick 199 s is the last shown point; the axis ends there.
    EXPECT_EQ(rt.GetTick(rt.RingIndexAt(30)), 199000u);
    EXPECT_EQ(rt.GetTick(rt.RingIndexAt(0)), 169000u);
    EXPECT_DOUBLE_EQ(rt.GetXMax(), 199000.0);
    EXPECT_DOUBLE_EQ(rt.GetXMin(), 169000.0);
    EXPECT_EQ(rt.SampleAt(0, rt.RingIndexAt(0))->dValue, 169.0);

    CRealTime first;
    ASSERT_TRUE(first.InitialSetting(1.0, 0, 30, 120, 6, true));
    first.AddLine(0, 0, 100, L"", L"", L"", 0, 100, 0, 1);
    first.SetLineData(0, 7.0);
    first.AddTimeTick(0);
    EXPECT_EQ(first.SampleAt(0, first.RingIndexAt(0))->dValue, 7.0);
    EXPECT_FALSE(first.SetRange(0, 5, 1, 5));
}

TEST(TrendEngine, NumberTextAndDisplayValues)
{
    EXPECT_EQ(CRealTimeDraw::NumberText(0.00000000001f, 2), L"0");
    EXPECT_EQ(CRealTimeDraw::NumberText(0.5f, 3), L"0.5");
    EXPECT_EQ(CRealTimeDraw::NumberText(2.5f, 1), L"2.500000000000");
    EXPECT_EQ(CRealTimeDraw::NumberText(42.0f, 0), L"42");
    CRealTime::Pen pen;
    pen.dMin = 0, pen.dMax = 200, pen.dDisplayLow = 0, pen.dDisplayHigh = 100;
    EXPECT_DOUBLE_EQ(CFORealTimeWnd::ToDisplay(pen, 50), 25.0);
    pen.dMin = pen.dMax = 10;
    EXPECT_DOUBLE_EQ(CFORealTimeWnd::ToDisplay(pen, 50), 0.0); // equal bounds: the display low
    CStr s(L"Tank 12");
    EXPECT_TRUE(s.Match(L"Tank ??"));
    EXPECT_TRUE(s.Match(L"T*2"));
    EXPECT_FALSE(s.Match(L"Tank ?"));
    s.SetNumber(2.0);
    EXPECT_EQ(CString(s.GetString()), L"2.0000000000000000");
}

TEST(TrendEngine, BackwardDrawingAsksBeforeSwitching)
{
    for (const int answer : {IDYES, IDNO})
    {
        ModalRecorder boxes(answer);
        CRealTime rt;
        EXPECT_EQ(rt.InitialSetting(1.0, 50000, 30, 120, 6, false), answer == IDYES);
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0].Left(20), L"<1000 * TimeSpan - S");
    }
    ModalRecorder none;
    CRealTime rt;
    EXPECT_TRUE(rt.InitialSetting(1.0, 1000, 30, 120, 6, false));
    EXPECT_TRUE(none.texts.empty());
}

TEST(ChartScreens, CutOrFlippedFilesFailCleanlyOrDraw)
{
    AfxEnsureApplication();
    QTemporaryDir dir;
    CXVKDataModel model;
    for (UINT type : {615u, 623u})
    {
        CRect rc(int(type) - 615, 0, int(type) - 415, 120);
        CFODrawShape* s = model.DoCreateShapeByType(type, rc, CString());
        static_cast<CMyPushChartShape*>(s)->AddLine(0, RGB(255, 0, 0), 1);
        static_cast<CMyPushChartShape*>(s)->Push(30, 0);
        model.InsertShape(s);
        s->Release();
    }
    const CString good = TempPath(dir, "charts.xdg");
    ASSERT_TRUE(model.SaveDocument(good));
    const QByteArray bytes = ReadAll(good);
    const CString path = TempPath(dir, "damaged.xdg");
    std::mt19937 rng(615);
    QImage image(300, 140, QImage::Format_RGB32);
    for (int i = 0; i < 300; ++i)
    {
        QByteArray damaged = bytes;
        if (i < 100)
            damaged.truncate(int(rng() % uint32_t(bytes.size())));
        else
            for (int k = 0; k < 4; ++k)
                damaged[int(rng() % uint32_t(bytes.size()))] = char(rng());
        WriteAll(path, damaged);
        CXVKDataModel target;
        if (!target.OpenDocument(path))
        {
            ASSERT_EQ(target.GetShapeCount(), 0) << i;
            continue;
        }
        CImageDC dc(image);
        target.OnDraw(&dc, CRect(0, 0, 300, 140));
    }
}

TEST(PushChart, ALineInThePlotAreasColourDrawsInTheOpposite)
{
    // Bound in the editor, a chart's line takes the shape's line colour, black, as its grid is.
    AfxEnsureApplication();
    CMyPushChartShape chart;
    CRect rc(0, 0, 200, 120);
    chart.Create(rc);
    ASSERT_TRUE(chart.InitChart(L"Chart$000000,0,100,Chart,Simulation.Ramp"));
    EXPECT_EQ(chart.GetLineAt(0)->crColor, COLORREF(0)) << "the line keeps the colour it was given";
    chart.ShowLabels(FALSE);
    for (int v : {10, 30, 50, 70, 90})
        chart.Push(v, 0);
    QImage image(200, 120, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        CImageDC dc(image);
        chart.OnDrawFlat(&dc);
    }
    int white = 0;
    for (int y = 20; y < 120; ++y)
        for (int x = 0; x < 180; ++x)
            white += image.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 20) << "the trace shows over the black plot";
}

TEST(TimeChart, OneLinePerTagAndOnlyTheSamplesItIsGiven)
{
    CFOTimeChartShape chart;
    chart.AddLine(L"Simulation.Ramp", RGB(0, 0, 255));
    // A value set on the shape (each change of a bound tag) is no sample.
    chart.SetCurrentValue(5.0);
    chart.SetCurrentValue(6.0);
    EXPECT_EQ(chart.GetSampleCount(0), 0);
    const wchar_t* names[] = {L"simulation.ramp", L"#Setpoint", nullptr};
    const double first[] = {FO_NO_VALUE, 50.0, 1.0};
    chart.UpdateMultiLineData(3, names, first);
    const double second[] = {12.5, 51.0, std::nan("")};
    chart.UpdateMultiLineData(3, names, second);
    ASSERT_EQ(chart.GetLineCount(), 3);
    EXPECT_EQ(chart.GetLineName(0), CString(L"Simulation.Ramp")) << "names match without regard to case";
    EXPECT_EQ(chart.GetSampleCount(0), 1) << "the mark of no value yet is no sample";
    EXPECT_EQ(chart.GetSample(0, 0), 12.5);
    EXPECT_EQ(chart.GetSampleCount(1), 2);
    EXPECT_EQ(chart.GetSample(1, 1), 51.0);
    EXPECT_EQ(chart.GetSampleCount(2), 1) << "a value that is no number is skipped";
    EXPECT_EQ(chart.GetSampleCount(7), 0);
    // Without names, lines by their place.
    const double third[] = {20.0};
    chart.UpdateMultiLineData(1, nullptr, third);
    EXPECT_EQ(chart.GetSample(0, 1), 20.0);
    for (int i = 0; i < CFOTimeChartShape::MAX_SAMPLES + 10; ++i)
        chart.UpdateMultiLineData(1, nullptr, third);
    EXPECT_EQ(chart.GetSampleCount(0), int(CFOTimeChartShape::MAX_SAMPLES));
}
