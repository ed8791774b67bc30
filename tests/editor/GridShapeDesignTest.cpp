// The editor's "Insert Grid Control..." command: the grid shape on the design canvas, saved and
// reopened; the grid list accessors the editor exports.
#include "EditorTestSupport.h"

#include "figkit/FOPGridListCtrl.h"
#include "mfc/Menu.h"
#include "symbols/ExtGridWndShape.h"
#include "symbols/FOExtGridCtrl.h"

#include <QImage>

using namespace editortest;

TEST_F(CDesignTest, InsertGridControlPlacesADisabledGridThatSavesAndReopens)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    model->SetCanvasSize(CSize(800, 600));
    Command(view, 30086);
    ASSERT_EQ(1, model->GetShapeCount());
    auto* shape = dynamic_cast<CExtGridWndShape*>(model->GetShapes()->GetObject(0));
    ASSERT_NE(nullptr, shape);
    EXPECT_EQ(606u, shape->GetType());
    EXPECT_EQ(CRect(200, 200, 700, 400), shape->GetDrawRect());
    EXPECT_EQ(CString(L"Grid"), shape->GetObjectCaption());
    CCrGridCtrl* grid = shape->GetGridCtrl();
    ASSERT_NE(nullptr, grid);
    EXPECT_FALSE(grid->IsWindowEnabled());
    EXPECT_EQ(int(shape->GetCtrlID()), grid->GetDlgCtrlID());
    AfxPumpMessages();

    const QImage shot = view->GetClientWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_GRID_DESIGN_PNG)));
    // The grid's current cell shows its focus frame on the canvas.
    CRect placed;
    grid->GetWindowRect(&placed);
    view->ScreenToClient(&placed);
    int frame = 0;
    for (int x = placed.left; x < placed.right; ++x)
        for (int y = placed.top; y < placed.top + 80; ++y)
            frame += x >= 0 && y >= 0 && x < shot.width() && y < shot.height() &&
                     shot.pixelColor(x, y) == QColor(0, 100, 200);
    EXPECT_GT(frame, 40) << "the focus frame of the grid's current cell";

    auto* doc = view->GetDocument();
    const CString path = Path("grid.xdg");
    ASSERT_TRUE(doc->DoSave(path));
    doc->OnCloseDocument();
    AfxPumpMessages();
    CQYRDrawView* again = Open(&path);
    ASSERT_NE(again, nullptr);
    CExtGridWndShape* back = nullptr;
    for (CFODrawShape* s : *again->GetEditModel()->GetShapes())
        if (auto* g = dynamic_cast<CExtGridWndShape*>(s))
            back = g;
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(CRect(200, 200, 700, 400), back->GetDrawRect());
    ASSERT_NE(nullptr, back->GetGridCtrl()) << "a new grid window";
    EXPECT_FALSE(back->GetGridCtrl()->IsWindowEnabled());
}

TEST(EditorExports, GridListAccessorsKeepTheirValues)
{
    AfxEnsureApplication();
    CFOPGridListCtrl list;
    EXPECT_EQ(nullptr, list.GetContextMenu());
    CMenu first;
    CMenu second;
    EXPECT_EQ(nullptr, list.AttachContextMenu(&first)) << "null the first time";
    EXPECT_EQ(&first, list.AttachContextMenu(&second)) << "the earlier menu afterwards";
    EXPECT_EQ(&second, list.GetContextMenu());
    CFOPGridEditBox* box = list.GetGridEditCtrl();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(box, list.GetGridEditCtrl()) << "the list's own member";
    EXPECT_EQ(0, box->GetFitToClient());
    box->SetFitToClient(1);
    EXPECT_EQ(1, box->GetFitToClient());

    // Sorting stores the direction and orders the rows by the column.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &host, 1));
    list.InsertColumn(0, L"Tag");
    list.InsertColumn(1, L"Value");
    const wchar_t* tags[] = {L"b", L"c", L"a"};
    const wchar_t* values[] = {L"10", L"2", L"7"};
    for (int i = 0; i < 3; ++i)
    {
        list.InsertItem(i, tags[i]);
        list.SetItemText(i, 1, values[i]);
    }
    EXPECT_TRUE(list.SortColumn(1, 0));
    EXPECT_FALSE(list.IsAscending());
    EXPECT_EQ(CString(L"10"), list.GetItemText(0, 1));
    EXPECT_EQ(CString(L"b"), list.GetItemText(0, 0)) << "the rows move whole";
    EXPECT_EQ(CString(L"2"), list.GetItemText(2, 1));
    EXPECT_TRUE(list.SortColumn(0, 1));
    EXPECT_EQ(CString(L"a"), list.GetItemText(0, 0));
    EXPECT_FALSE(list.SortColumn(5, 1)) << "no such column";
    host.DestroyWindow();
}
