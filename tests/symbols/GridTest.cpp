// The data grid on real windows: the sample grid, metrics and hit tests, keys, scrolling and the
// styled look.
#include "GridTestSupport.h"

#include "mfc/SysColor.h"

#include <gtest/gtest.h>

#include <QCursor>

using namespace grid_test;

namespace
{
class Grid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxEnsureApplication();
        ASSERT_TRUE(host.Make());
    }
    void Make(CFOExtGridCtrl& grid, DWORD dwStyle = 0, CRect rc = CRect(10, 10, 610, 410))
    {
        ASSERT_TRUE(grid.Create(0, WS_CHILD | WS_VISIBLE | dwStyle, rc, &host, 100));
        Pump();
    }
    CGridHost host;
};

QString Png(const char* name)
{
    return QStringLiteral(QYR_GRID_PNG_DIR) + "/" + name;
}
} // namespace

TEST_F(Grid, SampleGridShowsItsSixColumnsTextsAndFocusFrame)
{
    CCrGridCtrl grid;
    Make(grid);
    ASSERT_EQ(6, grid.GetColumnCount(0));
    EXPECT_EQ(100, grid.GetRowCount());
    const int widths[] = {50, 180, 75, 75, 200, 200};
    for (int c = 0; c < 6; ++c)
    {
        EXPECT_EQ(widths[c], grid.GetColumnWidth(c, 0)) << c;
        EXPECT_EQ(nullptr, grid.GetCellCtrl(c, 0)) << "the sample columns have no editors";
        EXPECT_EQ(1900 + c, grid.GetColumnCtrlId(c));
    }
    const struct
    {
        int row;
        const wchar_t* texts[4];
    } rows[] = {{0, {L"1866", L"Sampl", L"11.11.2000", L"533"}},
                {3, {L"1874", L"Sampl", L"11.11.2000", L"701"}}};
    for (const auto& r : rows)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(CString(r.texts[c]), grid.GetCellText(c, r.row).strText) << r.row << "," << c;
    EXPECT_EQ(DWORD_PTR(-1), grid.GetCellText(0, 0).dwData);
    // Column 0 is right-aligned in its cells and left-aligned in its header; "Data" is centred in both.
    EXPECT_EQ(0x806u, grid.GetCellFormat(0, 0).nDrawText);
    EXPECT_EQ(0x8024u, grid.GetColumnTitle(0, 0).dwData);
    EXPECT_EQ(0x805u, grid.GetCellFormat(2, 0).nDrawText);
    EXPECT_EQ(0x8025u, grid.GetColumnTitle(2, 0).dwData);
    EXPECT_EQ(DWORD(WS_EX_CLIENTEDGE), grid.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_NE(nullptr, grid.GetCellImage(0, 0, 0)) << "the row mark bitmap";
    bool thrown = false;
    try
    {
        grid.GetColumnWidth(6, 0);
    }
    catch (CInvalidArgException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown) << "a column outside the table";

    // A new row count is posted to the parent; the same count again posts nothing.
    grid.SetRowCount(120, 1);
    EXPECT_EQ(0, host.Count(FOXGN_ROWCOUNT)) << "posted, not sent";
    Pump();
    grid.SetRowCount(120, 1);
    Pump();
    ASSERT_EQ(1, host.Count(FOXGN_ROWCOUNT));
    EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<CWnd*>(&grid)), host.Last(FOXGN_ROWCOUNT)->wParam);
    EXPECT_EQ(LPARAM(120), host.Last(FOXGN_ROWCOUNT)->lParam);

    const QImage shot = Shot(grid);
    ASSERT_TRUE(shot.save(Png("grid_sample.png")));
    // The current cell (1, 1) wears the solid focus frame; its column's first pixel is the mark.
    const int fx = grid.GetFixedWidth();
    const int fy = grid.GetFixedHeight();
    EXPECT_EQ(RGB(0, 100, 200), PixelAt(shot, fx, fy + 4));
    EXPECT_EQ(RGB(0, 100, 200), PixelAt(shot, fx + 20, fy));
    EXPECT_EQ(RGB(0, 64, 160), PixelAt(shot, fx + 3, fy + (grid.m_nRowHeight - 1) / 2))
        << "the 7 x 7 mark, 1 pixel in and centred";
    // Header faces are button faces; the row header of the current row carries its triangle.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAt(shot, fx + 100, fy / 2 + 6));
    const int tx = (grid.m_nFixedColWidth - 4) / 2 - 1;
    const int ty = fy - 1 + (grid.m_nRowHeight - 9) / 2 + 4;
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), PixelAt(shot, tx, ty));
}

TEST_F(Grid, MetricsAndHitTestsFollowTheFontAndStyle)
{
    CCrGridCtrl grid;
    Make(grid);
    const int h = grid.GetFontMetrics(&grid.m_font).cy;
    const int hb = grid.GetFontMetrics(grid.m_pBoldFont).cy;
    EXPECT_EQ(h + 8, grid.m_nRowHeight);
    EXPECT_EQ(hb + 8, grid.m_nHeaderHeight);
    EXPECT_EQ((h + 8) / 2, grid.m_nFixedColWidth);
    EXPECT_EQ(grid.m_nFixedColWidth + 780, grid.m_nTotalWidth);
    const int fw = grid.m_nFixedColWidth;
    const int hh = grid.m_nHeaderHeight;
    const int rh = grid.m_nRowHeight;

    const struct
    {
        int y;
        int row;
    } rowsAt[] = {{0, 0}, {hh - 1, 0}, {hh, 1}, {hh + rh - 1, 1}, {hh + rh, 2}, {hh + 10 * rh + 3, 11}};
    for (const auto& c : rowsAt)
        EXPECT_EQ(c.row, grid.PixelToRow(c.y)) << c.y;
    const struct
    {
        int x;
        int col;
    } colsAt[] = {{0, 0}, {fw - 1, 0}, {fw, 1}, {fw + 49, 1}, {fw + 50, 2}, {100000, 6}};
    for (const auto& c : colsAt)
        EXPECT_EQ(c.col, grid.ColumnAt(c.x, 0)) << c.x;

    // Borders: within 2 pixels on either side; a data column's only with bit 0x10.
    const struct
    {
        int x;
        int without; // hit without bit 0x10 (-1: none)
        int with;    // hit with it
    } borders[] = {
        {fw - 3, -1, -1},  {fw - 2, 0, 0},   {fw + 2, 0, 0},   {fw + 3, -1, -1},  {fw + 25, -1, -1},
        {fw + 47, -1, -1}, {fw + 48, -1, 1}, {fw + 52, -1, 1}, {fw + 53, -1, -1},
    };
    for (DWORD bit : {0u, 0x10u})
    {
        grid.ModifyStyle(0x10, bit);
        for (const auto& b : borders)
        {
            int col = -1;
            int row = 0;
            const BOOL hit = grid.ColumnBorderAt(b.x, col, row);
            const int want = bit ? b.with : b.without;
            EXPECT_EQ(want >= 0, hit != FALSE) << "x " << b.x << " bit " << bit;
            if (want >= 0)
                EXPECT_EQ(want, col) << b.x;
        }
    }

    // Bit 0x10 keeps the fixed width; bit 0x8 the header height.
    grid.m_nFixedColWidth = 30;
    grid.m_nHeaderHeight = 40;
    grid.ModifyStyle(0, 0x10 | 0x8);
    grid.RecalcMetrics();
    EXPECT_EQ(30, grid.m_nFixedColWidth);
    EXPECT_EQ(40, grid.m_nHeaderHeight);
    EXPECT_EQ(CString(L"3 - 7"), grid.CFOExtGridCore::GetCellText(3, 7).strText);
}

TEST_F(Grid, KeysMoveTheCurrentCellAndTheSelection)
{
    CCrGridCtrl grid;
    Make(grid, FOXGS_RANGESELECT);
    QWidget* w = grid.GetWidget();
    const int n = grid.m_nPageHeight / grid.m_nRowHeight - 1;
    ASSERT_GT(n, 2);
    struct Step
    {
        int key;
        Qt::KeyboardModifiers mods;
        int col;
        int row; // absolute current cell after the key
    };
    const Step steps[] = {
        {Qt::Key_Tab, Qt::NoModifier, 2, 1},
        {Qt::Key_Tab, Qt::ShiftModifier, 1, 1}, // Shift+Tab, one left
        {Qt::Key_Left, Qt::NoModifier, 1, 1},   // nothing left of the first column
        {Qt::Key_Return, Qt::NoModifier, 1, 2}, // Enter moves down
        {Qt::Key_Down, Qt::NoModifier, 1, 3},
        {Qt::Key_Up, Qt::NoModifier, 1, 2},
        {Qt::Key_End, Qt::NoModifier, 6, 2},
        {Qt::Key_Home, Qt::NoModifier, 1, 2},
        {Qt::Key_Right, Qt::NoModifier, 2, 2},
        {Qt::Key_Tab, Qt::ControlModifier, 2, 3}, // Ctrl+Tab is Down
        {Qt::Key_Up, Qt::NoModifier, 2, 2},
        {Qt::Key_PageDown, Qt::NoModifier, 2, 2 + n},
        {Qt::Key_PageUp, Qt::NoModifier, 2, 2},
        {Qt::Key_PageDown, Qt::ControlModifier, 2, 100},
        {Qt::Key_Return, Qt::NoModifier, 2, 100}, // Enter on the last row stays
        {Qt::Key_PageUp, Qt::ControlModifier, 2, 1},
    };
    for (const Step& s : steps)
    {
        Key(w, s.key, s.mods);
        EXPECT_EQ(s.col, grid.m_nCurCol) << "key " << s.key;
        EXPECT_EQ(s.row, grid.m_nCurRow) << "key " << s.key;
    }
    EXPECT_GE(host.Count(FOXGN_CURRENTCELL), int(std::size(steps)) - 1);
    EXPECT_EQ(reinterpret_cast<WPARAM>(grid.m_hWnd), host.Last(FOXGN_CURRENTCELL)->wParam);

    // Shift+arrows span a range from the current cell; a plain arrow collapses it.
    Key(w, Qt::Key_Down, Qt::ShiftModifier);
    Key(w, Qt::Key_Right, Qt::ShiftModifier);
    Key(w, Qt::Key_Right, Qt::ShiftModifier);
    int fc = 0, lc = 0, fr = 0, lr = 0;
    grid.GetSelection(fc, lc, fr, lr);
    EXPECT_EQ(1, fc);
    EXPECT_EQ(3, lc);
    EXPECT_EQ(0, fr);
    EXPECT_EQ(1, lr);
    EXPECT_EQ(2, grid.m_nCurCol) << "the current cell stays at the range's corner";
    EXPECT_GE(host.Count(FOXGN_SELECTION), 3);
    Key(w, Qt::Key_Down);
    grid.GetSelection(fc, lc, fr, lr);
    EXPECT_EQ(fc, lc);
    EXPECT_EQ(fr, lr);
    EXPECT_EQ(0, grid.OnNavigateKey('A')) << "other keys are not the grid's";

    // Without range selection Shift+Down moves the current cell.
    grid.ModifyStyle(FOXGS_RANGESELECT, 0);
    Key(w, Qt::Key_Down, Qt::ShiftModifier);
    grid.GetSelection(fc, lc, fr, lr);
    EXPECT_EQ(fr, lr);
    EXPECT_EQ(3, grid.m_nCurRow);
}

TEST_F(Grid, CurrentCellScrollsIntoView)
{
    CCrGridCtrl grid;
    Make(grid);
    CRect client;
    grid.GetClientRect(&client);
    ASSERT_TRUE(grid.SetCurrentCell(1, 60));
    EXPECT_EQ(grid.RowContentTop(60) + grid.m_nRowHeight - client.bottom, grid.m_nVOffset)
        << "the row's bottom edge at the window's bottom";
    ASSERT_TRUE(grid.SetCurrentCell(1, 10));
    EXPECT_EQ(grid.RowContentTop(10) - grid.GetFixedHeight(), grid.m_nVOffset)
        << "the row right under the header";
    ASSERT_TRUE(grid.SetCurrentCell(6, 10));
    int right = 0;
    for (int c = 0; c <= 6; ++c)
        right += grid.AbsColumnWidth(c);
    EXPECT_EQ(right - client.right, grid.m_nHOffset);
    ASSERT_TRUE(grid.SetCurrentCell(1, 10));
    EXPECT_EQ(0, grid.m_nHOffset);
    EXPECT_FALSE(grid.SetCurrentCell(0, 10)) << "a row header is no data cell";
    EXPECT_FALSE(grid.SetCurrentCell(1, 101));
}

TEST_F(Grid, TenThousandRowsScrollByThumbPagesAndWheel)
{
    CCrGridCtrl grid;
    grid.SetRowCount(10000, 0);
    Make(grid);
    // Focus coming back brings the current cell into view: let it come first.
    grid.SetFocus();
    Pump();
    const int extent = 10000 * grid.m_nRowHeight + grid.GetFixedHeight() - 1;
    ASSERT_EQ(extent, grid.m_nVExtent);
    EXPECT_FLOAT_EQ(float(extent / 32767 + 1), grid.m_fVScale);
    EXPECT_FLOAT_EQ(1.0f, grid.m_fHScale);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(grid.GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(int(float(extent) / grid.m_fVScale), si.nMax);

    // A thumb-track position lands on its row: the offset is the position times the scale.
    const int pos = 12000;
    grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
    EXPECT_EQ(int(float(pos) * grid.m_fVScale), grid.m_nVOffset);
    const int top = grid.PixelToRow(grid.GetFixedHeight() + grid.m_nVOffset);
    EXPECT_EQ(grid.m_nFixedRows + (int(float(pos) * grid.m_fVScale)) / grid.m_nRowHeight, top);
    EXPECT_EQ(pos, grid.GetScrollPos(SB_VERT));

    // Page down and up move by the page less the header, the same both ways.
    const int before = grid.m_nVOffset;
    const int page = grid.m_nPageHeight - grid.GetFixedHeight();
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(before + page, grid.m_nVOffset);
    grid.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(before, grid.m_nVOffset);
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(extent - grid.m_nPageHeight + 1, grid.m_nVOffset);
    grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(0, grid.m_nVOffset);
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.m_nRowHeight, grid.m_nVOffset);

    // The wheel: three lines a notch, down for a negative delta.
    Wheel(grid, -120);
    EXPECT_EQ(4 * grid.m_nRowHeight, grid.m_nVOffset);
    Wheel(grid, 240);
    EXPECT_EQ(0, grid.m_nVOffset) << "not above the top";
    // The last rows are drawn at the bottom.
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    const QImage shot = Shot(grid);
    EXPECT_FALSE(shot.isNull());
}

TEST_F(Grid, StyledGridHasFlatHeadersRangeSelectionAndCheckBoxes)
{
    CTestGrid grid(12);
    Make(grid, FOXGS_FLATHEADERS | FOXGS_RANGESELECT, CRect(10, 10, 420, 300));
    // No editor may take over the look: end the edit first.
    grid.EndCellEdit(1);
    ASSERT_TRUE(grid.SetSelection(1, 2, 3, 5));
    Pump();
    const QImage shot = Shot(grid);
    ASSERT_TRUE(shot.save(Png("grid_styled.png")));

    const int fx = grid.GetFixedWidth();
    const int fy = grid.GetFixedHeight();
    // The flat header: a shadow line at the bottom, the face above it.
    const CRect head = grid.CellRect(2, 0);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), PixelAt(shot, head.left + 10, head.bottom - 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAt(shot, head.left + 10, head.top + 4));
    // Selected cells are highlighted; the current one (1, 2) keeps the window colour with its frame.
    const CRect sel = grid.CellRect(2, 4);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), PixelAt(shot, sel.right - 4, sel.top + 2));
    const CRect cur = grid.CellRect(1, 2);
    EXPECT_EQ(1, grid.m_nCurCol);
    EXPECT_EQ(2, grid.m_nCurRow);
    EXPECT_EQ(RGB(0, 100, 200), PixelAt(shot, cur.left + 1, cur.top + 5));
    EXPECT_EQ(RGB(0, 100, 200), PixelAt(shot, cur.left + 20, cur.bottom - 2));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelAt(shot, cur.left + 40, cur.top + 3));
    // Data row 0 holds a clear box, data row 5 a checked one: the tick is dark.
    const CRect box0 = grid.CellRect(1, 1);
    const CRect box1 = grid.CellRect(1, 6);
    const CPoint c0 = box0.CenterPoint();
    const CPoint c1 = box1.CenterPoint();
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelAt(shot, c0.x, c0.y));
    int dark = 0;
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            dark += PixelAt(shot, c1.x + dx, c1.y + dy) == GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_GT(dark, 6) << "the check mark of an odd row";
    (void)fx;
    (void)fy;

    // A corner click selects everything; a header click the column.
    Click(grid, CPoint(2, 2));
    int fc = 0, lc = 0, fr = 0, lr = 0;
    grid.GetSelection(fc, lc, fr, lr);
    EXPECT_EQ(0, fc);
    EXPECT_EQ(2, lc);
    EXPECT_EQ(0, fr);
    EXPECT_EQ(11, lr);
    Click(grid, CellCentre(grid, 3, 0));
    grid.GetSelection(fc, lc, fr, lr);
    EXPECT_EQ(2, fc);
    EXPECT_EQ(2, lc);
    EXPECT_EQ(0, fr);
    EXPECT_EQ(11, lr);
}

TEST_F(Grid, CornerClickWithoutRangeSelectionSelectsNothing)
{
    CCrGridCtrl grid;
    Make(grid);
    Click(grid, CPoint(2, 2));
    int fc = 0, lc = 0, fr = 0, lr = 0;
    grid.GetSelection(fc, lc, fr, lr);
    EXPECT_EQ(fc, lc);
    EXPECT_EQ(fr, lr);
    // A click right of the last column or below the last row does nothing either.
    CRect client;
    grid.GetClientRect(&client);
    grid.SetRowCount(3, 0);
    grid.Invalidate();
    Click(grid, CPoint(grid.m_nFixedColWidth + 30, client.bottom - 3));
    EXPECT_EQ(1, grid.m_nCurRow);
}
