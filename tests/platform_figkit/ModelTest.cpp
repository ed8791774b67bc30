#include "FigkitTestSupport.h"

#include "figkit/FOBackShape.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FOEllipseShape2.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FORectShape.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace figkit_test;

namespace
{
CString TempPath(const QTemporaryDir& dir, const char* name)
{
    return CString::FromUtf8((dir.path() + "/" + name).toStdString());
}

QByteArray ReadAll(const CString& path)
{
    QFile f(QString::fromStdWString(path.str()));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteAll(const CString& path, const QByteArray& bytes)
{
    QFile f(QString::fromStdWString(path.str()));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// A shape that counts its DoStartTimer calls.
class CCountingShape : public CFORectShape
{
public:
    int starts = 0;
    void DoStartTimer() override { ++starts; }
};
} // namespace

TEST(FigkitModel, ScreenFileRoundTripsAndSavesTheSameBytesAgain)
{
    QTemporaryDir dir;
    CFODataModel model;
    model.SetCanvasSize(CSize(800, 600));
    model.SetPageBkColor(RGB(200, 220, 240));
    model.AddStringUserProperty(15005, L"OnStart", L"start");
    model.AddIntUserProperty(15004, 500, L"period");
    auto* back = new CFOBackShape;
    back->SetShowGrid(TRUE);
    model.SetBackDrawComp(back);
    for (UINT type : {FO_COMP_RECTANGLE, FO_COMP_ELLIPSE, FO_COMP_POLYGON, FO_COMP_LINE, FO_COMP_COMPOSITE,
                      FO_COMP_TIMECHART, FO_COMP_SIMPLELABEL, FO_COMP_HIGH, FO_COMP_WATERHIGH})
    {
        CRect rc(10, 10, 90, 60);
        CFODrawShape* shape = model.DoCreateShapeByType(type, rc, CString());
        ASSERT_NE(shape, nullptr) << type;
        shape->SetKeyId3(L"#temp");
        model.InsertShape(shape);
        shape->Release();
    }
    const CString first = TempPath(dir, "a.xdg");
    const CString second = TempPath(dir, "b.xdg");
    ASSERT_TRUE(model.SaveDocument(first));
    EXPECT_FALSE(model.IsModified());

    CFODataModel loaded;
    ASSERT_TRUE(loaded.OpenDocument(first));
    EXPECT_EQ(loaded.GetShapeCount(), 9);
    EXPECT_EQ(loaded.GetCanvasSize(), CSize(800, 600));
    EXPECT_EQ(loaded.GetPageBkColor(), RGB(200, 220, 240));
    ASSERT_NE(loaded.GetBackDrawComp(), nullptr);
    EXPECT_TRUE(loaded.GetBackDrawComp()->IsShowGrid());
    CString start;
    EXPECT_TRUE(loaded.GetPropStringValue(start, 15005));
    EXPECT_EQ(start, CString(L"OnStart"));
    for (CFODrawShape* shape : *loaded.GetShapes())
        EXPECT_EQ(shape->GetModel(), &loaded);
    ASSERT_TRUE(loaded.SaveDocument(second));
    EXPECT_EQ(ReadAll(first), ReadAll(second));
    // The file starts with its signature and format version.
    EXPECT_EQ(ReadAll(first).left(8), QByteArray("FXDG\x02\x00\x00\x00", 8));
}

TEST(FigkitModel, SnapFeaturesPageBorderAndPointLimitAreKeptAndOldFilesStillLoad)
{
    QTemporaryDir dir;
    CFODataModel model;
    model.SetSnapFlag(FO_SNAP_GRID | FO_SNAP_HELP_LINES | FO_SNAP_PAGE_BORDER, TRUE);
    model.SetBorderShow(FALSE);
    model.SetPointLimitWithPage(TRUE);
    CRect rc(10, 10, 90, 60);
    CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    model.InsertShape(shape);
    shape->Release();
    const CString path = TempPath(dir, "snap.xdg");
    ASSERT_TRUE(model.SaveDocument(path));

    CFODataModel loaded;
    ASSERT_TRUE(loaded.OpenDocument(path));
    EXPECT_EQ(loaded.GetSnapFlags(), DWORD(FO_SNAP_GRID | FO_SNAP_HELP_LINES | FO_SNAP_PAGE_BORDER));
    EXPECT_FALSE(loaded.IsBorderShow());
    EXPECT_TRUE(loaded.IsPointLimitWithPage());

    // A file of the first version has none of the three (they follow the four page fields at
    // byte 28): it loads whole and leaves the model's own settings.
    QByteArray old = ReadAll(path);
    old[4] = 1;
    old.remove(28, 6);
    const CString oldPath = TempPath(dir, "old.xdg");
    WriteAll(oldPath, old);
    CFODataModel fresh;
    fresh.SetPointLimitWithPage(TRUE);
    ASSERT_TRUE(fresh.OpenDocument(oldPath));
    EXPECT_EQ(fresh.GetShapeCount(), 1);
    EXPECT_EQ(fresh.GetSnapFlags(), DWORD(0));
    EXPECT_TRUE(fresh.IsBorderShow());
    EXPECT_TRUE(fresh.IsPointLimitWithPage());

    // Unknown snap bits from a file are dropped.
    QByteArray odd = ReadAll(path);
    odd[29] = char(0x7F);
    WriteAll(oldPath, odd);
    ASSERT_TRUE(fresh.OpenDocument(oldPath));
    EXPECT_EQ(fresh.GetSnapFlags() & ~DWORD(FO_SNAP_ALL), DWORD(0));
}

TEST(FigkitModel, BadFilesLeaveAnEmptyUsableModel)
{
    QTemporaryDir dir;
    CFODataModel model;
    CRect rc(0, 0, 20, 20);
    CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    model.InsertShape(shape);
    shape->Release();
    model.AddIntUserProperty(1, 2, L"x");
    const CString path = TempPath(dir, "good.xdg");
    ASSERT_TRUE(model.SaveDocument(path));
    const QByteArray good = ReadAll(path);

    const CString bad = TempPath(dir, "bad.xdg");
    // Every cut of the file, a wrong signature, a newer version, a huge count.
    std::vector<QByteArray> inputs;
    for (int n = 0; n < good.size(); n += 3)
        inputs.push_back(good.left(n));
    QByteArray sig = good;
    sig[0] = 'X';
    inputs.push_back(sig);
    QByteArray newer = good;
    newer[4] = 3;
    inputs.push_back(newer);
    for (const QByteArray& input : inputs)
    {
        WriteAll(bad, input);
        CFODataModel victim;
        CRect r(0, 0, 5, 5);
        CFODrawShape* s = victim.DoCreateShapeByType(FO_COMP_ELLIPSE, r, CString());
        victim.InsertShape(s);
        s->Release();
        EXPECT_FALSE(victim.OpenDocument(bad)) << input.size();
        EXPECT_EQ(victim.GetShapeCount(), 0);
        EXPECT_EQ(victim.GetUserProperties().GetCount(), 0);
        // Still usable.
        ASSERT_TRUE(victim.OpenDocument(path));
        EXPECT_EQ(victim.GetShapeCount(), 1);
    }
    EXPECT_FALSE(model.OpenDocument(TempPath(dir, "missing.xdg")));
}

TEST(FigkitModel, UniqueNamesAndCaptions)
{
    CFODataModel model;
    EXPECT_EQ(model.GetUniqueName(FO_COMP_RECTANGLE), CString(L"Rectangle1"));
    CRect rc(0, 0, 10, 10);
    CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    EXPECT_EQ(shape->GetObjectName(), CString(L"Rectangle2"));
    model.InsertShape(shape);
    shape->Release();
    // A name a shape took by itself is skipped.
    CFODrawShape* named = model.DoCreateShapeByType(FO_COMP_ELLIPSE, rc, CString());
    named->SetObjectName(L"Rectangle3");
    model.InsertShape(named);
    named->Release();
    EXPECT_TRUE(model.IsNameUsed(L"Rectangle3"));
    EXPECT_EQ(model.GetUniqueName(FO_COMP_RECTANGLE), CString(L"Rectangle4"));
    named->SetObjectName(L"Other");
    EXPECT_FALSE(model.IsNameUsed(L"Rectangle3"));
    EXPECT_TRUE(model.IsNameUsed(L"Other"));
    shape->SetObjectCaption(L"Shape620_1");
    EXPECT_EQ(model.GetUniqueCaption(620), CString(L"Shape620_2"));
}

TEST(FigkitModel, ShapeHandlesAreCheckedOnEveryUse)
{
    CFODataModel model;
    CRect rc(0, 0, 10, 10);
    CFODrawShape* a = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    CFODrawShape* b = model.DoCreateShapeByType(FO_COMP_COMPOSITE, rc, CString());
    model.InsertShape(a);
    model.InsertShape(b);
    CFODrawShape* child = static_cast<CFOCompositeShape*>(b)->AddText(L"t", L"t", CRect(0, 0, 5, 5));
    const DWORD ha = model.GetShapeHandle(a);
    const DWORD hc = model.GetShapeHandle(child);
    EXPECT_NE(ha, 0u);
    EXPECT_EQ(model.GetShapeHandle(a), ha);
    EXPECT_EQ(model.ShapeFromHandle(ha), a);
    EXPECT_EQ(model.ShapeFromHandle(hc), child);
    EXPECT_EQ(model.ShapeFromHandle(0), nullptr);
    EXPECT_EQ(model.ShapeFromHandle(0xDEADBEEF), nullptr);
    CFORectShape stranger;
    EXPECT_EQ(model.GetShapeHandle(&stranger), 0u);
    model.RemoveShape(a);
    a->Release();
    model.RemoveShape(b); // the child leaves with its composite
    b->Release();
    EXPECT_EQ(model.ShapeFromHandle(ha), nullptr);
    EXPECT_EQ(model.ShapeFromHandle(hc), nullptr);
}

TEST(FigkitModel, Key3LookupsStayInStepWithTheShapes)
{
    CFODataModel model;
    CRect rc(0, 0, 10, 10);
    CFODrawShape* a = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    a->SetKeyId3(L" #Level ");
    model.InsertShape(a);
    a->Release();
    ASSERT_NE(model.FindShapesWithKey3(L"#level"), nullptr);
    EXPECT_EQ(model.FindShapesWithKey3(L"#level")->size(), 1u);
    a->SetKeyId3(L"#other");
    EXPECT_EQ(model.FindShapesWithKey3(L"#level"), nullptr);
    CFODrawShape* b = model.DoCreateShapeByType(FO_COMP_ELLIPSE, rc, CString());
    b->SetKeyId3(L"#OTHER");
    model.InsertShape(b);
    b->Release();
    EXPECT_EQ(model.FindShapesWithKey3(L"#other")->size(), 2u);
    model.RemoveShape(a);
    EXPECT_EQ(model.FindShapesWithKey3(L"#other")->size(), 1u);
}

TEST(FigkitModel, EnteringDesignModeStopsShapeTimersAtOnce)
{
    CFODataModel model;
    auto* shape = new CCountingShape;
    model.InsertShape(shape);
    model.SetDesignMode(FALSE);
    EXPECT_EQ(shape->starts, 0);
    model.SetDesignMode(TRUE);
    EXPECT_EQ(shape->starts, 1);
    model.SetDesignMode(TRUE);
    EXPECT_EQ(shape->starts, 1);
}

TEST(FigkitModel, BaseFactoryKnowsOnlyItsOwnTypes)
{
    CFODataModel model;
    CRect rc(0, 0, 10, 10);
    EXPECT_EQ(model.DoCreateShapeByType(0, rc, CString()), nullptr);
    EXPECT_EQ(model.DoCreateShapeByType(633, rc, CString()), nullptr);
    CFODrawShape* rect = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetRefCount(), 1);
    EXPECT_TRUE(rect->IsKindOf(RUNTIME_CLASS(CFORectShape)));
    rect->Release();
}
