// The grid-window shape on a canvas: its window, copies, the screen file and damaged records.
#include "SymbolTestSupport.h"

#include "model/XVKDataModel.h"
#include "symbols/ExtGridWndShape.h"
#include "symbols/FOExtGridCtrl.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace symbols_test;

namespace
{
class GridShape : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

CString PathIn(const QTemporaryDir& dir, const char* name)
{
    return CString(dir.filePath(name).toStdWString().c_str());
}
} // namespace

TEST_F(GridShape, OnACanvasItMakesADisabledSampleGridOnItsRectangle)
{
    Screen screen;
    screen.canvas.ShowWindow(SW_SHOW);
    CExtGridWndShape* shape = CExtGridWndShape::CreateShape(CRect(40, 30, 440, 230), L"Grid", 120);
    EXPECT_EQ(606u, shape->GetType());
    EXPECT_FALSE(shape->IsPolyObject());
    screen.model.InsertShape(shape);
    AfxPumpMessages();
    CCrGridCtrl* grid = shape->GetGridCtrl();
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(120, grid->GetDlgCtrlID());
    EXPECT_FALSE(grid->IsWindowEnabled()) << "a grid on a screen starts disabled";
    EXPECT_TRUE(grid->IsWindowVisible());
    EXPECT_EQ(6, grid->GetColumnCount(0));
    CRect placed;
    grid->GetWindowRect(&placed);
    screen.canvas.ScreenToClient(&placed);
    EXPECT_EQ(CSize(400, 200), placed.Size());

    // A copy keeps the control id of its source, and makes its own window on its own canvas.
    std::unique_ptr<CFODrawShape> copy(shape->Copy());
    auto* gridCopy = dynamic_cast<CExtGridWndShape*>(copy.get());
    ASSERT_NE(nullptr, gridCopy);
    EXPECT_EQ(120u, gridCopy->GetCtrlID());
    EXPECT_EQ(nullptr, gridCopy->GetWnd());
    EXPECT_EQ(shape->GetDrawRect(), gridCopy->GetDrawRect());

    // Hidden with its shape, shown again.
    shape->SetVisible(FALSE);
    EXPECT_FALSE(grid->IsWindowVisible());
    shape->SetVisible(TRUE);
    EXPECT_TRUE(grid->IsWindowVisible());
}

TEST_F(GridShape, ASavedScreenReloadsANewGridAndADamagedOneFailsCleanly)
{
    QTemporaryDir dir;
    const CString path = PathIn(dir, "grid.xdg");
    {
        Screen screen;
        CExtGridWndShape* shape = CExtGridWndShape::CreateShape(CRect(20, 20, 320, 220), L"Grid", 101);
        shape->SetObjectName(L"Grid1");
        screen.model.InsertShape(shape);
        ASSERT_TRUE(screen.model.SaveDocument(path));
    }
    {
        // The screen model of the programs keeps it too (the fuzz seed of screen files is this one).
        const CString screenPath = PathIn(dir, "screen.xdg");
        CXVKDataModel model;
        model.InsertShape(CExtGridWndShape::CreateShape(CRect(10, 10, 410, 210), L"Grid", 100));
        ASSERT_TRUE(model.SaveDocument(screenPath));
        CXVKDataModel back;
        ASSERT_TRUE(back.OpenDocument(screenPath));
        int grids = 0;
        for (CFODrawShape* shape : *back.GetShapes())
            grids += dynamic_cast<CExtGridWndShape*>(shape) != nullptr;
        EXPECT_EQ(1, grids);
        if (const QByteArray seed = qgetenv("QYR_WRITE_GRID_SEED"); !seed.isEmpty())
            QFile::copy(QString::fromStdWString(screenPath.GetString()), QString::fromUtf8(seed));
    }
    {
        Screen screen;
        ASSERT_TRUE(screen.canvas.LoadXdgFromFile(path));
        ASSERT_EQ(1, screen.model.GetShapeCount());
        auto* shape = dynamic_cast<CExtGridWndShape*>(screen.model.GetShapes()->GetObject(0));
        ASSERT_NE(nullptr, shape);
        EXPECT_EQ(CRect(20, 20, 320, 220), shape->GetDrawRect());
        EXPECT_EQ(101u, shape->GetCtrlID());
        ASSERT_NE(nullptr, shape->GetGridCtrl()) << "a new grid window, as the control makes it";
        EXPECT_EQ(100, shape->GetGridCtrl()->GetRowCount());
    }

    QFile whole(QString::fromStdWString(path.GetString()));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();
    const CString cutPath = PathIn(dir, "cut.xdg");
    auto tryLoad = [&](const QByteArray& data, const char* what, qsizetype at)
    {
        QFile cut(QString::fromStdWString(cutPath.GetString()));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(data);
        cut.close();
        CFODataModel damaged;
        const BOOL ok = damaged.OpenDocument(cutPath);
        if (!ok)
            EXPECT_EQ(0, damaged.GetShapeCount()) << what << " " << at;
    };
    // Cut short anywhere, the load fails and leaves nothing behind.
    for (qsizetype len = 1; len < bytes.size(); len += 11)
    {
        QFile cut(QString::fromStdWString(cutPath.GetString()));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(bytes.left(len));
        cut.close();
        CFODataModel damaged;
        EXPECT_FALSE(damaged.OpenDocument(cutPath)) << len;
        EXPECT_EQ(0, damaged.GetShapeCount());
    }
    // Bytes flipped anywhere: loaded or refused, never a crash.
    for (qsizetype at = 0; at < bytes.size(); at += 5)
    {
        QByteArray bad = bytes;
        bad[at] = char(bad[at] ^ 0xA5);
        tryLoad(bad, "flipped", at);
    }
}
