#include "WndTestSupport.h"

#include "mfc/Dc.h"
#include "mfc/ListCtrl.h"
#include "mfc/SliderCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <vector>

using namespace wndtest;

namespace
{
class CHost : public CWnd
{
};

// Remembers the rows it was asked to draw and the releases it got.
class CRecordingList : public CListCtrl
{
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn.push_back(*lpDIS); }
    std::vector<DRAWITEMSTRUCT> drawn;
};

class CRecordingSlider : public CSliderCtrl
{
public:
    void OnLButtonUp(UINT, CPoint) override { released.push_back(GetPos()); }
    std::vector<int> released;
};

void Click(QWidget* w, QPoint p)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}
} // namespace

class CommonCtrl : public CWndTestBase
{
};

TEST_F(CommonCtrl, TrackbarKeepsRangePositionAndPageAndReportsReleases)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 100), nullptr, 0));
    CRecordingSlider slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS, CRect(10, 10, 210, 40), &host, 12));
    slider.SetRange(-5, 25);
    EXPECT_EQ(slider.GetRangeMin(), -5);
    EXPECT_EQ(slider.GetRangeMax(), 25);
    slider.SetPos(40); // kept inside the range
    EXPECT_EQ(slider.GetPos(), 25);
    slider.SetPageSize(3);
    EXPECT_EQ(slider.GetPageSize(), 3);
    host.ShowWindow(SW_SHOW);
    Click(slider.GetWidget(), QPoint(5, 15));
    ASSERT_EQ(slider.released.size(), 1u);
    EXPECT_EQ(slider.released[0], slider.GetPos());
}

TEST_F(CommonCtrl, OwnerDrawnReportListDrawsEachRowThroughDrawItem)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CRecordingList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &host, 21));
    EXPECT_EQ(list.InsertColumn(0, L"A", LVCFMT_LEFT, 100), 0);
    EXPECT_EQ(list.InsertColumn(1, L"B", LVCFMT_LEFT, 80), 1);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.InsertItem(0, L"r0"), 0);
    EXPECT_EQ(list.InsertItem(-1, L"r1"), 1); // appended
    EXPECT_EQ(list.InsertItem(0, L"r-"), 0);
    EXPECT_TRUE(list.SetItemText(2, 1, L"r1b"));
    EXPECT_FALSE(list.SetItemText(3, 0, L"none"));
    EXPECT_EQ(list.GetItemText(2, 1), L"r1b");
    EXPECT_EQ(list.GetItemText(1, 0), L"r0");
    EXPECT_TRUE(list.SetItemData(1, 77));
    EXPECT_EQ(list.GetItemData(1), 77u);
    list.ModifyStyle(0, LVS_OWNERDRAWFIXED);
    host.ShowWindow(SW_SHOW);
    QImage image(300, 200, QImage::Format_RGB32);
    list.GetWidget()->render(&image);
    ASSERT_EQ(list.drawn.size(), 3u);
    EXPECT_EQ(list.drawn[1].itemID, 1u);
    EXPECT_EQ(list.drawn[1].itemData, 77u);
    EXPECT_EQ(list.drawn[1].CtlID, 21u);
    CRect row;
    ASSERT_TRUE(list.GetItemRect(1, &row, LVIR_BOUNDS));
    EXPECT_EQ(CRect(list.drawn[1].rcItem), row);
    EXPECT_EQ(row.top, list.GetHeaderHeight() + row.Height());

    // A click selects and focuses one row.
    Click(list.GetWidget(), QPoint(20, row.top + 2));
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED), UINT(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), 0u);
    list.drawn.clear();
    list.GetWidget()->render(&image);
    ASSERT_EQ(list.drawn.size(), 3u);
    EXPECT_EQ(list.drawn[1].itemState, UINT(ODS_SELECTED | ODS_FOCUS));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

namespace
{
void ClickWith(QWidget* w, QPoint p, Qt::KeyboardModifiers mods)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                      Qt::LeftButton, mods);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                        Qt::NoButton, mods);
    QApplication::sendEvent(w, &release);
}

std::vector<int> Selected(const CListCtrl& list)
{
    std::vector<int> rows;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
        rows.push_back(list.GetNextSelectedItem(pos));
    return rows;
}
} // namespace

TEST_F(CommonCtrl, ReportListSelectsSeveralRowsSwapsAndFindsThem)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &host, 22));
    list.InsertColumn(0, L"State Item", LVCFMT_LEFT, 100);
    list.InsertColumn(1, L"Text", LVCFMT_LEFT, 180);
    const LPCWSTR names[] = {L"STATE_0", L"STATE_1", L"Pump10", L"Pump1", L"STATE_2"};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(i, list.InsertItem(i, names[i], i % 2));
        list.SetItemText(i, 1, CString(L"body") + names[i]);
        list.SetItemData(i, DWORD_PTR(100 + i));
    }
    EXPECT_EQ(1, list.GetItemImage(3));
    host.ShowWindow(SW_SHOW);
    auto rowY = [&](int i)
    {
        CRect rc;
        list.GetItemRect(i, &rc, LVIR_BOUNDS);
        return rc.top + 2;
    };

    // Click, Ctrl+click, Shift+click.
    struct Step
    {
        int row;
        Qt::KeyboardModifiers mods;
        std::vector<int> selected;
    } steps[] = {
        {1, Qt::NoModifier, {1}},      {3, Qt::ControlModifier, {1, 3}},
        {1, Qt::ControlModifier, {3}}, {4, Qt::ShiftModifier, {1, 2, 3, 4}},
        {4, Qt::NoModifier, {4}},
    };
    for (const Step& s : steps)
    {
        ClickWith(list.GetWidget(), QPoint(20, rowY(s.row)), s.mods);
        EXPECT_EQ(s.selected, Selected(list)) << s.row;
        EXPECT_EQ(UINT(s.selected.size()), list.GetSelectedCount());
        EXPECT_EQ(s.selected.front(), list.GetNextItem(-1, LVNI_SELECTED));
    }
    EXPECT_EQ(4, list.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_TRUE(list.EnsureVisible(4, FALSE));
    EXPECT_FALSE(list.EnsureVisible(5, FALSE));

    // A swap takes both columns, the data, the image and the selection along.
    ASSERT_TRUE(list.SwapItems(3, 4));
    EXPECT_EQ(CString(L"STATE_2"), list.GetItemText(3, 0));
    EXPECT_EQ(CString(L"bodySTATE_2"), list.GetItemText(3, 1));
    EXPECT_EQ(DWORD_PTR(104), list.GetItemData(3));
    EXPECT_EQ(0, list.GetItemImage(3));
    EXPECT_EQ(UINT(LVIS_SELECTED), list.GetItemState(3, LVIS_SELECTED));
    EXPECT_EQ(0u, list.GetItemState(4, LVIS_SELECTED));
    EXPECT_EQ(CString(L"Pump1"), list.GetItemText(4, 0));
    EXPECT_FALSE(list.SwapItems(0, 5));

    // Exact and prefix search over column 0, and by data.
    struct Find
    {
        UINT flags;
        LPCWSTR text;
        LPARAM data;
        int start;
        int expected;
    } finds[] = {
        {LVFI_STRING, L"pump1", 0, -1, 4},
        {LVFI_STRING | LVFI_PARTIAL, L"Pump1", 0, -1, 2},
        {LVFI_STRING | LVFI_PARTIAL, L"Pump1", 0, 2, 4},
        {LVFI_STRING, L"STATE_0", 0, 1, -1},
        {LVFI_STRING | LVFI_WRAP, L"STATE_0", 0, 1, 0},
        {LVFI_STRING, L"Pump", 0, -1, -1},
        {LVFI_PARAM, nullptr, 104, -1, 3},
    };
    for (const Find& f : finds)
    {
        LVFINDINFO info = {f.flags, f.text, f.data};
        EXPECT_EQ(f.expected, list.FindItem(&info, f.start)) << (f.text ? f.text : L"(data)");
    }

    // A single-selection list ignores Ctrl and Shift.
    list.ModifyStyle(0, LVS_SINGLESEL);
    ClickWith(list.GetWidget(), QPoint(20, rowY(0)), Qt::NoModifier);
    ClickWith(list.GetWidget(), QPoint(20, rowY(2)), Qt::ShiftModifier);
    EXPECT_EQ(std::vector<int>{2}, Selected(list));
}

TEST_F(CommonCtrl, AReportListLargerThanItsWindowScrollsBothWays)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CRecordingList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 150, 120),
                            &host, 22));
    list.InsertColumn(0, L"Wide", LVCFMT_CENTER, 600);
    for (int i = 0; i < 40; ++i)
        list.InsertItem(i, L"row");
    host.ShowWindow(SW_SHOW);
    QImage image(150, 120, QImage::Format_RGB32);
    list.GetWidget()->render(&image);
    const QList<QScrollBar*> bars = list.GetWidget()->findChildren<QScrollBar*>();
    ASSERT_EQ(bars.size(), 2);
    QScrollBar* across = bars[0]->orientation() == Qt::Horizontal ? bars[0] : bars[1];
    QScrollBar* down = across == bars[0] ? bars[1] : bars[0];
    EXPECT_FALSE(across->isHidden());
    EXPECT_FALSE(down->isHidden());
    EXPECT_GT(across->maximum(), 600 - 150);
    EXPECT_GT(down->maximum(), 30);

    // Scrolled down by five rows: the sixth row sits under the header, is drawn first and takes
    // the click there.
    down->setValue(5);
    CRect row;
    ASSERT_TRUE(list.GetItemRect(5, &row, LVIR_BOUNDS));
    EXPECT_EQ(row.top, list.GetHeaderHeight());
    list.drawn.clear();
    list.GetWidget()->render(&image);
    ASSERT_FALSE(list.drawn.empty());
    EXPECT_EQ(list.drawn.front().itemID, 5u);
    Click(list.GetWidget(), QPoint(20, row.top + 2));
    EXPECT_EQ(list.GetItemState(5, LVIS_SELECTED), UINT(LVIS_SELECTED));

    // EnsureVisible scrolls the least distance that shows the row, either way.
    ASSERT_TRUE(list.EnsureVisible(30, FALSE));
    ASSERT_TRUE(list.GetItemRect(30, &row, LVIR_BOUNDS));
    EXPECT_GE(row.top, list.GetHeaderHeight());
    EXPECT_LE(row.bottom, 120 - across->height());
    EXPECT_GT(row.bottom + row.Height(), 120 - across->height());
    ASSERT_TRUE(list.EnsureVisible(2, FALSE));
    EXPECT_EQ(down->value(), 2);
    EXPECT_FALSE(list.EnsureVisible(40, FALSE));

    // Rows and columns that fit leave the bars hidden.
    list.DeleteAllItems();
    list.SetColumnWidth(0, 100);
    list.InsertItem(0, L"one");
    list.GetWidget()->render(&image);
    EXPECT_TRUE(across->isHidden());
    EXPECT_TRUE(down->isHidden());
}
