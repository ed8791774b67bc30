#include "foundation/ProgressWnd.h"

#include "mfc/ButtonCtl.h"
#include "mfc/Wnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <vector>

class ProgressWnd : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(ProgressWnd, ValueStopsAtFullScaleAndUnchangedWidthsDrawNothing)
{
    CProgressWnd w;
    EXPECT_EQ(w.GetCurrentPercentScale(), -1);
    w.SetTitle(L"Loading svg data...");
    w.SetMessage(L"This is a progress window to see how it turns out.");
    w.SetFullScale(1000);
    w.Show(nullptr);
    ASSERT_TRUE(w.IsShowing());
    EXPECT_EQ(w.GetCurrentPercentScale(), 0);
    w.UpdateProgress(500);
    EXPECT_EQ(w.GetCurrentPercentScale(), 50);
    const int draws = w.GetBarDrawCount();
    w.UpdateProgress(1); // less than a pixel
    EXPECT_EQ(w.GetBarDrawCount(), draws);
    w.UpdateProgress(5000);
    EXPECT_EQ(w.GetCurrentValue(), 1000u);
    EXPECT_EQ(w.GetCurrentPercentScale(), 100);
    EXPECT_EQ(w.GetLastBarWidth(), w.GetBarRect().Width());
    w.SetFullScale(0);
    EXPECT_EQ(w.GetCurrentPercentScale(), -1);
    w.Hide();
    EXPECT_FALSE(w.IsShowing());
    // Shown again, the value starts over.
    w.SetFullScale(10);
    w.Show(nullptr);
    EXPECT_EQ(w.GetCurrentValue(), 0u);
    w.SetFullScale(0);
    w.UpdateProgress(1);
    EXPECT_EQ(w.GetLastBarWidth(), w.GetBarRect().Width());
}

TEST_F(ProgressWnd, SettingsBeforeShowingAndTheSharedCancelLabel)
{
    CProgressWnd a, b;
    a.SetBarStyle(3);
    EXPECT_EQ(a.GetBarStyle(), 1);
    a.SetBarStyle(0);
    a.SetCanCancelFlag(TRUE);
    a.Show(nullptr);
    a.SetBarStyle(2);
    EXPECT_EQ(a.GetBarStyle(), 0);
    ASSERT_NE(a.GetCancelButton(), nullptr);
    b.SetCancelText(L"Stop");
    EXPECT_EQ(CProgressWnd::GetCancelText(), CString(L"Stop"));
    a.SetCancelText(L"Cancel");
    // Cancel without the flag does nothing; with it the flag is set.
    b.Show(nullptr);
    EXPECT_EQ(b.GetCancelButton(), nullptr);
    a.GetCancelButton()->Click();
    EXPECT_TRUE(a.WasCancelled());
    a.Hide();
    EXPECT_TRUE(a.WasCancelled());
    EXPECT_FALSE(a.WasCancelled());
    // The window paints its message and bar.
    b.SetFullScale(4);
    b.UpdateProgress(2);
    QWidget* widget = b.GetWidget();
    ASSERT_NE(widget, nullptr);
    const QImage shot = widget->grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

namespace
{
// A parent that notes the messages the progress window posts to it.
class CProgressParent : public CWnd
{
public:
    std::vector<UINT> posted;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER)
        {
            posted.push_back(message);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST_F(ProgressWnd, EscapeAndEnterReachCancelAndItsMessageIsPosted)
{
    const UINT kCancelMsg = WM_USER + 77;
    for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Return), int(Qt::Key_Enter)})
    {
        CProgressParent parent;
        ASSERT_TRUE(
            parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        CProgressWnd w;
        w.SetCanCancelFlag(TRUE);
        w.SetCancelMessage(kCancelMsg);
        w.Show(&parent);
        ASSERT_NE(w.GetCancelButton(), nullptr);
        QWidget* button = w.GetCancelButton()->GetWidget();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(button, &release);
        AfxPumpMessages();
        EXPECT_TRUE(w.WasCancelled()) << key;
        EXPECT_EQ(parent.posted, std::vector<UINT>{kCancelMsg}) << key;
        w.Hide();
        parent.DestroyWindow();
    }
    // Without the flag the keys cancel nothing and post nothing.
    CProgressParent parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CProgressWnd w;
    w.SetCancelMessage(kCancelMsg);
    w.Show(&parent);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w.GetWidget(), &press);
    AfxPumpMessages();
    EXPECT_FALSE(w.WasCancelled());
    EXPECT_TRUE(parent.posted.empty());
    w.Hide();
    parent.DestroyWindow();
}
