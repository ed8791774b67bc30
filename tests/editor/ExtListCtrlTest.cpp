// The owner-drawn report list and its gradient header: colours by column and cell, alignment, row
// height and header height, drawn into a picture that is read back.
#include "editor/ExtListCtrl.h"

#include "mfc/Dialog.h"
#include "mfc/FrameWnd.h"
#include "mfc/WinApp.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{
class CExtListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"list"));
        m_pFrame->MoveWindow(0, 0, 400, 300);
        m_pFrame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 360, 240), m_pFrame, 100));
        m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 120);
        m_list.InsertColumn(1, L"Value", LVCFMT_RIGHT, 120);
        m_list.InsertColumn(2, L"Unit", LVCFMT_CENTER, 100);
        for (int row = 0; row < 3; ++row)
        {
            m_list.InsertItem(row, L"Item");
            m_list.SetItemText(row, 1, L"42");
            m_list.SetItemText(row, 2, L"m");
        }
        AfxPumpMessages();
    }
    void TearDown() override
    {
        m_list.DestroyWindow();
        m_pFrame->DestroyWindow();
        AfxPumpMessages();
        AfxWinTerm();
    }

    QImage Picture() { return m_list.GetWidget()->grab().toImage(); }

    CWinApp m_app;
    CExtListCtrl m_list;
    CFrameWnd* m_pFrame = nullptr;
};

QColor Colour(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The leftmost and rightmost x of dark (text) pixels in a cell.
std::pair<int, int> InkSpan(const QImage& image, const CRect& cell)
{
    int left = cell.right, right = cell.left;
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x)
            if (image.pixelColor(x, y).lightness() < 100)
            {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}
} // namespace

TEST_F(CExtListTest, LaterColoursReplaceEarlierOnesAndTheCellWinsOverItsColumn)
{
    EXPECT_TRUE(m_list.GetStyle() & LVS_OWNERDRAWFIXED);
    // The same cell or column again: one record, the later colour.
    for (int i = 0; i < 50; ++i)
    {
        m_list.SetCellBkColor(1, 1, RGB(0, 0, i));
        m_list.SetColBkColor(1, RGB(i, 0, 0));
    }
    EXPECT_EQ(1, m_list.GetCellBkCount());
    EXPECT_EQ(1, m_list.GetColBkCount());
    COLORREF cr = 0;
    ASSERT_TRUE(m_list.GetCellBkColor(1, 1, cr));
    EXPECT_EQ(RGB(0, 0, 49), cr);

    m_list.SetColBkColor(1, RGB(200, 230, 200));
    m_list.SetCellBkColor(1, 1, RGB(250, 200, 200));
    m_list.SetCellBkColor(2, 0, RGB(200, 200, 250));
    const QImage image = Picture();
    CRect col1row0, col1row1, col2row0, col0row2;
    ASSERT_TRUE(m_list.GetSubItemRect(0, 1, LVIR_LABEL, col1row0));
    ASSERT_TRUE(m_list.GetSubItemRect(1, 1, LVIR_LABEL, col1row1));
    ASSERT_TRUE(m_list.GetSubItemRect(0, 2, LVIR_LABEL, col2row0));
    ASSERT_TRUE(m_list.GetSubItemRect(2, 0, LVIR_LABEL, col0row2));
    EXPECT_EQ(Colour(RGB(200, 230, 200)), image.pixelColor(col1row0.left + 3, col1row0.top + 1));
    EXPECT_EQ(Colour(RGB(250, 200, 200)), image.pixelColor(col1row1.left + 3, col1row1.top + 1));
    EXPECT_EQ(Colour(RGB(200, 200, 250)), image.pixelColor(col2row0.left + 3, col2row0.top + 1));
    EXPECT_EQ(QColor(Qt::white), image.pixelColor(col0row2.left + 3, col0row2.top + 1));

    // Text placed by the column's alignment: left, right, centred.
    const auto name = InkSpan(image, col0row2);
    const auto value = InkSpan(image, col1row0);
    const auto unit = InkSpan(image, col2row0);
    EXPECT_LT(name.first - col0row2.left, 8);
    EXPECT_LT(col1row0.right - value.second, 8);
    EXPECT_GT(value.first - col1row0.left, 40);
    EXPECT_NEAR((unit.first + unit.second) / 2, col2row0.CenterPoint().x, 4);
}

TEST_F(CExtListTest, RowAndHeaderHeightsAndTheGradientHeader)
{
    const int header = m_list.GetHeaderHeight();
    m_list.SetHeaderHeight(1.5f);
    EXPECT_EQ(int(header * 1.5f), m_list.GetHeaderHeight());
    EXPECT_EQ(30, m_list.GetExtHeader().OnLayout(20));

    m_list.SetRowHeight(26);
    CRect row0, row1;
    ASSERT_TRUE(m_list.GetItemRect(0, &row0, LVIR_BOUNDS));
    ASSERT_TRUE(m_list.GetItemRect(1, &row1, LVIR_BOUNDS));
    EXPECT_EQ(26, row0.Height());
    EXPECT_EQ(row0.bottom, row1.top);
    EXPECT_EQ(m_list.GetHeaderHeight(), row0.top);

    // The header's two-part gradient, also right of the last column.
    const QImage image = Picture();
    const int h = m_list.GetHeaderHeight();
    EXPECT_EQ(Colour(CExtHeaderCtrl::GradientAt(0, h)), image.pixelColor(5, 0));
    EXPECT_EQ(Colour(RGB(255, 250, 216)), image.pixelColor(5, 0));
    EXPECT_EQ(Colour(CExtHeaderCtrl::GradientAt(h - 1, h)), image.pixelColor(350, h - 1));
    EXPECT_EQ(Colour(RGB(255, 228, 152)), image.pixelColor(350, h - 1));
    // Captions keep their columns.
    EXPECT_EQ(3, m_list.GetExtHeader().m_strCaptions.GetSize());
    EXPECT_EQ(CString(L"021"), m_list.GetExtHeader().m_strAlign);
}
