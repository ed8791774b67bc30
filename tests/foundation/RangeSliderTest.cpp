#include "foundation/RangeSlider.h"

#include "mfc/Dialog.h"
#include "mfc/ResourceModule.h"
#include "support/ModalHook.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const UINT IDD_RANGE_PROBE = 950;
const UINT IDC_RANGE_SLIDER = 1016;

// A parent window that notes every RANGE_CHANGED it is sent.
class CRangeParent : public CWnd
{
public:
    std::vector<WPARAM> changes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RANGE_CHANGED)
        {
            changes.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void Mouse(CWnd& wnd, QEvent::Type type, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* w = wnd.GetWidget();
    const QPointF local(x, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

void Drag(CWnd& wnd, CPoint from, CPoint to)
{
    Mouse(wnd, QEvent::MouseButtonPress, from.x, from.y);
    Mouse(wnd, QEvent::MouseMove, to.x, to.y);
    Mouse(wnd, QEvent::MouseButtonRelease, to.x, to.y);
}

void Key(CWnd& wnd, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(wnd.GetWidget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(wnd.GetWidget(), &release);
}

// Paints the control (which sets its arrow width and slide length) and returns the picture.
QImage Paint(CWnd& wnd)
{
    return wnd.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class RangeSlider : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"Slider", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 100,
                                      nullptr, nullptr));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        AfxPumpMessages();
    }
    // 230 x 20: arrows of 15 pixels, a slide of 200 pixels.
    void Make(CRangeSlider& slider, int cx = 230, int cy = 20)
    {
        ASSERT_TRUE(
            slider.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 10 + cx, 10 + cy), &m_parent, 7));
        Paint(slider);
    }
    CRangeParent m_parent;
};
} // namespace

TEST_F(RangeSlider, SettersOrderAndClampAndReportEachCorrection)
{
    CRangeSlider slider;
    Make(slider);
    slider.SetMinMax(10, 0);
    EXPECT_EQ(0, slider.GetMin());
    EXPECT_EQ(10, slider.GetMax());

    struct Case
    {
        double left, right;
        double expLeft, expRight;
        std::vector<WPARAM> messages;
    } cases[] = {
        {-5, 20, 0, 10, {0, 1}},  {2, 8, 2, 8, {}},    {-5, -3, 0, 0, {0, 1}},
        {12, 15, 10, 10, {1, 0}}, {3, 14, 3, 10, {1}},
    };
    for (const Case& c : cases)
    {
        m_parent.changes.clear();
        slider.SetRange(c.left, c.right);
        EXPECT_EQ(c.expLeft, slider.GetLeft()) << c.left << "," << c.right;
        EXPECT_EQ(c.expRight, slider.GetRight()) << c.left << "," << c.right;
        EXPECT_EQ(c.messages, m_parent.changes) << c.left << "," << c.right;
    }

    // GetRange rounds both ends to whole numbers.
    slider.SetRange(2.4, 7.5);
    double l = 0, r = 0;
    slider.GetRange(l, r);
    EXPECT_EQ(2, l);
    EXPECT_EQ(8, r);
}

TEST_F(RangeSlider, InvertedModeKeepsTheCallersValues)
{
    CRangeSlider slider;
    Make(slider);
    slider.SetMinMax(0, 10);
    slider.SetRange(1, 4);
    slider.SetVisualMinMax(2, 3);
    slider.SetInvertedMode(TRUE);
    EXPECT_TRUE(slider.GetInvertedMode());
    EXPECT_EQ(0, slider.GetMin());
    EXPECT_EQ(10, slider.GetMax());
    EXPECT_EQ(1, slider.GetLeft());
    EXPECT_EQ(4, slider.GetRight());
    EXPECT_EQ(2, slider.GetVisualMin());
    EXPECT_EQ(3, slider.GetVisualMax());
    slider.SetRange(2, 8);
    EXPECT_EQ(2, slider.GetLeft());
    EXPECT_EQ(8, slider.GetRight());
    slider.SetMinMax(-20, 20);
    EXPECT_EQ(-20, slider.GetMin());
    EXPECT_EQ(20, slider.GetMax());
    slider.SetInvertedMode(FALSE);
    EXPECT_EQ(2, slider.GetLeft());
    EXPECT_EQ(8, slider.GetRight());
}

TEST_F(RangeSlider, ArrowKeysStepByOnePixelsWorthOfValue)
{
    CRangeSlider slider;
    Make(slider);
    ASSERT_EQ(15, slider.GetArrowWidth());
    ASSERT_EQ(200, slider.GetSlideLength());
    slider.SetMinMax(0, 100); // half a unit a pixel
    slider.SetFocus();
    struct Case
    {
        double left, right;
        int key;
        Qt::KeyboardModifiers mods;
        double expLeft, expRight;
        std::vector<WPARAM> messages;
    } cases[] = {
        {20, 40, Qt::Key_Right, Qt::NoModifier, 20.5, 40.5, {2}},
        {20, 40, Qt::Key_Left, Qt::NoModifier, 19.5, 39.5, {2}},
        // Shift moves the right end alone, and says so.
        {20, 40, Qt::Key_Right, Qt::ShiftModifier, 20, 40.5, {1}},
        {20, 40, Qt::Key_Left, Qt::ShiftModifier, 20, 39.5, {1}},
        // A step past either end changes nothing, but is still reported.
        {0, 40, Qt::Key_Left, Qt::NoModifier, 0, 40, {2}},
        {60, 100, Qt::Key_Right, Qt::NoModifier, 60, 100, {2}},
        // Ctrl: nothing; keys of the other orientation: nothing.
        {20, 40, Qt::Key_Right, Qt::ControlModifier, 20, 40, {}},
        {20, 40, Qt::Key_Down, Qt::NoModifier, 20, 40, {}},
    };
    for (const Case& c : cases)
    {
        slider.SetRange(c.left, c.right);
        m_parent.changes.clear();
        Key(slider, c.key, c.mods);
        EXPECT_DOUBLE_EQ(c.expLeft, slider.GetLeft()) << c.key << " " << int(c.mods);
        EXPECT_DOUBLE_EQ(c.expRight, slider.GetRight()) << c.key << " " << int(c.mods);
        EXPECT_EQ(c.messages, m_parent.changes) << c.key << " " << int(c.mods);
    }
}

TEST_F(RangeSlider, DraggingTheArrowsAndTheBar)
{
    CRangeSlider slider;
    Make(slider);
    slider.SetMinMax(0, 100);
    slider.SetRange(20, 40);
    Paint(slider);
    // Left arrow at pixel 40 (value 20): its centre is 40 + 7; dragged 40 pixels on, left is 40.
    m_parent.changes.clear();
    Drag(slider, CPoint(47, 10), CPoint(87, 10));
    EXPECT_DOUBLE_EQ(40, slider.GetLeft());
    EXPECT_DOUBLE_EQ(40, slider.GetRight());
    EXPECT_EQ(std::vector<WPARAM>{0}, m_parent.changes);

    // Right arrow: from value 40 (pixel 15 + 80) to 90 (pixel 15 + 180).
    Paint(slider);
    const CRect right = slider.GetRightArrowRect();
    const int centre = right.CenterPoint().x;
    m_parent.changes.clear();
    Drag(slider, CPoint(centre, 10), CPoint(centre + 100, 10));
    EXPECT_DOUBLE_EQ(90, slider.GetRight());
    EXPECT_EQ(std::vector<WPARAM>{1}, m_parent.changes);

    // The left arrow back to 10: the range is 10..90.
    Paint(slider);
    const int leftCentre = slider.GetLeftArrowRect().CenterPoint().x;
    Drag(slider, CPoint(leftCentre, 10), CPoint(leftCentre - 60, 10));
    EXPECT_DOUBLE_EQ(10, slider.GetLeft());
    double l = 0, r = 0;
    slider.GetRange(l, r);
    EXPECT_EQ(10, l);
    EXPECT_EQ(90, r);

    // The bar against max keeps its width.
    slider.SetRange(20, 50);
    Paint(slider);
    m_parent.changes.clear();
    Drag(slider, CPoint(15 + 70, 10), CPoint(15 + 70 + 150, 10));
    EXPECT_DOUBLE_EQ(100, slider.GetRight());
    EXPECT_DOUBLE_EQ(70, slider.GetLeft());
    EXPECT_EQ(std::vector<WPARAM>{2}, m_parent.changes);
    // ... and against min.
    Paint(slider);
    Drag(slider, CPoint(15 + 170, 10), CPoint(0, 10));
    EXPECT_DOUBLE_EQ(0, slider.GetLeft());
    EXPECT_DOUBLE_EQ(30, slider.GetRight());
}

TEST_F(RangeSlider, NoRoomOrNoRangeChangesNothing)
{
    struct Case
    {
        int cx, cy;
        double min, max;
    } cases[] = {
        {230, 20, 5, 5},  // min = max
        {29, 20, 0, 100}, // narrower than 1.5 x its height
        {30, 20, 0, 100}, // exactly 1.5 x: no slide length
    };
    for (const Case& c : cases)
    {
        CRangeSlider slider;
        Make(slider, c.cx, c.cy);
        slider.SetMinMax(c.min, c.max);
        slider.SetRange(c.min, c.max);
        Paint(slider);
        EXPECT_LE(slider.GetSlideLength() <= 0 || c.min == c.max, true);
        // Both arrows sit at position 0.
        EXPECT_EQ(slider.GetLeftArrowRect().left, 1);
        EXPECT_EQ(slider.GetRightArrowRect().left, slider.GetArrowWidth() + 1);
        const double left = slider.GetLeft();
        const double right = slider.GetRight();
        m_parent.changes.clear();
        Drag(slider, slider.GetLeftArrowRect().CenterPoint(), CPoint(c.cx, 5));
        Drag(slider, slider.GetRightArrowRect().CenterPoint(), CPoint(0, 5));
        slider.SetFocus();
        Key(slider, Qt::Key_Right);
        Key(slider, Qt::Key_Left, Qt::ShiftModifier);
        EXPECT_EQ(left, slider.GetLeft()) << c.cx << "x" << c.cy;
        EXPECT_EQ(right, slider.GetRight()) << c.cx << "x" << c.cy;
        EXPECT_FALSE(std::isnan(slider.GetLeft()) || std::isnan(slider.GetRight()));
        EXPECT_TRUE(m_parent.changes.empty()) << c.cx << "x" << c.cy;
        slider.DestroyWindow();
    }
}

TEST_F(RangeSlider, DrawsArrowsBarAndTheVisualRangeOnlyWhereItOverlaps)
{
    CRangeSlider slider;
    Make(slider);
    slider.SetMinMax(0, 100);
    slider.SetRange(20, 60);
    slider.SetVisualMode(TRUE);
    const QRgb highlight = qRgb(255, 255, 150);

    slider.SetVisualMinMax(70, 90); // beside the chosen range: no highlight
    QImage shot = Paint(slider);
    EXPECT_EQ(qRgb(255, 255, 255), shot.pixel(15 + 100, 10)); // the white bar
    for (int x = 0; x < shot.width(); ++x)
        EXPECT_NE(highlight, shot.pixel(x, 10)) << x;

    slider.SetVisualMinMax(30, 90); // from 30 to the right end (60)
    shot = Paint(slider);
    shot.save(QStringLiteral(QYR_SHOT_DIR "/range-slider.png"));
    EXPECT_NE(highlight, shot.pixel(15 + 50, 10));  // value 25
    EXPECT_EQ(highlight, shot.pixel(15 + 70, 10));  // value 35
    EXPECT_EQ(highlight, shot.pixel(15 + 115, 10)); // value 57.5
    // The frame is black, the arrows button face with black triangles.
    EXPECT_EQ(qRgb(0, 0, 0), shot.pixel(0, 0));
    const CRect left = slider.GetLeftArrowRect();
    EXPECT_EQ(qRgb(0, 0, 0), shot.pixel(left.left + 7, 10));

    slider.SetVerticalMode(TRUE);
    EXPECT_TRUE(slider.GetVerticalMode());
    slider.MoveWindow(10, 10, 20, 230);
    Paint(slider).save(QStringLiteral(QYR_SHOT_DIR "/range-slider-vertical.png"));
    EXPECT_EQ(15, slider.GetArrowWidth());
    EXPECT_EQ(200, slider.GetSlideLength());
    EXPECT_EQ(40, slider.GetLeftArrowRect().top - 1);
}

namespace
{
class CRangeProbeDlg : public CDialog
{
public:
    CRangeProbeDlg() : CDialog(IDD_RANGE_PROBE) {}
    CRangeSlider m_slider;
    double m_left = 0, m_right = 0;
    int m_nChanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_RANGE_SLIDER, m_slider);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_slider.SetMinMax(0, 100);
        m_slider.SetRange(25, 75);
        return TRUE;
    }
    void OnOK() override
    {
        m_slider.GetRange(m_left, m_right);
        CDialog::OnOK();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RANGE_CHANGED)
            ++m_nChanges;
        return CDialog::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(RangeSliderTemplate, BoundAsACustomControlAndDraggedTo10And90)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    AfxSetResourceHandle(AfxGetModuleByName("RangeSliderTestRes"));
    // The window class is there for templates once a slider object exists.
    CRangeProbeDlg dlg;
    WNDCLASS wc;
    ASSERT_TRUE(GetClassInfo(AfxGetInstanceHandle(), L"XVKRangeSlider", &wc));
    EXPECT_EQ(UINT(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW), wc.style);
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDCANCEL;
            EXPECT_EQ(&dlg.m_slider, CWnd::FromHandle(dlg.GetDlgItem(IDC_RANGE_SLIDER)->m_hWnd));
            EXPECT_EQ(DLGC_WANTARROWS, int(dlg.m_slider.SendMessage(WM_GETDLGCODE)));
            Paint(dlg.m_slider);
            const int a = dlg.m_slider.GetArrowWidth();
            const int dx = dlg.m_slider.GetSlideLength();
            EXPECT_GT(dx, 0);
            const CPoint l = dlg.m_slider.GetLeftArrowRect().CenterPoint();
            const CPoint rr = dlg.m_slider.GetRightArrowRect().CenterPoint();
            // Value v lies at pixel v / 100 * dx; the left arrow's centre is a / 2 on from it.
            const int toLeft = int(std::lround(10.0 / 100 * dx)) + a / 2 +
                               (l.x - (int(std::lround(25.0 / 100 * dx)) + a / 2));
            Drag(dlg.m_slider, l, CPoint(toLeft, l.y));
            Paint(dlg.m_slider);
            const int toRight = int(std::lround(90.0 / 100 * dx)) + 3 * a / 2 +
                                (rr.x - (int(std::lround(75.0 / 100 * dx)) + 3 * a / 2));
            Drag(dlg.m_slider, rr, CPoint(toRight, rr.y));
            Paint(dlg.m_slider).save(QStringLiteral(QYR_SHOT_DIR "/range-slider-dialog.png"));
            return IDOK;
        });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(10, dlg.m_left);
    EXPECT_EQ(90, dlg.m_right);
    EXPECT_GE(dlg.m_nChanges, 2);
    AfxSetResourceHandle(nullptr);
}
