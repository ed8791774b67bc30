// The editing canvas through a plain canvas window: undo history, property actions, clipboard,
// grouping and locking.
#include "FigkitTestSupport.h"

#include "figkit/FOAction.h"
#include "figkit/FOClipboard.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FORectShape.h"
#include "mfc/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace figkit_test;

namespace
{
CFODrawShape* AddRect(CFODataModel& model, const CRect& rc, const wchar_t* name)
{
    CFOShapePtr<CFORectShape> shape(new CFORectShape);
    CRect r = rc;
    shape->Create(r);
    shape->SetObjectName(name);
    model.InsertShape(shape);
    return shape;
}

class CEditingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        a = AddRect(model, CRect(10, 10, 50, 40), L"A");
        b = AddRect(model, CRect(100, 10, 140, 40), L"B");
        c = AddRect(model, CRect(10, 100, 50, 140), L"C");
        canvas.SetCurrentModel(&model);
    }
    CFODataModel model;
    CFOPDrawWnd canvas;
    CFODrawShape* a = nullptr;
    CFODrawShape* b = nullptr;
    CFODrawShape* c = nullptr;
};
} // namespace

TEST_F(CEditingTest, UndoMacroBeyondTheHistoryUndoesEverythingAndRedoComesBack)
{
    canvas.SelectShapes(*model.GetShapes());
    canvas.MoveSelection(CSize(5, 0));
    canvas.MoveSelection(CSize(0, 5));
    canvas.LockSelection(TRUE);
    ASSERT_EQ(3, model.GetUndoHistory()->GetUndoCount());
    CStringArray texts;
    model.GetUndoHistory()->GetUndoActionText(texts);
    ASSERT_EQ(3, texts.GetSize());
    EXPECT_EQ(CString(L"Property Change"), texts[0]) << "latest first";
    EXPECT_EQ(CString(L"Move"), texts[2]);

    EXPECT_EQ(3, model.UndoMacro(100));
    EXPECT_EQ(CRect(10, 10, 50, 40), a->GetDrawRect());
    EXPECT_FALSE(a->IsLock());
    EXPECT_EQ(0, model.UndoMacro(1)) << "nothing left to undo";

    EXPECT_EQ(3, model.RedoMacro(3));
    EXPECT_EQ(CRect(15, 15, 55, 45), a->GetDrawRect());
    EXPECT_TRUE(c->IsLock());
}

TEST_F(CEditingTest, ArrowKeyMovesMergeIntoOneStepButNotAcrossASaveOrASelection)
{
    canvas.SelectShapes(*model.GetShapes());
    for (int i = 0; i < 4; ++i)
        canvas.MoveSelection(CSize(1, 0), TRUE);
    EXPECT_EQ(1, model.GetUndoHistory()->GetUndoCount());
    model.SetClean();
    canvas.MoveSelection(CSize(1, 0), TRUE);
    EXPECT_EQ(2, model.GetUndoHistory()->GetUndoCount()) << "the saved state stays reachable";
    model.UndoMacro(1);
    EXPECT_TRUE(model.GetUndoHistory()->IsClean());
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(CRect(14, 10, 54, 40), a->GetDrawRect());
}

TEST_F(CEditingTest, OnePropertyActionHoldsManyEntriesEachOnManyShapesAndUndoesAsOne)
{
    CFOTypedShapeObList two;
    two.AddTail(a);
    two.AddTail(b);
    CFOPropAction* action = model.GetShapesPropAction();
    action->AddEntry(FO_PROP_WEIGHT, FO_VALUE::MakeInt(700), two);
    action->AddEntry(FO_PROP_TOOLTIP, FO_VALUE::MakeString(L"tip"), two);
    action->AddModelEntry(FO_PROP_MODEL_BKCOLOR, FO_VALUE::MakeColor(0x00FF00));
    ASSERT_TRUE(model.Do(action, TRUE));
    CString tip;
    EXPECT_TRUE(b->GetPropStringValue(tip, FO_PROP_TOOLTIP));
    EXPECT_EQ(CString(L"tip"), tip);
    EXPECT_EQ(700, a->GetWeight());
    EXPECT_EQ(COLORREF(0x00FF00), model.GetBkColor());
    EXPECT_EQ(1, model.GetUndoHistory()->GetUndoCount());

    model.UndoMacro(1);
    EXPECT_EQ(400, a->GetWeight());
    EXPECT_FALSE(b->GetPropStringValue(tip, FO_PROP_TOOLTIP)) << "a property that was not there goes again";
    EXPECT_EQ(COLORREF(0xFFFFFF), model.GetBkColor());

    CFOPropAction* empty = model.GetShapesPropAction();
    EXPECT_FALSE(model.Do(empty, TRUE)) << "an action with nothing in it is refused";
    delete empty;
}

TEST_F(CEditingTest, LockedShapesAreNotMovedResizedOrDeleted)
{
    canvas.SelectShapes(*model.GetShapes());
    CFOTypedShapeObList onlyA;
    onlyA.AddTail(a);
    model.ChangeShapesBoolProp(onlyA, TRUE, FO_PROP_LOCKED);
    canvas.MoveSelection(CSize(10, 10));
    canvas.ResizeSelection(CSize(10, 10));
    canvas.DeleteSelection();
    EXPECT_EQ(CRect(10, 10, 50, 40), a->GetDrawRect());
    EXPECT_EQ(1, model.GetShapeCount());
    EXPECT_EQ(a, model.GetShapes()->GetHead());
}

TEST_F(CEditingTest, GroupAndUngroupKeepTheStackingAndUndoBackToTheStart)
{
    canvas.SelectShapes(*model.GetShapes());
    canvas.RemoveFromSelection(c);
    canvas.GroupSelection();
    ASSERT_EQ(2, model.GetShapeCount());
    auto* group = dynamic_cast<CFOCompositeShape*>(model.GetShapes()->GetObject(0));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(2, group->GetCompCount());
    EXPECT_EQ(c, model.GetShapes()->GetObject(1)) << "the group takes the place of its shapes, under C";
    EXPECT_EQ(group, canvas.GetFirstSelectShape());

    canvas.MoveSelection(CSize(0, 20));
    EXPECT_EQ(CRect(100, 30, 140, 60), b->GetDrawRect()) << "children move with the group";
    canvas.UngroupSelection();
    EXPECT_EQ(3, model.GetShapeCount());
    EXPECT_EQ(2, canvas.GetSelectCount());

    model.UndoMacro(3);
    ASSERT_EQ(3, model.GetShapeCount());
    EXPECT_EQ(a, model.GetShapes()->GetObject(0));
    EXPECT_EQ(b, model.GetShapes()->GetObject(1));
    EXPECT_EQ(c, model.GetShapes()->GetObject(2));
    EXPECT_EQ(CRect(100, 10, 140, 40), b->GetDrawRect());
    EXPECT_EQ(&model, b->GetModel());
}

TEST_F(CEditingTest, OrderAlignAndSameSizeAreUndoable)
{
    canvas.SelectShapes(*model.GetShapes());
    canvas.RemoveFromSelection(a);
    canvas.RemoveFromSelection(b);
    canvas.OrderSelection(1);
    EXPECT_EQ(c, model.GetShapes()->GetHead()) << "sent to the back";
    canvas.SelectShapes(*model.GetShapes());
    canvas.AlignSelection(0);
    EXPECT_EQ(10, b->GetDrawRect().left) << "to the first selected shape's left side";
    canvas.SameSizeSelection(2);
    model.UndoMacro(3);
    EXPECT_EQ(a, model.GetShapes()->GetHead());
    EXPECT_EQ(CRect(100, 10, 140, 40), b->GetDrawRect());
}

TEST_F(CEditingTest, CopiedShapesPasteUnderNewNamesAndForeignDataPastesNothing)
{
    canvas.SelectShapes(*model.GetShapes());
    canvas.RemoveFromSelection(c);
    canvas.CopySelection();
    ASSERT_TRUE(canvas.CanPaste());
    ASSERT_TRUE(canvas.PasteShapes());
    ASSERT_EQ(5, model.GetShapeCount());
    CFODrawShape* copyA = model.GetShapes()->GetObject(3);
    EXPECT_NE(CString(L"A"), copyA->GetObjectName());
    EXPECT_NE(copyA->GetObjectName(), model.GetShapes()->GetObject(4)->GetObjectName());
    EXPECT_EQ(CRect(20, 20, 60, 50), copyA->GetDrawRect()) << "a step aside from the original";
    EXPECT_EQ(2, canvas.GetSelectCount());
    model.UndoMacro(1);
    EXPECT_EQ(3, model.GetShapeCount()) << "a paste is one step";

    // Blocks that are not ours, or are cut short, read as nothing.
    const std::vector<BYTE> good = FOWriteShapesBlock(*model.GetShapes());
    CFODrawShapeSet shapes;
    ASSERT_TRUE(FOReadShapesBlock(good.data(), good.size(), shapes));
    EXPECT_EQ(3, shapes.Count());
    for (size_t cut : {size_t(0), size_t(7), good.size() / 2, good.size() - 1})
    {
        EXPECT_FALSE(FOReadShapesBlock(good.data(), cut, shapes)) << cut;
        EXPECT_TRUE(shapes.IsEmpty());
    }
    std::vector<BYTE> flipped = good;
    flipped[0] ^= 0xFF;
    EXPECT_FALSE(FOReadShapesBlock(flipped.data(), flipped.size(), shapes));

    // Another program's data under our format name pastes nothing.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 5);
    std::memcpy(GlobalLock(block), "hello", 5);
    GlobalUnlock(block);
    SetClipboardData(FOGetShapeClipboardFormat(), block);
    CloseClipboard();
    EXPECT_FALSE(canvas.PasteShapes());
    EXPECT_EQ(3, model.GetShapeCount());
}
