// Spin buttons with their buddy edit, progress bars, owner-drawn list boxes and list-control clicks.
#include "WndTestSupport.h"

#include "mfc/Dc.h"
#include "mfc/EditCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/ListCtrl.h"
#include "mfc/Notify.h"
#include "mfc/ProgressCtrl.h"
#include "mfc/SpinButtonCtrl.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <vector>

using namespace wndtest;

namespace
{
// Notes the scroll positions its spins report and the list notifications.
class CHost : public CWnd
{
public:
    std::vector<int> scrolls;
    std::vector<UINT> notes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL)
            scrolls.push_back(short(HIWORD(wParam)));
        if (message == WM_NOTIFY)
            notes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CDrawnList : public CListBox
{
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override { lpMIS->itemHeight = 23; }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        drawn.push_back(lpDIS->itemID);
        CDC* dc = CDC::FromHandle(lpDIS->hDC);
        dc->FillSolidRect(&lpDIS->rcItem,
                          (lpDIS->itemState & ODS_SELECTED) ? RGB(200, 0, 0) : RGB(0, 0, 200));
    }
    std::vector<UINT> drawn;
};
} // namespace

class SpinProgress : public CWndTestBase
{
};

TEST_F(SpinProgress, SpinStepsInsideItsRangeAndWritesItsBuddy)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 100), nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 80, 30), &host, 11));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_AUTOBUDDY, CRect(80, 10, 95, 30),
                            &host, 12));
    EXPECT_EQ(spin.GetBuddy(), &edit);
    spin.SetRange32(1, 5000);
    spin.SetPos32(4999);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString(L"4999"));
    spin.Step(+1);
    spin.Step(+1); // stops at the upper bound
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString(L"5000"));
    EXPECT_EQ((host.scrolls), (std::vector<int>{5000, 5000}));
    // A typed value is where the next step starts.
    edit.SetWindowText(L"12");
    spin.Step(-1);
    EXPECT_EQ(spin.GetPos32(), 11);
    spin.SetPos32(-7);
    EXPECT_EQ(spin.GetPos32(), 1);
    int lo = 0, hi = 0;
    spin.GetRange32(lo, hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 5000);
}

TEST_F(SpinProgress, ProgressBarKeepsItsPositionInRangeAndReturnsThePreviousOne)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 100), nullptr, 0));
    CProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 30), &host, 13));
    bar.SetRange(0, 200);
    EXPECT_EQ(bar.SetPos(50), 0);
    EXPECT_EQ(bar.OffsetPos(30), 50);
    EXPECT_EQ(bar.GetPos(), 80);
    EXPECT_EQ(bar.SetPos(999), 80);
    EXPECT_EQ(bar.GetPos(), 200);
    bar.SetStep(25);
    bar.SetPos(190);
    EXPECT_EQ(bar.StepIt(), 190);
    EXPECT_EQ(bar.GetPos(), 15); // past the end it starts over
    int lo = -1, hi = -1;
    bar.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 200);
}

TEST_F(SpinProgress, OwnerDrawnListBoxDrawsEveryRowAtTheHeightItMeasures)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 200), nullptr, 0));
    CDrawnList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                            CRect(0, 0, 200, 200), &host, 14));
    list.AddString(L"one");
    list.AddString(L"two");
    list.SetCurSel(1);
    host.ShowWindow(SW_SHOW);
    AfxPumpMessages();
    EXPECT_EQ(list.GetItemHeight(0), 23);
    list.drawn.clear();
    QImage image = list.GetWidget()->grab().toImage();
    EXPECT_EQ(list.drawn, (std::vector<UINT>{0, 1}));
    // Somewhere in the image is the selected row's red and the other row's blue.
    bool red = false, blue = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
        {
            red |= image.pixel(x, y) == qRgb(200, 0, 0);
            blue |= image.pixel(x, y) == qRgb(0, 0, 200);
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
}

TEST_F(SpinProgress, ListControlTellsClicksAndDoubleClicksAndCtrlAddsRows)
{
    CHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &host, 15));
    list.InsertColumn(0, L"A", LVCFMT_LEFT, 100);
    list.InsertItem(0, L"r0");
    list.InsertItem(1, L"r1");
    host.ShowWindow(SW_SHOW);
    CRect r0, r1;
    list.GetItemRect(0, &r0, LVIR_BOUNDS);
    list.GetItemRect(1, &r1, LVIR_BOUNDS);
    QWidget* w = list.GetWidget();
    const auto press = [w](QPoint p, QEvent::Type type, Qt::KeyboardModifiers mods)
    {
        QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton, Qt::LeftButton, mods);
        QApplication::sendEvent(w, &e);
    };
    press(QPoint(10, r0.top + 2), QEvent::MouseButtonPress, Qt::NoModifier);
    press(QPoint(10, r1.top + 2), QEvent::MouseButtonPress, Qt::ControlModifier);
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), UINT(LVIS_SELECTED));
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), UINT(LVIS_SELECTED));
    press(QPoint(10, r1.top + 2), QEvent::MouseButtonDblClick, Qt::NoModifier);
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), 0u);
    EXPECT_EQ(host.notes,
              (std::vector<UINT>{UINT(NM_CLICK), UINT(NM_CLICK), UINT(NM_CLICK), UINT(NM_DBLCLK)}));
}
