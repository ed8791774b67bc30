#include "FigkitTestSupport.h"

#include "figkit/FOBackShape.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FOEllipseShape2.h"
#include "figkit/FOHighShape.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FOPChordShape.h"
#include "figkit/FOPGaugeCircularShape.h"
#include "figkit/FOPGaugeVertLineShape.h"
#include "figkit/FOMenuButtonShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPWaterHighShape.h"
#include "figkit/FOPortShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOTimeChartShape.h"
#include "figkit/FOValueProperties.h"
#include "figkit/FOWndControlShape.h"
#include "figkit/FOArchiveHelper.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using namespace figkit_test;

namespace
{
// Owned shapes of a test, released at the end.
struct ShapeRef
{
    CFODrawShape* p;
    explicit ShapeRef(CFODrawShape* shape) : p(shape) { p->AddRef(); }
    ~ShapeRef() { p->Release(); }
    CFODrawShape* operator->() const { return p; }
};

std::vector<BYTE> StoreShape(const CFODrawShape& shape)
{
    return StoreBytes([&](CArchive& ar) { FOWriteOwnedObject(ar, shape); });
}

CFODrawShape* LoadShape(const std::vector<BYTE>& bytes)
{
    CFODrawShape* shape = nullptr;
    LoadBytes(bytes, [&](CArchive& ar)
              { shape = static_cast<CFODrawShape*>(FOReadOwnedObject(ar, RUNTIME_CLASS(CFODrawShape))); });
    return shape;
}

// Sets every field the base keeps to something other than its default.
void Decorate(CFODrawShape& s)
{
    s.SetObjectName(L"Name-ü");
    s.SetObjectCaption(L"Caption");
    s.SetLineColor(RGB(1, 2, 3));
    s.SetBkColor(RGB(4, 5, 6));
    s.SetPatternColor(RGB(7, 8, 9));
    s.SetFontColor(RGB(10, 11, 12));
    s.SetShadowColor(RGB(13, 14, 15));
    s.SetLineWidth(3);
    s.SetPenStyle(2);
    s.SetBrushType(5);
    s.SetNullPen(TRUE);
    s.SetTransparentValue(77);
    s.SetShadow(TRUE);
    s.SetShadowOffset(CSize(2, 3));
    s.Set3DLook(TRUE);
    s.SetFaceName(L"Serif");
    s.SetPointSize(14);
    s.SetWeight(700);
    s.SetItalic(TRUE);
    s.SetMinValue(-5);
    s.SetMaxValue(500);
    s.SetCurrentValue(42.5);
    s.SetCurrentTextValue(L"text");
    s.SetKeyId1(L"k1");
    s.SetKeyId2(L"k2");
    s.SetKeyId3(L"#k3");
    s.SetStateString(L"On@Off");
    s.SetStateType(L"Off");
    s.SetValueChangeScript(L"0,50$L_S,On");
    s.SetVisible(FALSE);
    s.SetResizeProtect(TRUE);
    s.PutPropIntValue(1606, 4);
    s.PutPropStringValue(15008, L"OnClick");
    s.CreateDefaultPort(0.25, 0.75)->SetKey(L"in");
    s.RotateShape(30, 50, 50);
}

const std::vector<std::pair<const char*, std::function<CFODrawShape*()>>>& ShapeMakers()
{
    static const std::vector<std::pair<const char*, std::function<CFODrawShape*()>>> makers = {
        {"CFODrawShape", [] { return new CFODrawShape; }},
        {"CFODrawPortsShape", [] { return new CFODrawPortsShape; }},
        {"CFORectShape", [] { return new CFORectShape; }},
        {"CFOEllipseShape2", [] { return new CFOEllipseShape2; }},
        {"CFOPolygonShape", [] { return new CFOPolygonShape; }},
        {"CFOLineShape", [] { return new CFOLineShape; }},
        {"CFOLinkShape", [] { return new CFOLinkShape; }},
        {"CFOCompositeShape", [] { return new CFOCompositeShape; }},
        {"CFOWndControlShape", [] { return new CFOWndControlShape(7); }},
        {"CFOBackShape", [] { return new CFOBackShape; }},
        {"CFOPChordShape", [] { return new CFOPChordShape; }},
        {"CFOPGaugeCircularShape", [] { return new CFOPGaugeCircularShape; }},
        {"CFOPGaugeVertLineShape", [] { return new CFOPGaugeVertLineShape; }},
        {"CFOTimeChartShape", [] { return new CFOTimeChartShape; }},
        {"CFOPSimpleLabelShape", [] { return new CFOPSimpleLabelShape; }},
        {"CFOHighShape", [] { return new CFOHighShape; }},
        {"CFOPWaterHighShape", [] { return new CFOPWaterHighShape; }},
        {"CFOMenuButtonShape", [] { return new CFOMenuButtonShape; }},
    };
    return makers;
}
} // namespace

TEST(FigkitShape, EveryBaseShapeRoundTripsWithAllItsFields)
{
    for (const auto& [name, make] : ShapeMakers())
    {
        ShapeRef shape(make());
        CRect rc(10, 20, 110, 80);
        shape->Create(rc, L"c");
        Decorate(*shape.p);
        if (auto* comp = dynamic_cast<CFOCompositeShape*>(shape.p))
            comp->AddText(L"Child", L"child text", CRect(0, 0, 30, 10));
        const auto bytes = StoreShape(*shape.p);
        ShapeRef back(LoadShape(bytes));
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, name);
        EXPECT_EQ(StoreShape(*back.p), bytes) << name;
        EXPECT_EQ(back->GetType(), shape->GetType()) << name;
        EXPECT_EQ(back->GetDrawRect(), shape->GetDrawRect()) << name;
        EXPECT_EQ(back->GetKeyId3(), CString(L"#k3")) << name;
        EXPECT_EQ(back->GetPortCount(), shape->GetPortCount()) << name;
        EXPECT_EQ(back->GetPort(back->GetPortCount() - 1)->GetOwner(), back.p) << name;
        int width = 0;
        EXPECT_TRUE(back->GetPropIntValue(width, 1606));
        EXPECT_EQ(width, 4);
    }
}

TEST(FigkitShape, EveryTruncationOfARecordIsAnArchiveError)
{
    ShapeRef shape(new CFOCompositeShape);
    CRect rc(0, 0, 50, 50);
    shape->Create(rc);
    Decorate(*shape.p);
    static_cast<CFOCompositeShape*>(shape.p)->AddText(L"a", L"b", CRect(0, 0, 10, 10));
    const auto bytes = StoreShape(*shape.p);
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + ptrdiff_t(n));
        const int cause = ArchiveCause([&] { delete LoadShape(cut); });
        EXPECT_GE(cause, 0) << "cut at " << n;
    }
}

TEST(FigkitShape, HostileRecordsAreRefused)
{
    // A coordinate far outside any page.
    CFODrawShape plain;
    CRect rc(0, 0, 10, 10);
    plain.Create(rc);
    auto bytes = StoreShape(plain);
    // The first point's x follows the tag, class record, version, type, two strings and the count.
    const std::vector<BYTE> huge = {0xFF, 0xFF, 0xFF, 0x7F};
    bool patched = false;
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
    {
        if (bytes[i] == 4 && bytes[i + 1] == 0 && bytes[i + 2] == 0 && bytes[i + 3] == 0 && bytes[i + 4] == 0)
        {
            // Count word 4, then x = 0 of the first corner.
            std::copy(huge.begin(), huge.end(), bytes.begin() + ptrdiff_t(i + 2));
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    EXPECT_EQ(ArchiveCause([&] { delete LoadShape(bytes); }), CArchiveException::badSchema);

    // A child that is not a shape.
    const auto notShape =
        StoreBytes([](CArchive& ar) { FOWriteOwnedObject(ar, CFOValueProperties(1, FO_VALUE())); });
    EXPECT_EQ(ArchiveCause([&] { delete LoadShape(notShape); }), CArchiveException::badClass);
}

TEST(FigkitShape, ReferencesCopiesAndProperties)
{
    auto* shape = new CFORectShape;
    EXPECT_EQ(shape->AddRef(), 1);
    EXPECT_EQ(shape->AddRef(), 2);
    int dummy = 0;
    shape->SetItemData(&dummy);
    shape->SetKeyId1(L"motor");
    std::unique_ptr<CFODrawShape> copy(shape->Copy());
    EXPECT_EQ(copy->GetRefCount(), 0);
    EXPECT_EQ(copy->GetItemData(), nullptr);
    EXPECT_EQ(copy->GetKeyId1(), CString(L"motor"));
    EXPECT_EQ(shape->Release(), 1);
    EXPECT_EQ(shape->Release(), 0); // deleted here; ASan would see a double free below

    CFODrawShape s;
    BOOL on = TRUE;
    EXPECT_FALSE(s.GetPropBoolValue(on, 1924));
    EXPECT_TRUE(on);
    s.PutPropBoolValue(1924, FALSE);
    EXPECT_TRUE(s.GetPropBoolValue(on, 1924));
    EXPECT_FALSE(on);
    const CFOValueProperties replaced(1924, FO_VALUE::MakeBool(TRUE), L"anim");
    s.AddNewProperty(&replaced);
    EXPECT_EQ(s.GetPropertyList().GetCount(), 1);
    s.GetPropBoolValue(on, 1924);
    EXPECT_TRUE(on);
    COLORREF cr = 0;
    s.PutPropColorValue(2722, RGB(0, 0, 255));
    EXPECT_TRUE(s.GetPropColorValue(cr, 2722));
    EXPECT_EQ(cr, RGB(0, 0, 255));
}

TEST(FigkitShape, GeometryFollowsMovesSizesAndTurns)
{
    CFORectShape rect;
    CRect rc(100, 50, 0, 0); // given right-to-left and bottom-to-top
    rect.Create(rc);
    EXPECT_EQ(rect.GetDrawRect(), CRect(0, 0, 100, 50));
    rect.OffsetShape(CSize(10, 5));
    EXPECT_EQ(rect.GetDrawRect(), CRect(10, 5, 110, 55));
    rect.PositionShape(CRect(0, 0, 50, 100));
    EXPECT_EQ(rect.GetDrawRect(), CRect(0, 0, 50, 100));
    EXPECT_EQ(rect.GetPort(0)->GetLinkPoint(), CPoint(25, 0));
    rect.RotateShape(90, 25, 50);
    EXPECT_EQ(rect.GetDrawRect(), CRect(-25, 25, 75, 75));
    EXPECT_NE(rect.GetMatrixData(), nullptr);
    EXPECT_TRUE(rect.PtInShape(CPoint(70, 50)));
    EXPECT_FALSE(rect.PtInShape(CPoint(25, 10)));
    EXPECT_EQ(rect.GetPort(0)->GetLinkPoint(), CPoint(75, 50));

    CFOCompositeShape comp;
    CRect crc(0, 0, 100, 100);
    comp.Create(crc);
    comp.AddText(L"a", L"A", CRect(0, 0, 40, 20));
    comp.AddText(L"b", L"B", CRect(0, 20, 40, 60));
    EXPECT_EQ(comp.GetDrawRect(), CRect(0, 0, 40, 60));
    // A copy fitted into a rectangle (as a preview shows it) leaves the original where it was.
    CFODrawShape* copy = comp.Copy();
    copy->AddRef();
    copy->PositionShape(CRect(4, 4, 84, 124));
    EXPECT_EQ(copy->GetDrawRect(), CRect(4, 4, 84, 124));
    EXPECT_EQ(static_cast<CFOCompositeShape*>(copy)->FindShapeWithName(L"b")->GetDrawRect(),
              CRect(4, 44, 84, 124));
    EXPECT_EQ(comp.GetDrawRect(), CRect(0, 0, 40, 60));
    copy->Release();
    comp.PositionShape(CRect(100, 100, 120, 130));
    EXPECT_EQ(comp.FindShapeWithName(L"b")->GetDrawRect(), CRect(100, 110, 120, 130));
}

TEST(FigkitShape, StateListNamesTheRecords)
{
    CFODrawShape s;
    s.SetStateString(L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00@True");
    CStringArray list;
    ASSERT_EQ(s.GetStateList(list), 3);
    EXPECT_EQ(list[0], CString(L"STATE_0"));
    EXPECT_EQ(list[2], CString(L"True"));
}

TEST(FigkitShape, ShapeFilesSaveAndOpen)
{
    QTemporaryDir dir;
    const CString path = CString::FromUtf8((dir.path() + "/one.shape").toStdString());
    CFOEllipseShape2 ellipse;
    CRect rc(5, 5, 45, 25);
    ellipse.Create(rc, L"E");
    ellipse.SetBkColor(RGB(9, 9, 9));
    ASSERT_TRUE(ellipse.SaveDocument(path));
    CFOEllipseShape2 back;
    ASSERT_TRUE(back.OpenDocument(path));
    EXPECT_EQ(back.GetBkColor(), RGB(9, 9, 9));
    EXPECT_EQ(back.GetDrawRect(), CRect(5, 5, 45, 25));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // An empty file opens and changes nothing; a damaged one fails.
    const CString empty = CString::FromUtf8((dir.path() + "/empty.shape").toStdString());
    {
        CFile f(empty, CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_TRUE(back.OpenDocument(empty));
    EXPECT_EQ(back.GetBkColor(), RGB(9, 9, 9));
    {
        CFile f(empty, CFile::modeCreate | CFile::modeWrite);
        f.Write("xyz", 3);
    }
    EXPECT_FALSE(back.OpenDocument(empty));
    EXPECT_FALSE(back.OpenDocument(CString::FromUtf8((dir.path() + "/missing").toStdString())));
}

TEST(FigkitShape, LinksFindTheirPortsAgainAfterLoading)
{
    CFODataModel model;
    auto* a = new CFORectShape;
    auto* b = new CFORectShape;
    CRect ra(0, 0, 40, 40), rb(100, 0, 140, 40);
    a->Create(ra);
    b->Create(rb);
    a->SetObjectName(L"A");
    b->SetObjectName(L"B");
    model.InsertShape(a);
    model.InsertShape(b);
    auto* link = new CFOLinkShape;
    const POINT pts[2] = {{40, 20}, {100, 20}};
    link->Create(pts, 2, a->GetPort(1), b->GetPort(3));
    model.InsertShape(link);

    const auto bytes = StoreBytes([&](CArchive& ar) { model.Serialize(ar); });
    CFODataModel back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    auto* link2 = dynamic_cast<CFOLinkShape*>(back.GetShapes()->GetObject(2));
    ASSERT_NE(link2, nullptr);
    ASSERT_NE(link2->GetFromPort(), nullptr);
    EXPECT_EQ(link2->GetFromPort()->GetOwner(), back.FindCompWithName(L"A"));
    EXPECT_EQ(link2->GetToPort()->GetOwner(), back.FindCompWithName(L"B"));
    // Removing a connected shape leaves the link unconnected, not dangling.
    back.RemoveShape(back.FindCompWithName(L"B"));
    EXPECT_EQ(link2->GetToPort(), nullptr);
    link2->RelayoutPoints();
}
