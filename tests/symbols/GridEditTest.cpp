// Editing in the grid by keys and mouse, and column resizing by a header border.
#include "GridTestSupport.h"

#include "mfc/SysColor.h"

#include <gtest/gtest.h>

using namespace grid_test;

namespace
{
class GridEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxEnsureApplication();
        ASSERT_TRUE(host.Make());
        ASSERT_TRUE(grid.Create(0, WS_CHILD | WS_VISIBLE | dwStyle, CRect(10, 10, 510, 330), &host, 100));
        Pump();
    }
    CWnd* EditorWnd(int nCol)
    {
        CFOXCellCtrl* ctrl = grid.GetCellCtrl(nCol, 0);
        return ctrl ? ctrl->GetCtrlWnd() : nullptr;
    }
    CRect Placed(CWnd* pWnd)
    {
        const QRect g = pWnd->GetWidget()->geometry();
        return CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    CString Text(CWnd* pWnd)
    {
        CString s;
        pWnd->GetWindowText(s);
        return s;
    }
    DWORD dwStyle = 0;
    CGridHost host;
    CTestGrid grid;
};

class GridResize : public GridEdit
{
protected:
    void SetUp() override {}
    void Make(DWORD style)
    {
        dwStyle = style;
        GridEdit::SetUp();
    }
    // Moves the mouse with no button over a client point, as the window system does before a press.
    void Hover(CPoint p) { Mouse(grid, QEvent::MouseMove, p, Qt::NoButton); }
};
} // namespace

TEST_F(GridEdit, ClickTypeEnterCommitsAndMovesDown)
{
    const int col = 1 + CTestGrid::EDIT;
    Click(grid, CellCentre(grid, col, 3));
    ASSERT_EQ(col, grid.m_nCurCol);
    ASSERT_EQ(3, grid.m_nCurRow);
    CWnd* edit = EditorWnd(CTestGrid::EDIT);
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_TRUE(edit->IsWindowEnabled());
    const CRect cell = grid.CellRect(col, 3);
    EXPECT_EQ(
        CRect(cell.left + 2, cell.top + 2, cell.left + 2 + 90 - 3, cell.top + 2 + grid.m_nRowHeight - 3),
        Placed(edit))
        << "the edit box lies over the cell";
    EXPECT_EQ(CString(L"Pump 2"), Text(edit));

    Type(edit->GetWidget(), "42");
    EXPECT_EQ(CString(L"42"), Text(edit)) << "the whole text was selected";
    Key(edit->GetWidget(), Qt::Key_Return);
    const CGridHost::Got* change = host.Last(FOXGN_CELLCHANGE);
    ASSERT_NE(nullptr, change);
    EXPECT_EQ(WPARAM(CTestGrid::EDIT), change->wParam);
    EXPECT_EQ(LPARAM(2), change->lParam);
    EXPECT_EQ(CString(L"42"), grid.values[2][CTestGrid::EDIT].strText);
    EXPECT_EQ(4, grid.m_nCurRow) << "Enter moves down";
    EXPECT_EQ(CString(L"Pump 3"), Text(edit)) << "the editor follows with the next row's text";
    EXPECT_TRUE(edit->IsWindowVisible());

    // Escape takes a typed text back; leaving an untouched editor commits nothing.
    Type(edit->GetWidget(), "abc");
    Key(edit->GetWidget(), Qt::Key_Escape);
    EXPECT_EQ(CString(L"Pump 3"), Text(edit));
    const size_t before = host.got.size();
    Key(edit->GetWidget(), Qt::Key_Down);
    EXPECT_EQ(5, grid.m_nCurRow) << "Down in the edit box moves the grid";
    for (size_t i = before; i < host.got.size(); ++i)
        EXPECT_NE(UINT(FOXGN_CELLCHANGE), host.got[i].message);
}

TEST_F(GridEdit, LeftLeavesTheEditBoxOnlyAtItsFirstCharacter)
{
    const int col = 1 + CTestGrid::EDIT;
    ASSERT_TRUE(grid.SetCurrentCell(col, 2));
    CWnd* edit = EditorWnd(CTestGrid::EDIT);
    ASSERT_NE(nullptr, edit);
    int presses = 0;
    while (grid.m_nCurCol == col && presses < 10)
    {
        int s = 0, e = 0;
        static_cast<CEdit*>(edit)->GetSel(s, e);
        const bool atStart = s == 0 && e == 0;
        Key(edit->GetWidget(), Qt::Key_Left);
        ++presses;
        EXPECT_EQ(atStart, grid.m_nCurCol != col) << "press " << presses;
    }
    EXPECT_EQ(col - 1, grid.m_nCurCol);
    EXPECT_GT(presses, 1) << "the caret moved first";
    // Tab and Shift+Tab from an editor move across.
    Key(EditorWnd(CTestGrid::CHECK)->GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(col, grid.m_nCurCol);
    Key(EditorWnd(CTestGrid::EDIT)->GetWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(col - 1, grid.m_nCurCol);
}

TEST_F(GridEdit, ShiftDownChangesTheComboEntryAndDownMovesTheRow)
{
    const int col = 1 + CTestGrid::COMBO;
    Click(grid, CellCentre(grid, col, 1));
    ASSERT_EQ(col, grid.m_nCurCol);
    auto* combo = dynamic_cast<CFOXComboBoxCtrl*>(grid.GetCellCtrl(CTestGrid::COMBO, 0));
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(0, combo->GetCurSel());
    EXPECT_TRUE(combo->IsWindowVisible());
    // The field paints itself: the grid's focus frame round it, the drop button at the right.
    const QImage field = combo->GetWidget()->grab().toImage();
    field.save(QStringLiteral(QYR_GRID_PNG_DIR) + "/grid_combo.png");
    ASSERT_GT(field.width(), 20);
    EXPECT_EQ(RGB(0, 100, 200), PixelAt(field, 0, field.height() / 2));
    EXPECT_EQ(RGB(0, 100, 200), PixelAt(field, field.width() / 2, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAt(field, field.width() - 4, 3));
    Key(combo->GetWidget(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ(1, grid.m_nCurRow) << "Shift+Down stays in the row";
    EXPECT_TRUE(combo->IsModified());
    Key(combo->GetWidget(), Qt::Key_Down);
    EXPECT_EQ(2, grid.m_nCurRow);
    const CGridHost::Got* change = host.Last(FOXGN_CELLCHANGE);
    ASSERT_NE(nullptr, change);
    EXPECT_EQ(WPARAM(CTestGrid::COMBO), change->wParam);
    EXPECT_EQ(DWORD_PTR(1), grid.values[0][CTestGrid::COMBO].dwData);
    EXPECT_EQ(CString(L"Manual"), grid.values[0][CTestGrid::COMBO].strText);
    EXPECT_EQ(1, combo->GetCurSel()) << "row 1 holds Manual";
}

TEST_F(GridEdit, ClickingACheckBoxCellTogglesItAndTheMoveCommits)
{
    const int col = 1 + CTestGrid::CHECK;
    Click(grid, CellCentre(grid, col, 3)); // data row 2: clear
    ASSERT_EQ(3, grid.m_nCurRow);
    auto* box = dynamic_cast<CFOXButtonCtrl*>(grid.GetCellCtrl(CTestGrid::CHECK, 0));
    ASSERT_NE(nullptr, box);
    const CRect cell = grid.CellRect(col, 3);
    const CRect placed = Placed(box);
    EXPECT_EQ(13, placed.Width()) << "a bare check box is at most 13 pixels wide";
    EXPECT_EQ(cell.left + 2 + (50 - 16) / 2, placed.left) << "and centred";
    EXPECT_EQ(BST_CHECKED, box->GetCheck()) << "the click reached the box";
    Key(box->GetWidget(), Qt::Key_Down);
    EXPECT_EQ(4, grid.m_nCurRow);
    EXPECT_EQ(DWORD_PTR(1), grid.values[2][CTestGrid::CHECK].dwData);
    EXPECT_EQ(BST_CHECKED, box->GetCheck()) << "data row 3 is checked";
}

TEST_F(GridEdit, ARefusedCommitKeepsTheEditorAndTheCell)
{
    const int col = 1 + CTestGrid::EDIT;
    ASSERT_TRUE(grid.SetCurrentCell(col, 5));
    CWnd* edit = EditorWnd(CTestGrid::EDIT);
    grid.refuse = true;
    Type(edit->GetWidget(), "x");
    Key(edit->GetWidget(), Qt::Key_Return);
    EXPECT_EQ(5, grid.m_nCurRow);
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_EQ(CString(L"x"), Text(edit));
    EXPECT_EQ(CString(L"Pump 4"), grid.values[4][CTestGrid::EDIT].strText);
    EXPECT_EQ(0, host.Count(FOXGN_CELLCHANGE));
    // A forced end lets it go.
    EXPECT_FALSE(grid.EndCellEdit(1));
    EXPECT_FALSE(edit->IsWindowVisible());
}

TEST_F(GridEdit, ScrollingAndTheWheelHideTheEditor)
{
    CWnd* box = EditorWnd(CTestGrid::CHECK);
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(box->IsWindowVisible());
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.m_nRowHeight, grid.m_nVOffset);
    EXPECT_FALSE(box->IsWindowVisible());
    grid.SetCurrentCell(1, 6);
    ASSERT_TRUE(box->IsWindowVisible());
    Wheel(grid, 120);
    EXPECT_EQ(0, grid.m_nVOffset);
    EXPECT_FALSE(box->IsWindowVisible());
}

TEST_F(GridResize, ABorderDragShowsTheTrackingLineAndSetsTheWidth)
{
    Make(FOXGS_RESIZEDATACOLUMNS);
    const int col = 1 + CTestGrid::EDIT;
    const int border = grid.ColumnLeft(col) + 1 + 90; // content x of its right border
    const CPoint at(border - 1, grid.GetFixedHeight() / 2);
    Hover(at);
    EXPECT_EQ(1, grid.m_bResizeArmed);
    EXPECT_EQ(Qt::SizeHorCursor, grid.GetClientWidget()->cursor().shape());
    Mouse(grid, QEvent::MouseButtonPress, at, Qt::LeftButton);
    EXPECT_EQ(1, grid.m_bResizing);
    EXPECT_EQ(&grid, static_cast<CWnd*>(CWnd::GetCapture()));
    Mouse(grid, QEvent::MouseMove, CPoint(at.x + 30, 150), Qt::LeftButton);
    Pump();
    ASSERT_EQ(CRect(border + 29, 0, border + 30, grid.m_rcTrack.bottom), grid.m_rcTrack);

    // The line is the one-pixel column under it, inverted.
    const QImage with = Shot(grid);
    with.save(QStringLiteral(QYR_GRID_PNG_DIR) + "/grid_resizing.png");
    const CRect line = grid.m_rcTrack;
    grid.m_rcTrack.SetRectEmpty();
    grid.Invalidate();
    const QImage without = Shot(grid);
    grid.m_rcTrack = line;
    for (int y = 0; y < with.height(); y += 7)
    {
        const QColor a = with.pixelColor(line.left, y);
        const QColor b = without.pixelColor(line.left, y);
        ASSERT_EQ(QColor(255 - b.red(), 255 - b.green(), 255 - b.blue()), a) << "y " << y;
        ASSERT_EQ(without.pixelColor(line.left + 1, y), with.pixelColor(line.left + 1, y)) << "y " << y;
    }

    Mouse(grid, QEvent::MouseButtonRelease, CPoint(at.x + 30, 150), Qt::NoButton);
    Pump();
    EXPECT_EQ(120, grid.GetColumnWidth(CTestGrid::EDIT, 0));
    EXPECT_EQ(0, grid.m_bResizing);
    EXPECT_TRUE(grid.m_rcTrack.IsRectEmpty());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    const CGridHost::Got* resized = host.Last(FOXGN_COLUMNRESIZED);
    ASSERT_NE(nullptr, resized);
    EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<CWnd*>(&grid)), resized->wParam);
    EXPECT_TRUE(EditorWnd(CTestGrid::CHECK)->IsWindowVisible()) << "the editor is shown again";
}

TEST_F(GridResize, WithoutBit0x10OnlyTheFixedColumnResizesAndKeepsItsWidth)
{
    Make(0);
    const int border = grid.ColumnLeft(2) + 1; // between the first and the second data column
    Hover(CPoint(border - 1, 5));
    EXPECT_EQ(0, grid.m_bResizeArmed) << "a data column's border is not armed";
    EXPECT_EQ(Qt::ArrowCursor, grid.GetClientWidget()->cursor().shape());

    const CPoint at(grid.m_nFixedColWidth - 1, 5);
    Hover(at);
    ASSERT_EQ(1, grid.m_bResizeArmed);
    Mouse(grid, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(grid, QEvent::MouseMove, CPoint(30, 5), Qt::LeftButton);
    Mouse(grid, QEvent::MouseButtonRelease, CPoint(30, 5), Qt::NoButton);
    Pump();
    EXPECT_EQ(31, grid.m_nFixedColWidth) << "the dragged width outlives the metrics";
    grid.RecalcMetrics();
    EXPECT_EQ(31, grid.m_nFixedColWidth);
    EXPECT_EQ(1, host.Count(FOXGN_COLUMNRESIZED));
}
